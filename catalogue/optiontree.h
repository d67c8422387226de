// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

namespace cvarden {

// Which editor an option takes, read from its key's kind field once, when its
// node is added. A kind the catalogue misspelled takes no editor. (The image
// of each kind is looked up by this order.)
enum class Kind { Folder, Value, Check, Combo, Unknown };

// A node of the option tree. Folders are roots; options are their children.
// Everywhere, a node counts as an option exactly when it has a parent.
struct OptionNode {
    std::string key;
    std::string text; // the display name; values are stored under it
    Kind kind = Kind::Folder;
    std::size_t parent = 0;           // index of the parent node, 0 for a root
    std::size_t ordinal = 0;          // the catalogue entry's number, 0 for a folder
    std::vector<std::string> choices; // a choice option's list, in key order
    std::string tag;                  // "DONE" once an export has written a line for it

    bool hasParent() const { return parent != 0; }
    // The key's fields the rest of the program asks for.
    std::string variable() const;
    std::string defaultValue() const;
    // "folder", "val", "check" or "combo": the tree's image for the node.
    const char *image() const;
};

// The option nodes of a tree, in tree order, folders left out.
template <typename Node> class OptionsOf {
public:
    class iterator {
    public:
        iterator(Node *at, Node *end) : at_(at), end_(end) { skipFolders(); }
        Node &operator*() const { return *at_; }
        iterator &operator++()
        {
            ++at_;
            skipFolders();
            return *this;
        }
        bool operator!=(const iterator &other) const { return at_ != other.at_; }

    private:
        void skipFolders()
        {
            while (at_ != end_ && !at_->hasParent())
                ++at_;
        }
        Node *at_;
        Node *end_;
    };

    OptionsOf(Node *first, Node *end) : first_(first), end_(end) {}
    iterator begin() const { return {first_, end_}; }
    iterator end() const { return {end_, end_}; }

private:
    Node *first_;
    Node *end_;
};

// The nodes in order of addition, indexed from 1: every command that walks
// the options walks them in this order.
class OptionTree {
public:
    static constexpr std::size_t noParent = 0;

    // Adds a node as the last child of the node keyed `parentKey`, or as a
    // root when `parentKey` is null. Fails, changing nothing, when the key is
    // already present or the parent key is not.
    bool add(const std::string *parentKey, std::string key, std::string text);

    std::size_t count() const { return nodes_.size(); }
    const OptionNode &item(std::size_t index) const { return nodes_.at(index - 1); }
    OptionNode &item(std::size_t index) { return nodes_.at(index - 1); }

    OptionsOf<const OptionNode> options() const { return {nodes_.data(), nodes_.data() + nodes_.size()}; }
    OptionsOf<OptionNode> options() { return {nodes_.data(), nodes_.data() + nodes_.size()}; }

    // The index of the node with this key, or 0 when there is none.
    std::size_t indexOf(const std::string &key) const;
    // The index of a node of this tree.
    std::size_t indexOf(const OptionNode &node) const { return static_cast<std::size_t>(&node - nodes_.data()) + 1; }

private:
    std::vector<OptionNode> nodes_;
    std::unordered_map<std::string, std::size_t> indexByKey_;
};

} // namespace cvarden
