// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace cvarden {

// The game runs its configuration file as console commands, and what a
// player's file means is what the game makes of it, not what its lines look
// like. This reads the text as the engine's command buffer and tokenizer do
// (ioquake3 code/qcommon/cmd.c, Cbuf_Execute and Cmd_TokenizeString), and
// says where each command and each of its words stands, so that a command
// can be rewritten in place with every byte around it kept.

// The game cuts a command at this many bytes; the byte after the cut is lost
// and the rest runs as a command of its own.
constexpr std::size_t gameCommandLimit = 1023;

// One word of a command, as the game hands it to the command.
struct GameWord {
    std::string_view text;      // without the enclosing double quotes
    std::size_t begin = 0;      // first byte in the file's text (an opening quote included)
    std::size_t end = 0;        // one past the last byte (a closing quote included)
    bool unclosedQuote = false; // its quote runs to the command's end
};

struct GameCommand {
    std::size_t begin = 0; // first byte in the file's text
    std::size_t end = 0;   // one past the last byte the game runs
    bool cut = false;      // longer than the game takes: only its first bytes ran
    std::vector<GameWord> words;
    // Where the game's scan and its tokenizer may disagree on quotes and
    // comments: a command that began inside a comment, or one whose words the
    // tokenizer found around a /* */ that the scan did not take for one (known
    // once all its words are read).
    bool startedInComment = false;
    bool commentAmongWords = false;

    // Whether it is one of the commands that set a variable (`seta`, `set`,
    // `sets`, `setu`, in any letter case) with a variable name. The game sets
    // the value alike for all four; `seta` also marks it to be saved.
    bool setsAVariable() const;
    // The value such a command sets: every word after the name, joined by
    // one blank.
    std::string valueSet() const;
};

class GameCommandReader {
public:
    // The game reads no further than the first NUL byte.
    explicit GameCommandReader(std::string_view fileText);

    // The next command that is not empty, with enough of its words to tell
    // a command that sets a variable and the variable it names: its first
    // two, or none when its first word cannot be one. False when the text is
    // done.
    bool next(GameCommand &command);

    // Every word of the command read last.
    void readAllWords(GameCommand &command) const { readWords(command, std::size_t(-1)); }

    // Where the game stops reading: the first NUL byte, or the end.
    std::size_t textEnd() const { return textEnd_; }

    // Whether, once every command has been read, the game's scan ran to the
    // end of the text inside a /* comment at some point: anything written
    // after the text would then be read as part of that comment or command.
    bool endsInComment() const { return scanRanToTheEnd_; }

private:
    void scanCommand(GameCommand &command);
    void readWords(GameCommand &command, std::size_t most) const;
    void settleCommentAfterCut(std::size_t at, bool oddQuotes);
    void findWhereScansRunToTheEnd();
    static std::size_t scanIndex(std::size_t at, bool oddQuotes, bool inStarComment)
    {
        return (at * 2 + (oddQuotes ? 1 : 0)) * 2 + (inStarComment ? 1 : 0);
    }

    // The game's text followed by the line end that the game adds to it.
    std::string text_;
    std::size_t textEnd_ = 0;
    std::size_t pos_ = 0;
    bool inStarComment_ = false;
    bool inSlashComment_ = false;
    bool scanRanToTheEnd_ = false;
    // For each place, quote parity and comment state of the text: whether the
    // game's scan from there reaches the end without ending a command.
    std::vector<bool> runsToTheEnd_;
};

// ASCII letters compared without case, as the game compares command and
// variable names.
bool EqualIgnoringCase(std::string_view a, std::string_view b);

} // namespace cvarden
