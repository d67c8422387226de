// SPDX-License-Identifier: GPL-2.0-or-later
#include "reset.h"

namespace cvarden {

Outcome ResetToDefaults(const OptionTree &tree, ValueStore &store)
{
    StoreBatch batch(store);
    for (const OptionNode &option : tree.options()) {
        if (Outcome saved = store.Save(option.text, option.defaultValue()); saved.failed())
            return saved;
    }
    return batch.commit();
}

} // namespace cvarden
