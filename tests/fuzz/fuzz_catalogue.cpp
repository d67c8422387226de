// SPDX-License-Identifier: GPL-2.0-or-later
// Any catalogue, with any choice list beside it, loads into a sound tree.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "fileio.h"
#include "property.h"
#include "loader.h"
#include "optionkey.h"

namespace {

const std::filesystem::path &folder()
{
    static const std::filesystem::path path = [] {
        std::filesystem::path made = std::filesystem::temp_directory_path() / ("cvarden-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(made);
        return made;
    }();
    return path;
}


} // namespace

// The input is the catalogue, then, after a line "=====", the choice list
// "list.txt" that the catalogue may name.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char *>(data), size);
    const std::size_t split = input.find("\n=====\n");
    const std::string catalogueText = input.substr(0, split);
    const std::string list = split == std::string::npos ? std::string() : input.substr(split + 7);
    require(cvarden::WriteWholeFile((folder() / "options.dat").string(), catalogueText).ok());
    require(cvarden::WriteWholeFile((folder() / "list.txt").string(), list).ok());

    cvarden::Catalogue catalogue;
    const cvarden::OptionTree &tree = catalogue.tree;
    require(cvarden::OpenOptions((folder() / "options.dat").string(), catalogue, cvarden::Checks::Thorough).ok());
    bool optionsStarted = false;
    for (std::size_t i = 1; i <= tree.count(); ++i) {
        const cvarden::OptionNode &node = tree.item(i);
        require(tree.indexOf(node.key) == i);
        if (!node.hasParent()) {
            // Folders come first, and every accessor reads nothing from them.
            require(!optionsStarted && node.kind == cvarden::Kind::Folder && node.image() == std::string("folder"));
            require(node.key.find('?') != std::string::npos || Module1::OptionKind(node.key).empty());
            continue;
        }
        optionsStarted = true;
        require(node.parent < i && !tree.item(node.parent).hasParent());
        const std::string ordinal = Module1::OptionOrdinal(node.key);
        const unsigned long long number = Module1::WholeNumber(ordinal);
        // The ordinal is the entry's own, unless the variable line held a "?".
        if (catalogue.findings.empty())
            require(number > 0 && std::to_string(number) == ordinal);
        // The typed faces say what the key says.
        require(node.ordinal == number);
        require(&catalogue.descriptionOf(node) == &catalogue.descriptions.at(number));
        require((node.kind == cvarden::Kind::Combo) == (Module1::OptionKind(node.key) == "COMBO"));
        require(node.choices == (node.kind == cvarden::Kind::Combo ? Module1::OptionChoices(node.key)
                                                                   : std::vector<std::string>()));
        require(node.choices.size() <= node.key.size());
        require(node.variable() == Module1::OptionVarName(node.key));
        require(node.defaultValue() == Module1::OptionDefault(node.key));
    }
    return 0;
}
