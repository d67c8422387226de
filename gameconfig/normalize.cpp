// SPDX-License-Identifier: GPL-2.0-or-later
#include "normalize.h"

#include "fileio.h"
#include "linemodel.h"

namespace cvarden {

std::string NormalizeText(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 16 + 2);
    LineReader reader(text);
    // Whether the byte examined last, across lines, was a LF: an empty line
    // that follows a line ending in LF is that LF's own line end, not a line.
    bool lastWasLf = false;
    std::string_view line;
    while (reader.readLine(line)) {
        std::size_t start = 0;
        for (std::size_t lf = line.find('\n'); lf != std::string_view::npos; lf = line.find('\n', start)) {
            WriteRecord(out, line.substr(start, lf + 1 - start));
            start = lf + 1;
        }
        const std::string_view rest = line.substr(start);
        if (!rest.empty())
            lastWasLf = false;
        else if (!line.empty())
            lastWasLf = true;
        if (!rest.empty() || !lastWasLf)
            WriteRecord(out, rest);
    }
    return out;
}

std::string BackupPathFor(const std::string &chosenPath)
{
    return chosenPath + "_";
}

std::string ReadGameFile(const std::string &chosenPath, std::string &bytes)
{
    if (std::string failure = ReadWholeFile(chosenPath, bytes); !failure.empty())
        return failure;
    if (bytes.empty())
        return "\"" + chosenPath + "\" is empty: it holds no settings.";
    return {};
}

std::string NormalizeFile(const std::string &chosenPath, std::string &normalized, std::string *original)
{
    normalized.clear();
    std::string bytes;
    // A failed read, an empty file included, leaves the backup copy as it is:
    // it may hold the player's last good settings.
    if (std::string failure = ReadGameFile(chosenPath, bytes); !failure.empty())
        return failure;
    normalized = NormalizeText(bytes);
    if (original)
        *original = std::move(bytes);
    // The game file itself is written to last; its backup copy guards
    // against the program's faults, and is not worth a wait for the disk.
    if (std::string failure =
            PlaceNewFile(BackupPathFor(chosenPath), normalized, chosenPath, Durability::SurvivesProgramFaults);
        !failure.empty())
        return "Cannot write the backup copy beside the chosen file. " + failure;
    return {};
}

} // namespace cvarden
