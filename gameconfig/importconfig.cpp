// SPDX-License-Identifier: GPL-2.0-or-later
#include "importconfig.h"

#include <optional>
#include <vector>

#include "gamerun.h"
#include "laterfiles.h"
#include "normalize.h"
#include "optionmatcher.h"

namespace cvarden {

namespace {

ImportReport importText(std::string_view fileText, const OptionTree &tree, const OptionMatcher &matcher,
                        ValueStore &store)
{
    const std::vector<std::optional<std::string>> lastValues = LastValuesSet(fileText, matcher);

    ImportReport report;
    StoreBatch batch(store);
    for (std::size_t v = 0; v < lastValues.size(); ++v) {
        if (!lastValues[v])
            continue;
        for (const std::size_t index : matcher.variables()[v].indices) {
            const OptionNode &option = tree.item(index);
            if (store.Get(option.text, option.defaultValue()) != *lastValues[v])
                ++report.differed;
            report.outcome = store.Save(option.text, *lastValues[v]);
            if (report.outcome.failed())
                return report;
            ++report.valuesTaken;
        }
    }
    report.outcome = batch.commit();
    return report;
}

} // namespace

ImportReport ImportConfigText(std::string_view fileText, const OptionTree &tree, ValueStore &store)
{
    return importText(fileText, tree, OptionMatcher(tree), store);
}

std::string ImportSummary(const ImportReport &report)
{
    std::string summary = std::to_string(report.valuesTaken) + (report.valuesTaken == 1 ? " setting" : " settings") +
                          " read; " + std::to_string(report.differed) +
                          (report.differed == 1 ? " differs" : " differ") + " from your values";
    if (report.setLater > 0)
        summary += "; " + std::to_string(report.setLater) +
                   (report.setLater == 1 ? " is set again by a file" : " are set again by files") +
                   " the game runs later";
    return summary;
}

ImportReport ImportConfig(const std::string &chosenPath, const OptionTree &tree, ValueStore &store)
{
    // A store that cannot be read is never written over, and the backup copy
    // is not touched for an import that cannot be made.
    if (Outcome read = store.reload(); read.failed())
        return {read};
    std::string bytes;
    if (Outcome read = ReadGameFile(chosenPath, bytes); read.failed())
        return {read};
    if (Outcome backup = WriteBackupCopy(chosenPath, bytes); backup.failed())
        return {backup};
    // The game reads the file as it is; the normalized copy only adds line
    // ends, which can move where the game cuts a long /* comment.
    const OptionMatcher matcher(tree);
    ImportReport report = importText(bytes, tree, matcher, store);
    const LaterFiles later = ReadLaterFiles(chosenPath, bytes, matcher);
    report.setLater = later.overriddenCount();
    report.setLaterByOption = ByOption(later, matcher);
    return report;
}

} // namespace cvarden
