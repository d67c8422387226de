// SPDX-License-Identifier: GPL-2.0-or-later
#include "unifieddiff.h"

#include <algorithm>

namespace cvarden {
namespace {

constexpr std::size_t contextLines = 3;

// A line ends, as the game reads it, at LF, CR LF or a CR alone. A plain
// loop: find_first_of looks each byte up in its set, several times slower
// over a large file.
std::size_t nextLineEnd(std::string_view text, std::size_t at)
{
    while (at < text.size() && text[at] != '\n' && text[at] != '\r')
        ++at;
    return at;
}

std::size_t lineEndAfter(std::string_view text, std::size_t at)
{
    const std::size_t end = nextLineEnd(text, at);
    if (end == text.size())
        return end;
    return text.compare(end, 2, "\r\n") == 0 ? end + 2 : end + 1;
}

// The start of the line that holds byte `at` (or of the line after the
// text's last line end, for its end).
std::size_t lineStartAt(std::string_view text, std::size_t at)
{
    // The LF of a CR LF belongs to the line its CR ends.
    if (at > 0 && at < text.size() && text[at] == '\n' && text[at - 1] == '\r')
        --at;
    const std::size_t end = at == 0 ? std::string_view::npos : text.find_last_of("\r\n", at - 1);
    return end == std::string_view::npos ? 0 : end + 1;
}

struct Line {
    std::string_view text; // without its line end
    bool ended = true;     // false for a last line without one
};

// The lines of a piece of text that starts at a line's beginning.
std::vector<Line> linesOf(std::string_view text)
{
    std::vector<Line> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t next = lineEndAfter(text, start);
        const std::size_t end = nextLineEnd(text, start);
        lines.push_back({text.substr(start, end - start), end < text.size()});
        start = next;
    }
    return lines;
}

// Whole lines of the text, from `from` to `to`, that some edits change.
struct Change {
    std::size_t from = 0;
    std::size_t to = 0;
    std::size_t line = 0; // lines before it
    std::string added;    // the same lines after the edits
};

std::vector<Change> changesOf(std::string_view before, const std::vector<TextEdit> &edits)
{
    const bool lastLineEnded = before.empty() || before.back() == '\n' || before.back() == '\r';
    std::vector<Change> changes;
    for (std::size_t e = 0; e < edits.size();) {
        Change change;
        change.from = lineStartAt(before, edits[e].from);
        change.to = change.from;
        std::size_t copied = change.from;
        // Edits on the lines already taken join the change; so does an
        // addition after a last line that has no line end of its own.
        do {
            change.added.append(before.substr(copied, edits[e].from - copied));
            change.added.append(edits[e].text);
            copied = edits[e].to;
            if (edits[e].to >= change.to)
                change.to = lineEndAfter(before, edits[e].to);
            ++e;
        } while (e < edits.size() && (edits[e].from < change.to || (edits[e].from == before.size() && !lastLineEnded)));
        change.added.append(before.substr(copied, change.to - copied));
        changes.push_back(std::move(change));
    }
    return changes;
}

void show(std::string &body, char mark, const Line &line)
{
    body.push_back(mark);
    body.append(line.text);
    body.append(line.ended ? "\n" : "\n\\ No newline at end of file\n");
}

std::string range(std::size_t before, std::size_t count)
{
    return std::to_string(count == 0 ? before : before + 1) + "," + std::to_string(count);
}

} // namespace

std::string UnifiedDiff(std::string_view before, const std::vector<TextEdit> &edits, const std::string &beforeLabel,
                        const std::string &afterLabel)
{
    if (edits.empty())
        return {};
    std::vector<Change> changes = changesOf(before, edits);
    // Lines before each change, counted once over the text.
    std::size_t counted = 0, lines = 0;
    for (Change &change : changes) {
        for (std::size_t at = counted; at < change.from; at = lineEndAfter(before, at))
            ++lines;
        counted = change.from;
        change.line = lines;
    }
    std::string out = "--- " + beforeLabel + "\n+++ " + afterLabel + "\n";
    long shift = 0; // lines the earlier hunks added
    for (std::size_t c = 0; c < changes.size();) {
        // The context before the hunk, then its changes while the kept lines
        // between them are few enough to show, then the context after.
        std::size_t from = changes[c].from;
        std::size_t first = changes[c].line;
        for (std::size_t n = 0; n < contextLines && from > 0; ++n, --first)
            from = lineStartAt(before, from - 1);
        std::string body;
        std::size_t oldCount = 0, newCount = 0;
        const auto context = [&](std::size_t begin, std::size_t end) {
            for (const Line &line : linesOf(before.substr(begin, end - begin))) {
                show(body, ' ', line);
                ++oldCount, ++newCount;
            }
        };
        context(from, changes[c].from);
        std::size_t end = changes[c].from;
        for (;;) {
            const Change &change = changes[c];
            for (const Line &line : linesOf(before.substr(change.from, change.to - change.from))) {
                show(body, '-', line);
                ++oldCount;
            }
            for (const Line &line : linesOf(change.added)) {
                show(body, '+', line);
                ++newCount;
            }
            end = change.to;
            std::size_t contextEnd = end;
            for (std::size_t n = 0; n < 2 * contextLines && contextEnd < before.size(); ++n)
                contextEnd = lineEndAfter(before, contextEnd);
            ++c;
            if (c == changes.size() || changes[c].from > contextEnd)
                break;
            context(end, changes[c].from);
        }
        std::size_t after = end;
        for (std::size_t n = 0; n < contextLines && after < before.size(); ++n)
            after = lineEndAfter(before, after);
        context(end, after);
        const auto firstAfter = static_cast<std::size_t>(static_cast<long>(first) + shift);
        out += "@@ -" + range(first, oldCount) + " +" + range(firstAfter, newCount) + " @@\n" + body;
        shift += static_cast<long>(newCount) - static_cast<long>(oldCount);
    }
    return out;
}

} // namespace cvarden
