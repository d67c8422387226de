// SPDX-License-Identifier: GPL-2.0-or-later
#include "normalize.h"

#include <algorithm>
#include <cstring>

#include "fileio.h"
#include "linemodel.h"

namespace cvarden {

std::string NormalizeText(std::string_view text)
{
    // Copied into place rather than appended: the appends, two for each of a
    // file's thousands of lines, cost more than the copying itself.
    std::string out(text.size() + text.size() / 8 + 64, '\0');
    std::size_t used = 0;
    const auto record = [&out, &used](std::string_view piece) {
        if (out.size() - used < piece.size() + 2)
            out.resize(std::max(out.size() * 2, used + piece.size() + 2));
        std::memcpy(&out[used], piece.data(), piece.size());
        used += piece.size();
        out[used++] = '\r';
        out[used++] = '\n';
    };
    LineReader reader(text);
    // Whether the byte examined last, across lines, was a LF: an empty line
    // that follows a line ending in LF is that LF's own line end, not a line.
    bool lastWasLf = false;
    std::string_view line;
    while (reader.readLine(line)) {
        std::size_t start = 0;
        for (std::size_t lf = line.find('\n'); lf != std::string_view::npos; lf = line.find('\n', start)) {
            record(line.substr(start, lf + 1 - start));
            start = lf + 1;
        }
        const std::string_view rest = line.substr(start);
        if (!rest.empty())
            lastWasLf = false;
        else if (!line.empty())
            lastWasLf = true;
        if (!rest.empty() || !lastWasLf)
            record(rest);
    }
    out.resize(used);
    return out;
}

std::string BackupPathFor(const std::string &chosenPath)
{
    return chosenPath + "_";
}

Outcome ReadGameFile(const std::string &chosenPath, std::string &bytes)
{
    if (Outcome read = ReadWholeFile(chosenPath, bytes); read.failed())
        return read;
    if (bytes.empty())
        return {Failure::Empty, "\"" + chosenPath + "\" is empty: it holds no settings."};
    return {};
}

Outcome WriteBackupCopy(const std::string &chosenPath, std::string_view bytes)
{
    // The game file itself is written to last; its backup copy guards
    // against the program's faults, and is not worth a wait for the disk.
    const Outcome placed =
        PlaceNewFile(BackupPathFor(chosenPath), NormalizeText(bytes), chosenPath, Durability::SurvivesProgramFaults);
    return placed.ok() ? placed : placed.within("Cannot write the backup copy beside the chosen file. ");
}

} // namespace cvarden
