// SPDX-License-Identifier: GPL-2.0-or-later
#include "gamecommands.h"

#include <algorithm>
#include <array>

namespace cvarden {
namespace {

// On the x86 builds players run, `char` is signed, so the tokenizer's test
// "at most a blank" also holds for every byte from 0x80 up: outside quotes
// those bytes separate words (a byte-order mark before `seta` is skipped).
constexpr bool separatesWords(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte <= ' ' || byte >= 0x80;
}

// The bytes the command buffer's scan acts on; every other byte just passes.
// A table, as the scan asks it of every byte of the file.
constexpr std::array<bool, 256> scanStops = [] {
    std::array<bool, 256> stops{};
    for (const unsigned char c : {'"', '/', '*', ';', '\n', '\r'})
        stops[c] = true;
    return stops;
}();

bool stopsTheScan(char c)
{
    return scanStops[static_cast<unsigned char>(c)];
}

// What may end a word outside quotes: a separator, a quote, or the `/` of a
// comment. A table, as the words of nearly every command are read.
constexpr std::array<bool, 256> plainWordEnds = [] {
    std::array<bool, 256> ends{};
    for (int c = 0; c < 256; ++c)
        ends[c] = separatesWords(static_cast<char>(c)) || c == '"' || c == '/';
    return ends;
}();

bool endsAPlainWord(char c)
{
    return plainWordEnds[static_cast<unsigned char>(c)];
}

bool startsComment(std::string_view text, std::size_t at)
{
    return at + 1 < text.size() && text[at] == '/' && (text[at + 1] == '/' || text[at + 1] == '*');
}

// Each field set where the word is stored: a word built aside and copied in
// costs a store-to-load stall on every word of the file.
void addWord(GameCommand &command, std::string_view text, std::size_t begin, std::size_t end, bool unclosedQuote)
{
    GameWord &word = command.words.emplace_back();
    word.text = text;
    word.begin = command.begin + begin;
    word.end = command.begin + end;
    word.unclosedQuote = unclosedQuote;
}

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool EqualIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    }
    return true;
}

bool GameCommand::setsAVariable() const
{
    if (words.size() < 2)
        return false;
    // `set` and a letter at most: asked of nearly every command of a file.
    const std::string_view command = words[0].text;
    if (command.size() < 3 || command.size() > 4 || !EqualIgnoringCase(command.substr(0, 3), "set"))
        return false;
    if (command.size() == 3)
        return true;
    const char last = lowerAscii(command[3]);
    return last == 'a' || last == 's' || last == 'u';
}

std::string GameCommand::valueSet() const
{
    std::string value;
    for (std::size_t i = 2; i < words.size(); ++i) {
        if (i > 2)
            value.push_back(' ');
        value.append(words[i].text);
    }
    return value;
}

GameCommandReader::GameCommandReader(std::string_view fileText)
    : textEnd_(std::min(fileText.find('\0'), fileText.size()))
{
    text_.reserve(textEnd_ + 1);
    text_.append(fileText.substr(0, textEnd_));
    text_.push_back('\n');
}

// The command buffer's scan: a command ends at a line end, or at a `;`
// outside quotes and comments; `//` runs to the line end, and `/* ... */`
// over lines, ending the command at its close. The comment state lives on
// from one command to the next, as the game keeps it. Empty commands, which
// run nothing, are passed over.
bool GameCommandReader::next(GameCommand &command)
{
    do {
        // Line ends, which end an empty command outside a /* comment, are
        // most of what a normalized file holds between its commands.
        while (pos_ < text_.size() && !inStarComment_ && (text_[pos_] == '\n' || text_[pos_] == '\r')) {
            inSlashComment_ = false;
            ++pos_;
        }
        if (pos_ == text_.size())
            return false;
        scanCommand(command);
    } while (command.begin == command.end);
    // Only a command whose first word can set a variable needs its words yet.
    std::size_t first = command.begin;
    while (first < command.end && (text_[first] == ' ' || text_[first] == '\t'))
        ++first;
    const char lead = first < command.end ? text_[first] : 's';
    if (lead == 's' || lead == 'S' || lead == '"' || lead == '/' || separatesWords(lead))
        readWords(command, 2);
    else
        command.words.clear();
    return true;
}

void GameCommandReader::scanCommand(GameCommand &command)
{
    const std::size_t left = text_.size() - pos_;
    const char *text = text_.data() + pos_;
    command.startedInComment = inStarComment_ || inSlashComment_;
    int quotes = 0;
    bool ended = false;
    std::size_t i = 0;
    // Past the limit, the rest of the scan only settles the comment state.
    const std::size_t scanned = std::min(left, gameCommandLimit + 1);
    for (; i < scanned; ++i) {
        if (!stopsTheScan(text[i]))
            continue;
        if (text[i] == '"')
            ++quotes;
        if (quotes % 2 == 0) {
            if (i + 1 < left) {
                if (!inStarComment_ && text[i] == '/' && text[i + 1] == '/') {
                    inSlashComment_ = true;
                } else if (!inSlashComment_ && text[i] == '/' && text[i + 1] == '*') {
                    inStarComment_ = true;
                } else if (inStarComment_ && text[i] == '*' && text[i + 1] == '/') {
                    inStarComment_ = false;
                    ++i; // the command ends before the closing '/', which is dropped
                    ended = true;
                    break;
                }
            }
            if (!inSlashComment_ && !inStarComment_ && text[i] == ';') {
                ended = true;
                break;
            }
        }
        if (!inStarComment_ && (text[i] == '\n' || text[i] == '\r')) {
            inSlashComment_ = false;
            ended = true;
            break;
        }
    }
    if (!ended && i < left)
        settleCommentAfterCut(pos_ + i, quotes % 2 == 1);
    else if (!ended)
        scanRanToTheEnd_ = true;
    command.cut = i > gameCommandLimit;
    const std::size_t length = std::min(i, gameCommandLimit);
    command.begin = pos_;
    command.end = pos_ + length;
    // What ends the command is consumed with it (after a cut, the byte there).
    pos_ += length == left ? length : length + 1;
}

