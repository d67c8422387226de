// SPDX-License-Identifier: GPL-2.0-or-later
#include "unifieddiff.h"

#include <algorithm>

namespace cvarden {
namespace {

constexpr std::size_t contextLines = 3;

// The lines of a piece of text that starts at a line's beginning; a last
// piece without a line end is a line when it holds anything.
std::vector<std::string_view> linesOf(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t lf = text.find('\n', start);
        const std::size_t end = lf == std::string_view::npos ? text.size() : lf;
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::size_t lineStartAt(std::string_view text, std::size_t at)
{
    const std::size_t lf = at == 0 ? std::string_view::npos : text.rfind('\n', at - 1);
    return lf == std::string_view::npos ? 0 : lf + 1;
}

std::size_t lineEndAfter(std::string_view text, std::size_t at)
{
    const std::size_t lf = text.find('\n', at);
    return lf == std::string_view::npos ? text.size() : lf + 1;
}

// Whole lines of the text, from `from` to `to`, that some edits change.
struct Change {
    std::size_t from = 0;
    std::size_t to = 0;
    std::size_t line = 0; // lines before it
    std::vector<std::string_view> removed;
    std::string added; // the same lines after the edits
};

std::vector<Change> changesOf(std::string_view before, const std::vector<TextEdit> &edits)
{
    std::vector<Change> changes;
    for (std::size_t e = 0; e < edits.size();) {
        Change change;
        change.from = lineStartAt(before, edits[e].from);
        // An addition after a last line end changes no line of its own.
        change.to = edits[e].from == before.size() ? before.size() : lineEndAfter(before, edits[e].to);
        std::size_t copied = change.from;
        do {
            change.added.append(before.substr(copied, edits[e].from - copied));
            change.added.append(edits[e].text);
            copied = edits[e].to;
            change.to = std::max(change.to, lineEndAfter(before, edits[e].to));
            ++e;
        } while (e < edits.size() && lineStartAt(before, edits[e].from) < change.to);
        change.added.append(before.substr(copied, change.to - copied));
        change.removed = linesOf(before.substr(change.from, change.to - change.from));
        changes.push_back(std::move(change));
    }
    return changes;
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
        lines += std::count(before.begin() + counted, before.begin() + change.from, '\n');
        counted = change.from;
        change.line = lines;
    }
    std::string out = "--- " + beforeLabel + "\n+++ " + afterLabel + "\n";
    long shift = 0; // lines the earlier hunks added
    for (std::size_t c = 0; c < changes.size();) {
        // The context before the hunk, then its changes while the kept lines
        // between them are few enough to show.
        std::size_t from = changes[c].from;
        std::size_t first = changes[c].line;
        for (std::size_t n = 0; n < contextLines && from > 0; ++n, --first)
            from = lineStartAt(before, from - 1);
        std::string body;
        std::size_t oldCount = 0, newCount = 0;
        for (const std::string_view line : linesOf(before.substr(from, changes[c].from - from))) {
            body += " " + std::string(line) + "\n";
            ++oldCount, ++newCount;
        }
        std::size_t end = changes[c].from;
        for (;;) {
            const Change &change = changes[c];
            for (const std::string_view line : change.removed)
                body += "-" + std::string(line) + "\n";
            const std::vector<std::string_view> added = linesOf(change.added);
            for (const std::string_view line : added)
                body += "+" + std::string(line) + "\n";
            oldCount += change.removed.size();
            newCount += added.size();
            end = change.to;
            std::size_t contextEnd = end;
            for (std::size_t n = 0; n < 2 * contextLines && contextEnd < before.size(); ++n)
                contextEnd = lineEndAfter(before, contextEnd);
            ++c;
            if (c == changes.size() || changes[c].from > contextEnd)
                break;
            for (const std::string_view line : linesOf(before.substr(end, changes[c].from - end))) {
                body += " " + std::string(line) + "\n";
                ++oldCount, ++newCount;
            }
        }
        std::size_t after = end;
        for (std::size_t n = 0; n < contextLines && after < before.size(); ++n)
            after = lineEndAfter(before, after);
        for (const std::string_view line : linesOf(before.substr(end, after - end))) {
            body += " " + std::string(line) + "\n";
            ++oldCount, ++newCount;
        }
        const auto firstAfter = static_cast<std::size_t>(static_cast<long>(first) + shift);
        out += "@@ -" + range(first, oldCount) + " +" + range(firstAfter, newCount) + " @@\n" + body;
        shift += static_cast<long>(newCount) - static_cast<long>(oldCount);
    }
    return out;
}

} // namespace cvarden
