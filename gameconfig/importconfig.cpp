#include "importconfig.h"

#include "linemodel.h"
#include "normalize.h"
#include "optionkey.h"
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

ImportReport ImportConfig(const std::string &chosenPath, const OptionTree &tree, ValueStore &store)
{
    ImportReport report;
    std::string text;
    report.error = normalizeFile(chosenPath, text);
    if (!report.error.empty())
        return report;

    const OptionMatcher matcher(tree);
    StoreBatch batch(store);
    LineReader lines(text);
    std::vector<std::size_t> matches;
    for (std::string_view line; lines.readLine(line);) {
        matcher.match(line, matches);
        for (const std::size_t index : matches) {
            const OptionNode &node = tree.item(index);
            const std::size_t prefixLength = OptionMatcher::commandLength + Module1::OptionVarName(node.key).size();
            report.error = store.Save(node.text, ExtractValue(line, prefixLength));
            if (!report.error.empty())
                return report;
            ++report.valuesTaken;
        }
    }
    report.error = batch.commit();
    return report;
}

} // namespace cvarden
