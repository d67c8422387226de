#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

namespace cvarden {

// A node of the option tree. Folders are roots; options are their children.
// Everywhere, a node counts as an option exactly when it has a parent.
struct OptionNode {
    std::string key;
    std::string text;  // the display name; values are stored under it
    std::string image; // "folder", "val", "check" or "combo"
    std::size_t parent = 0; // index of the parent node, 0 for a root
    std::string tag;   // "DONE" once an export has written a line for it

    bool hasParent() const { return parent != 0; }
};

// The nodes in order of addition, indexed from 1: every command that walks
// the options walks them in this order.
class OptionTree {
public:
    static constexpr std::size_t noParent = 0;

    // Adds a node as the last child of the node keyed `parentKey`, or as a
    // root when `parentKey` is null. Fails, changing nothing, when the key is
    // already present or the parent key is not.
    bool add(const std::string *parentKey, std::string key, std::string text, std::string image);

    std::size_t count() const { return nodes_.size(); }
    const OptionNode &item(std::size_t index) const { return nodes_.at(index - 1); }
    OptionNode &item(std::size_t index) { return nodes_.at(index - 1); }

    // The index of the node with this key, or 0 when there is none.
    std::size_t indexOf(const std::string &key) const;

    void clear();

private:
    std::vector<OptionNode> nodes_;
    std::unordered_map<std::string, std::size_t> indexByKey_;
};

} // namespace cvarden
