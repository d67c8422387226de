#include "importconfig.h"

#include "linemodel.h"
#include "normalize.h"
#include "optionmatcher.h"

namespace cvarden {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

} // namespace

std::string ExtractValue(std::string_view line, std::size_t prefixLength)
{
    std::string_view value = line.substr(prefixLength);
    if (!value.empty() && value.back() == '\n')
        value.remove_suffix(1);
    while (!value.empty() && isBlank(value.front()))
        value.remove_prefix(1);
    while (!value.empty() && isBlank(value.back()))
        value.remove_suffix(1);
    if (!value.empty() && value.front() == '"')
        value.remove_prefix(1);
    if (!value.empty() && value.back() == '"')
        value.remove_suffix(1);
    return std::string(value);
}

ImportReport ImportConfigText(std::string_view normalizedText, const OptionTree &tree, ValueStore &store)
{
    ImportReport report;
    const OptionMatcher matcher(tree);
    StoreBatch batch(store);
    LineReader lines(normalizedText);
    std::vector<const VariableOptions *> variables;
    for (std::string_view line; lines.readLine(line);) {
        matcher.match(line, variables);
        for (const VariableOptions *variable : variables) {
            const std::string value = ExtractValue(line, OptionMatcher::commandLength + variable->name.size());
            for (const std::size_t index : variable->indices) {
                report.error = store.Save(tree.item(index).text, value);
                if (!report.error.empty())
                    return report;
                ++report.valuesTaken;
            }
        }
    }
    report.error = batch.commit();
    return report;
}

ImportReport ImportConfig(const std::string &chosenPath, const OptionTree &tree, ValueStore &store)
{
    // A store that cannot be read is never written over, and the backup copy
    // is not touched for an import that cannot be made.
    if (std::string problem = store.Reload(); !problem.empty())
        return {problem, 0};
    std::string text;
    if (std::string failure = normalizeFile(chosenPath, text); !failure.empty())
        return {failure, 0};
    return ImportConfigText(text, tree, store);
}

} // namespace cvarden
