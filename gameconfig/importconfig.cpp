// SPDX-License-Identifier: GPL-2.0-or-later
#include "importconfig.h"

#include <optional>
#include <vector>

#include "gamerun.h"
#include "normalize.h"
#include "optionmatcher.h"

namespace cvarden {

ImportReport ImportConfigText(std::string_view fileText, const OptionTree &tree, ValueStore &store)
{
    const OptionMatcher matcher(tree);
    const std::vector<std::optional<std::string>> lastValues = LastSetaValues(fileText, matcher);

    ImportReport report;
    StoreBatch batch(store);
    for (std::size_t v = 0; v < lastValues.size(); ++v) {
        if (!lastValues[v])
            continue;
        for (const std::size_t index : matcher.variables()[v].indices) {
            report.error = store.Save(tree.item(index).text, *lastValues[v]);
            if (!report.error.empty())
                return report;
            ++report.valuesTaken;
        }
    }
    report.error = batch.commit();
    return report;
}

ImportReport ImportConfig(const std::string &chosenPath, const OptionTree &tree, ValueStore &store)
{
    // A store that cannot be read is never written over, and the backup copy
    // is not touched for an import that cannot be made.
    if (std::string problem = store.reload(); !problem.empty())
        return {problem, 0};
    std::string original;
    std::string normalized;
    if (std::string failure = NormalizeFile(chosenPath, normalized, &original); !failure.empty())
        return {failure, 0};
    // The game reads the file as it is; the normalized copy only adds line
    // ends, which can move where the game cuts a long /* comment.
    return ImportConfigText(original, tree, store);
}

} // namespace cvarden
