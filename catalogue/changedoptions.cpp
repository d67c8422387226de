#include "changedoptions.h"

#include "optionkey.h"

namespace cvarden {

bool IsChanged(const OptionNode &node, const ValueStore &store)
{
    if (!node.hasParent())
        return false;
    const std::string defaultValue = Module1::OptionDefault(node.key);
    return store.Get(node.text, defaultValue) != defaultValue;
}

std::vector<bool> ChangedNodes(const OptionTree &tree, const ValueStore &store)
{
    std::vector<bool> changed(tree.count() + 1, false);
    for (std::size_t i = 1; i <= tree.count(); ++i) {
        const OptionNode &node = tree.item(i);
        if (!IsChanged(node, store))
            continue;
        changed[i] = true;
        changed[node.parent] = true;
    }
    return changed;
}

} // namespace cvarden
