// SPDX-License-Identifier: GPL-2.0-or-later
#include "reset.h"

namespace cvarden {

std::string ResetToDefaults(const OptionTree &tree, ValueStore &store)
{
    StoreBatch batch(store);
    for (const OptionNode &option : tree.options()) {
        if (std::string failure = store.Save(option.text, option.defaultValue()); !failure.empty())
            return failure;
    }
    return batch.commit();
}

} // namespace cvarden
