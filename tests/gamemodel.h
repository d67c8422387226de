// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

// What the game ends with after running a configuration file, modelled step
// by step on the engine's own command buffer and tokenizer (ioquake3
// code/qcommon/cmd.c: Cbuf_InsertText, Cbuf_Execute, Cmd_TokenizeString,
// Cmd_ExecuteString, and `seta` in cvar.c) and kept apart from Cvarden's
// reader, so that the import and the export can be checked against it.
namespace gamemodel {

struct Outcome {
    // Each catalogued variable (lower-cased) and the value it ends with.
    std::map<std::string, std::string> catalogued;
    // Every other command that ran, word by word, in order.
    std::vector<std::vector<std::string>> others;
    // Whether a command was longer than the game takes at once.
    bool cut = false;
    // Whether the text ended inside a /* comment.
    bool endsInComment = false;
};

inline std::string lowered(std::string text)
{
    for (char &c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

// Cmd_TokenizeString on a NUL-terminated line, with `char` signed as on x86.
inline std::vector<std::string> tokenize(const std::string &line)
{
    std::vector<std::string> argv;
    const signed char *text = reinterpret_cast<const signed char *>(line.c_str());
    for (;;) {
        for (;;) {
            while (*text && *text <= ' ')
                text++;
            if (!*text)
                return argv;
            if (text[0] == '/' && text[1] == '/')
                return argv;
            if (text[0] == '/' && text[1] == '*') {
                while (*text && (text[0] != '*' || text[1] != '/'))
                    text++;
                if (!*text)
                    return argv;
                text += 2;
            } else {
                break;
            }
        }
        std::string word;
        if (*text == '"') {
            text++;
            while (*text && *text != '"')
                word.push_back(static_cast<char>(*text++));
            argv.push_back(word);
            if (!*text)
                return argv;
            text++;
            continue;
        }
        while (*text > ' ') {
            if (text[0] == '"' || (text[0] == '/' && (text[1] == '/' || text[1] == '*')))
                break;
            word.push_back(static_cast<char>(*text++));
        }
        argv.push_back(word);
        if (!*text)
            return argv;
    }
}

inline void execute(const std::string &line, const std::set<std::string> &catalogued, Outcome &outcome)
{
    const std::vector<std::string> argv = tokenize(line);
    if (argv.empty())
        return;
    const std::string command = argv.empty() ? std::string() : lowered(argv[0]);
    const bool setsAVariable = command == "seta" || command == "set" || command == "sets" || command == "setu";
    if (argv.size() >= 2 && setsAVariable && catalogued.count(lowered(argv[1])) != 0) {
        if (argv.size() == 2)
            return; // prints the variable, sets nothing
        std::string value;
        for (std::size_t i = 2; i < argv.size(); ++i)
            value += (i > 2 ? " " : "") + argv[i];
        outcome.catalogued[lowered(argv[1])] = value;
        return;
    }
    outcome.others.push_back(argv);
}

// A file as `exec` puts it into the command buffer: read as a C string, with
// the line end that Cbuf_InsertText adds.
inline std::string asInserted(std::string_view fileText)
{
    return std::string(fileText.substr(0, fileText.find('\0'))) + '\n';
}

inline bool runsAutoexec(const std::string &line)
{
    const std::vector<std::string> argv = tokenize(line);
    return argv.size() >= 2 && lowered(argv[0]) == "exec" && argv[1] == "autoexec.cfg";
}

// Runs the command buffer to its end; `exec autoexec.cfg` inserts `autoexec`
// at the buffer's front, when there is one.
inline Outcome runBuffer(std::string buffer, const std::set<std::string> &cataloguedLowerCase,
                         const std::string *autoexec)
{
    constexpr int maxCommandLine = 1024;
    Outcome outcome;
    bool inStarComment = false;
    bool inSlashComment = false;
    std::size_t start = 0; // the buffer's front, instead of moving the rest down
    while (start < buffer.size()) {
        const char *text = buffer.data() + start;
        const int size = static_cast<int>(buffer.size() - start);
        int quotes = 0;
        int i;
        for (i = 0; i < size; i++) {
            if (text[i] == '"')
                quotes++;
            if (!(quotes & 1)) {
                if (i < size - 1) {
                    if (!inStarComment && text[i] == '/' && text[i + 1] == '/')
                        inSlashComment = true;
                    else if (!inSlashComment && text[i] == '/' && text[i + 1] == '*')
                        inStarComment = true;
                    else if (inStarComment && text[i] == '*' && text[i + 1] == '/') {
                        inStarComment = false;
                        i++;
                        break;
                    }
                }
                if (!inSlashComment && !inStarComment && text[i] == ';')
                    break;
            }
            if (!inStarComment && (text[i] == '\n' || text[i] == '\r')) {
                inSlashComment = false;
                break;
            }
        }
        outcome.cut = outcome.cut || i > maxCommandLine - 1;
        if (i >= maxCommandLine - 1)
            i = maxCommandLine - 1;
        const std::string line(text, static_cast<std::size_t>(i));
        start += static_cast<std::size_t>(i == size ? i : i + 1);
        execute(line, cataloguedLowerCase, outcome);
        if (autoexec && runsAutoexec(line))
            buffer.insert(start, *autoexec);
    }
    outcome.endsInComment = inStarComment;
    return outcome;
}

// Runs the file's text as the game does when it executes the file.
inline Outcome run(std::string_view fileText, const std::set<std::string> &cataloguedLowerCase)
{
    return runBuffer(asInserted(fileText), cataloguedLowerCase, nullptr);
}

// The game's start-up (ioquake3 common.c, Com_Init): q3config.cfg, then the
// game's own `exec autoexec.cfg` in the same buffer.
inline Outcome runStartUp(std::string_view q3config, std::string_view autoexec,
                          const std::set<std::string> &cataloguedLowerCase)
{
    const std::string inserted = asInserted(autoexec);
    return runBuffer(asInserted(q3config) + "exec autoexec.cfg\n", cataloguedLowerCase, &inserted);
}

} // namespace gamemodel