// The game scans a command it cuts on to where it ends, but what it runs is
// decided by then; the scan only leaves its comment state behind. That is no
// comment when the scan ends a command anywhere, and else the /* comment it
// runs to the end in. Scanning on for each cut would make a long line cost
// its length squared, so where the scan ends is worked out once for every
// place and state of the text, from its end back.
void GameCommandReader::settleCommentAfterCut(std::size_t at, bool oddQuotes)
{
    if (runsToTheEnd_.empty())
        findWhereScansRunToTheEnd();
    const bool runs = !inSlashComment_ && runsToTheEnd_[scanIndex(at, oddQuotes, inStarComment_)];
    inSlashComment_ = false;
    inStarComment_ = runs;
    scanRanToTheEnd_ = scanRanToTheEnd_ || runs;
}

// Fills runsToTheEnd_: for every place z of the text and every state a scan
// can be in there (an odd number of quotes seen, inside a /* comment), whether
// the scan, going on from z in that state, reaches the end of the text
// without ending a command. The entries are packed three indices in one,
// scanIndex(z, odd, star) = (z * 2 + odd) * 2 + star, so that one vector holds
// them all. One pass from the end back settles each place from the one after
// it: a scan at z either ends right there (a `;` or line end outside a
// comment, the `*/` that closes one, the line end after a `//`) or goes on to
// z + 1 in the state the byte at z leaves it in.
void GameCommandReader::findWhereScansRunToTheEnd()
{
    const std::size_t size = text_.size();
    runsToTheEnd_.assign(scanIndex(size + 1, false, false), false);
    for (const bool odd : {false, true}) {
        runsToTheEnd_[scanIndex(size, odd, false)] = true;
        runsToTheEnd_[scanIndex(size, odd, true)] = true;
    }
    for (std::size_t z = size; z-- > 0;) {
        const char c = text_[z];
        const char following = z + 1 < size ? text_[z + 1] : '\0';
        for (const bool odd : {false, true}) {
            const bool oddAfter = odd != (c == '"');
            const bool outside = !oddAfter;
            const auto runsOn = [&](bool star) { return runsToTheEnd_[scanIndex(z + 1, oddAfter, star)]; };
            runsToTheEnd_[scanIndex(z, odd, true)] = !(outside && c == '*' && following == '/') && runsOn(true);
            bool plain;
            if (outside && c == '/' && following == '/')
                plain = false; // the line end after it ends a command
            else if (outside && c == '/' && following == '*')
                plain = runsOn(true);
            else
                plain = !(outside && c == ';') && c != '\n' && c != '\r' && runsOn(false);
            runsToTheEnd_[scanIndex(z, odd, false)] = plain;
        }
    }
}

// The tokenizer: blanks separate words, a word in double quotes runs to the
// next quote (no escapes) or the command's end, and `//` or `/*` outside
// quotes ends the words (a `/* */` between words is skipped).
void GameCommandReader::readWords(GameCommand &command, std::size_t most) const
{
    command.words.clear();
    command.commentAmongWords = false;
    const std::string_view line(text_.data() + command.begin, command.end - command.begin);
    std::size_t p = 0;
    while (command.words.size() < most) {
        for (;;) {
            while (p < line.size() && separatesWords(line[p]))
                ++p;
            if (p >= line.size() || (startsComment(line, p) && line[p + 1] == '/'))
                return;
            if (!startsComment(line, p))
                break;
            const std::size_t close = line.find("*/", p);
            if (close == std::string_view::npos)
                return;
            p = close + 2;
            command.commentAmongWords = true;
        }
        const std::size_t begin = p;
        if (line[p] == '"') {
            const std::size_t close = line.find('"', p + 1);
            const std::size_t stop = close == std::string_view::npos ? line.size() : close;
            const std::size_t end = close == std::string_view::npos ? line.size() : close + 1;
            addWord(command, line.substr(begin + 1, stop - begin - 1), begin, end, close == std::string_view::npos);
            if (close == std::string_view::npos)
                return;
            p = end;
            continue;
        }
        while (p < line.size() && (!endsAPlainWord(line[p]) || (line[p] == '/' && !startsComment(line, p))))
            ++p;
        addWord(command, line.substr(begin, p - begin), begin, p, false);
        if (p >= line.size())
            return;
    }
}

} // namespace cvarden
