#include "literalwalk.h"

#include "fileio.h"
#include "linemodel.h"
#include "optionkey.h"

namespace bench {
namespace {

bool startsWith(std::string_view line, const std::string &prefix)
{
    return line.size() > prefix.size() && line.compare(0, prefix.size(), prefix) == 0;
}

// The value as the first design took it from a line: trimmed of spaces, then
// one leading quote, one LF and one trailing quote removed.
std::string literalValue(std::string_view line, std::size_t prefixLength)
{
    std::string_view value = line.substr(prefixLength);
    while (!value.empty() && value.front() == ' ')
        value.remove_prefix(1);
    while (!value.empty() && value.back() == ' ')
        value.remove_suffix(1);
    if (!value.empty() && value.front() == '"')
        value.remove_prefix(1);
    if (!value.empty() && value.back() == '\n')
        value.remove_suffix(1);
    if (!value.empty() && value.back() == '"')
        value.remove_suffix(1);
    return std::string(value);
}

} // namespace

void literalImport(const std::string &backupPath, const cvarden::OptionTree &tree, cvarden::ValueStore &store)
{
    std::string text;
    static_cast<void>(cvarden::ReadWholeFile(backupPath, text));
    cvarden::LineReader lines(text);
    for (std::string_view line; lines.readLine(line);) {
        for (std::size_t i = 1; i <= tree.count(); ++i) {
            const cvarden::OptionNode &node = tree.item(i);
            if (!node.hasParent())
                continue;
            const std::string prefix = "seta " + Module1::OptionVarName(node.key);
            if (startsWith(line, prefix))
                store.Save(node.text, literalValue(line, prefix.size()));
        }
    }
}

void literalExport(const std::string &backupPath, const std::string &chosenPath, cvarden::OptionTree &tree,
                   const cvarden::ValueStore &store)
{
    std::string text;
    static_cast<void>(cvarden::ReadWholeFile(backupPath, text));
    for (std::size_t i = 1; i <= tree.count(); ++i)
        tree.item(i).tag.clear();
    std::string out;
    cvarden::LineReader lines(text);
    for (std::string_view line; lines.readLine(line);) {
        bool matched = false;
        for (std::size_t i = 1; i <= tree.count(); ++i) {
            cvarden::OptionNode &node = tree.item(i);
            if (!node.hasParent())
                continue;
            const std::string prefix = "seta " + Module1::OptionVarName(node.key);
            if (!startsWith(line, prefix))
                continue;
            const std::string value = store.Get(node.text, Module1::OptionDefault(node.key));
            cvarden::WriteRecord(out, prefix + " \"" + value + "\"\n");
            node.tag = "DONE";
            matched = true;
        }
        if (!matched)
            cvarden::WriteRecord(out, line);
    }
    for (std::size_t i = 1; i <= tree.count(); ++i) {
        cvarden::OptionNode &node = tree.item(i);
        if (node.hasParent() && node.tag.empty()) {
            const std::string prefix = "seta " + Module1::OptionVarName(node.key);
            cvarden::WriteRecord(out, prefix + " " + store.Get(node.text, Module1::OptionDefault(node.key)) + "\n");
            node.tag = "DONE";
        }
    }
    static_cast<void>(cvarden::WriteWholeFile(chosenPath, out));
}

} // namespace bench
