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

// Runs the file's text as the game does when it executes the file.
inline Outcome run(std::string_view fileText, const std::set<std::string> &cataloguedLowerCase)
{
    constexpr int maxCommandLine = 1024;
    std::string buffer(fileText.substr(0, fileText.find('\0'))); // read as a C string
    buffer.push_back('\n');                                      // Cbuf_InsertText adds it
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
    }
    return outcome;
}

// The game's start-up (ioquake3 common.c, Com_ExecuteCfg): q3config.cfg,
// then autoexec.cfg, each run to its end on its own, so that a comment one
// leaves open does not reach into the other.
inline Outcome runStartUp(std::string_view q3config, std::string_view autoexec,
                          const std::set<std::string> &cataloguedLowerCase)
{
    Outcome outcome = run(q3config, cataloguedLowerCase);
    Outcome later = run(autoexec, cataloguedLowerCase);
    for (auto &[variable, value] : later.catalogued)
        outcome.catalogued[variable] = std::move(value);
    outcome.others.insert(outcome.others.end(), later.others.begin(), later.others.end());
    outcome.cut = outcome.cut || later.cut;
    return outcome;
}

} // namespace gamemodel
