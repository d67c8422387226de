#include "exportconfig.h"

#include "fileio.h"
#include "linemodel.h"
#include "normalize.h"
#include "optionkey.h"
#include "optionmatcher.h"
#include "versions.h"

namespace cvarden {
namespace {

std::string optionValue(const OptionNode &node, const ValueStore &store)
{
    return store.Get(node.text, Module1::OptionDefault(node.key));
}

void clearTags(OptionTree &tree)
{
    for (std::size_t i = 1; i <= tree.count(); ++i)
        tree.item(i).tag.clear();
}

} // namespace

std::string OptionRecordText(std::string_view variableName, std::string_view value, bool endsInLf)
{
    std::string text = OptionMatcher::prefixOf(variableName);
    text.append(" \"");
    for (const char c : value) {
        if (c != '"' && c != '\r' && c != '\n')
            text.push_back(c);
    }
    text.push_back('"');
    if (endsInLf)
        text.push_back('\n');
    return text;
}

std::string RewriteConfigText(std::string_view normalizedText, OptionTree &tree, const ValueStore &store,
                              ExportReport &report)
{
    std::string out;
    out.reserve(normalizedText.size() + normalizedText.size() / 8);
    const OptionMatcher matcher(tree);
    // One record per variable: its last option in tree order gives the value,
    // the one the game would end with. A record per option would multiply the
    // lines of a shared variable at every export.
    const auto writeVariable = [&](const VariableOptions &variable, bool endsInLf) {
        writeRecord(out, OptionRecordText(variable.name, optionValue(tree.item(variable.indices.back()), store), endsInLf));
        for (const std::size_t index : variable.indices)
            tree.item(index).tag = "DONE";
    };

    LineReader lines(normalizedText);
    std::vector<const VariableOptions *> variables;
    for (std::string_view line; lines.readLine(line);) {
        matcher.match(line, variables);
        if (variables.empty())
            writeRecord(out, line);
        const bool endsInLf = !line.empty() && line.back() == '\n';
        for (const VariableOptions *variable : variables) {
            writeVariable(*variable, endsInLf);
            ++report.linesReplaced;
        }
    }
    for (std::size_t i = 1; i <= tree.count(); ++i) {
        const OptionNode &node = tree.item(i);
        if (!node.hasParent() || !node.tag.empty())
            continue;
        writeVariable(matcher.variable(Module1::OptionVarName(node.key)), true);
        ++report.linesAdded;
    }
    return out;
}

ExportReport ExportConfig(const std::string &chosenPath, OptionTree &tree, ValueStore &store,
                          const std::string &versionsFolder)
{
    ExportReport report;
    // The values written are the player's latest, whichever run saved them;
    // a store that cannot be read has none to give.
    report.error = store.Reload();
    if (!report.error.empty())
        return report;
    std::string normalized, original;
    report.error = normalizeFile(chosenPath, normalized, versionsFolder.empty() ? nullptr : &original);
    if (!report.error.empty())
        return report;
    clearTags(tree);
    report.error = refuseReadOnly(chosenPath);
    if (report.error.empty() && !versionsFolder.empty())
        report.error = KeepVersion(versionsFolder, chosenPath, original);
    if (!report.error.empty())
        return report;
    original = std::string();
    const std::string rewritten = RewriteConfigText(normalized, tree, store, report);
    normalized = std::string(); // its memory back before the write, for files of many megabytes
    report.error = replaceWholeFile(chosenPath, rewritten);
    return report;
}

} // namespace cvarden
