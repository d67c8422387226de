// SPDX-License-Identifier: GPL-2.0-or-later
#include "changedoptions.h"

namespace cvarden {

bool IsChanged(const OptionNode &node, const ValueStore &store, const EngineInUse &engine)
{
    if (!node.hasParent())
        return false;
    const std::string defaultValue = DefaultInUse(engine, node);
    return store.Get(node.text, defaultValue) != defaultValue;
}

std::vector<bool> ChangedNodes(const OptionTree &tree, const ValueStore &store, const EngineInUse &engine)
{
    std::vector<bool> changed(tree.count() + 1, false);
    for (const OptionNode &option : tree.options()) {
        if (!IsChanged(option, store, engine))
            continue;
        changed[tree.indexOf(option)] = true;
        changed[option.parent] = true;
    }
    return changed;
}

} // namespace cvarden
