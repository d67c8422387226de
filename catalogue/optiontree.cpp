// SPDX-License-Identifier: GPL-2.0-or-later
#include "optiontree.h"

#include "optionkey.h"

namespace cvarden {
namespace {

Kind optionKindOf(const std::string &key)
{
    const std::string field = Module1::OptionKind(key);
    if (field == "VALUE")
        return Kind::Value;
    if (field == "CHECK")
        return Kind::Check;
    if (field == "COMBO")
        return Kind::Combo;
    return Kind::Unknown;
}

} // namespace

std::string OptionNode::variable() const
{
    return Module1::OptionVarName(key);
}

std::string OptionNode::defaultValue() const
{
    return Module1::OptionDefault(key);
}

const char *OptionNode::image() const
{
    // In the order of Kind; a kind the catalogue misspelled shows as free text.
    static constexpr const char *images[] = {"folder", "val", "check", "combo", "val"};
    return images[static_cast<int>(kind)];
}

bool OptionTree::add(const std::string *parentKey, std::string key, std::string text)
{
    OptionNode node;
    if (parentKey) {
        node.parent = indexOf(*parentKey);
        if (node.parent == noParent)
            return false;
    }
    if (!indexByKey_.try_emplace(key, nodes_.size() + 1).second)
        return false;
    // The kind, the entry number and the choices are read from the key here,
    // once; the variable and the default are read when asked.
    if (node.hasParent()) {
        node.kind = optionKindOf(key);
        node.ordinal = Module1::WholeNumber(Module1::OptionOrdinal(key));
        if (node.kind == Kind::Combo)
            node.choices = Module1::OptionChoices(key);
    }
    node.key = std::move(key);
    node.text = std::move(text);
    nodes_.push_back(std::move(node));
    return true;
}

std::size_t OptionTree::indexOf(const std::string &key) const
{
    const auto found = indexByKey_.find(key);
    return found == indexByKey_.end() ? noParent : found->second;
}

} // namespace cvarden
