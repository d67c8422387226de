// SPDX-License-Identifier: GPL-2.0-or-later
#include "literalwalk.h"

#include "fileio.h"
#include "linemodel.h"

namespace bench {
namespace {

// Appends `text` followed by CR LF, the line end of every record.
void writeRecord(std::string &out, std::string_view text)
{
    out.append(text);
    out.append("\r\n");
}

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
        for (const cvarden::OptionNode &option : tree.options()) {
            const std::string prefix = "seta " + option.variable();
            if (startsWith(line, prefix))
                static_cast<void>(store.Save(option.text, literalValue(line, prefix.size())));
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
        for (cvarden::OptionNode &option : tree.options()) {
            const std::string prefix = "seta " + option.variable();
            if (!startsWith(line, prefix))
                continue;
            const std::string value = store.Get(option.text, option.defaultValue());
            writeRecord(out, prefix + " \"" + value + "\"\n");
            option.tag = "DONE";
            matched = true;
        }
        if (!matched)
            writeRecord(out, line);
    }
    for (cvarden::OptionNode &option : tree.options()) {
        if (option.tag.empty()) {
            const std::string prefix = "seta " + option.variable();
            writeRecord(out, prefix + " " + store.Get(option.text, option.defaultValue()) + "\n");
            option.tag = "DONE";
        }
    }
    static_cast<void>(cvarden::WriteWholeFile(chosenPath, out));
}

} // namespace bench
