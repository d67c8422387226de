#include "reset.h"

#include "optionkey.h"

namespace cvarden {

std::string ResetToDefaults(const OptionTree &tree, ValueStore &store)
{
    StoreBatch batch(store);
    const std::size_t count = tree.count();
    for (std::size_t i = 1; i <= count; ++i) {
        const OptionNode &node = tree.item(i);
        if (!node.hasParent())
            continue;
        if (std::string failure = store.Save(node.text, Module1::OptionDefault(node.key)); !failure.empty())
            return failure;
    }
    return batch.commit();
}

} // namespace cvarden
