#include "optiontree.h"

namespace cvarden {

bool OptionTree::add(const std::string *parentKey, std::string key, std::string text, std::string image)
{
    std::size_t parent = noParent;
    if (parentKey) {
        parent = indexOf(*parentKey);
        if (parent == noParent)
            return false;
    }
    if (!indexByKey_.try_emplace(key, nodes_.size() + 1).second)
        return false;
    nodes_.push_back({std::move(key), std::move(text), std::move(image), parent, {}});
    return true;
}

std::size_t OptionTree::indexOf(const std::string &key) const
{
    const auto found = indexByKey_.find(key);
    return found == indexByKey_.end() ? noParent : found->second;
}

void OptionTree::clear()
{
    nodes_.clear();
    indexByKey_.clear();
}

} // namespace cvarden
