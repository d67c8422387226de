// SPDX-License-Identifier: GPL-2.0-or-later
#include "reset.h"

namespace cvarden {

Outcome ResetToDefaults(const OptionTree &tree, ValueStore &store, const EngineInUse &engine)
{
    StoreBatch batch(store);
    for (const OptionNode &option : tree.options()) {
        if (Outcome saved = store.Save(option.text, DefaultInUse(engine, option)); saved.failed())
            return saved;
    }
    return batch.commit();
}

} // namespace cvarden
