// SPDX-License-Identifier: GPL-2.0-or-later
#include "runninggame.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>

#if defined(_WIN32)
#include <windows.h>

// Needs the types of windows.h.
#include <tlhelp32.h>
#else
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace cvarden {
namespace {

// The program names the engines ship with: ioquake3 and Debian's build of
// it, the 1.32 release, Quake3e and OpenArena, each with its dedicated server.
constexpr std::array<std::string_view, 7> engineNames{"ioquake3", "ioq3ded",   "quake3", "q3ded",
                                                      "quake3e",  "openarena", "oa_ded"};
// What a build adds to its program's name: its architecture, or Quake3e's
// server and renderer. Only one, so "quake3e.x64.x64" is no engine.
constexpr std::array<std::string_view, 6> buildSuffixes{".x86", ".x86_64",  ".aarch64",
                                                        ".x64", ".ded.x64", "-vulkan.x64"};
constexpr std::string_view windowsSuffix = ".exe";

bool EqualFolded(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

bool EndsWithFolded(std::string_view text, std::string_view end)
{
    return text.size() >= end.size() && EqualFolded(text.substr(text.size() - end.size()), end);
}

// Whether `name`, with its Windows ".exe" already taken off, is an engine's
// name with at most one build suffix.
bool IsEngineName(std::string_view name)
{
    const auto isEngine = [](std::string_view base) {
        return std::any_of(engineNames.begin(), engineNames.end(),
                           [base](std::string_view engine) { return EqualFolded(base, engine); });
    };
    if (isEngine(name))
        return true;
    return std::any_of(buildSuffixes.begin(), buildSuffixes.end(), [&](std::string_view suffix) {
        return EndsWithFolded(name, suffix) && isEngine(name.substr(0, name.size() - suffix.size()));
    });
}

void NoteIfEngine(std::vector<std::string> &found, const std::string &fileName)
{
    if (IsEngineProgram(fileName) && std::find(found.begin(), found.end(), fileName) == found.end())
        found.push_back(fileName);
}

#if !defined(_WIN32)
// The last part of a path, whichever separator it uses: a program run under
// Wine gives a Windows path as its first argument.
std::string FileNameOf(std::string_view path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

bool IsProcessId(const char *name)
{
    return *name != '\0' &&
           std::all_of(name, name + std::char_traits<char>::length(name), [](char c) { return c >= '0' && c <= '9'; });
}

bool IsWineLoader(std::string_view fileName)
{
    return fileName == "wine" || fileName == "wine64" || fileName == "wine-preloader" || fileName == "wine64-preloader";
}

// The words of a process's command line; none when it cannot be read.
std::vector<std::string> CommandLineOf(const std::string &process)
{
    std::vector<std::string> words;
    std::ifstream commandLine(process + "/cmdline", std::ios::binary);
    for (std::string word; words.size() < 2 && std::getline(commandLine, word, '\0');)
        words.push_back(word);
    return words;
}

// The program a process runs: its executable file; for a program run under
// Wine or Proton, whose file is Wine's loader, the Windows program its
// command line names (first, or after "wine"). A process whose file cannot
// be read goes by the first word of its command line.
std::string ProgramNameOf(const std::string &process)
{
    const std::vector<std::string> words = CommandLineOf(process);
    std::array<char, 4096> target{};
    const ssize_t length = readlink((process + "/exe").c_str(), target.data(), target.size());
    if (length <= 0)
        return words.empty() ? std::string() : FileNameOf(words[0]);
    std::string_view path(target.data(), static_cast<std::size_t>(length));
    // A program file replaced while it runs is still the same program.
    constexpr std::string_view deleted = " (deleted)";
    if (path.size() > deleted.size() && path.substr(path.size() - deleted.size()) == deleted)
        path.remove_suffix(deleted.size());
    const std::string program = FileNameOf(path);
    if (!IsWineLoader(program))
        return program;
    for (const std::string &word : words) {
        const std::string named = FileNameOf(word);
        if (EndsWithFolded(named, windowsSuffix))
            return named;
    }
    return program;
}
#endif

} // namespace

bool IsEngineProgram(std::string_view fileName)
{
    if (EndsWithFolded(fileName, windowsSuffix))
        fileName.remove_suffix(windowsSuffix.size());
    return IsEngineName(fileName);
}

#if !defined(_WIN32)
std::vector<std::string> RunningEngines(const std::string &procRoot, unsigned uid)
{
    std::vector<std::string> found;
    DIR *list = opendir(procRoot.c_str());
    if (!list)
        return found;
    while (const dirent *entry = readdir(list)) {
        if (!IsProcessId(entry->d_name))
            continue;
        const std::string process = procRoot + "/" + entry->d_name;
        // A process's folder belongs to the user it runs for. One that ended
        // meanwhile is simply gone.
        struct stat info {};
        if (stat(process.c_str(), &info) != 0 || info.st_uid != uid)
            continue;
        NoteIfEngine(found, ProgramNameOf(process));
    }
    closedir(list);
    return found;
}
#endif

#if defined(_WIN32)
std::vector<std::string> RunningEnginesForMe()
{
    std::vector<std::string> found;
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return found;
    // The processes of this log-on session stand for this user's.
    DWORD mySession = 0;
    ProcessIdToSessionId(GetCurrentProcessId(), &mySession);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        DWORD session = 0;
        if (!ProcessIdToSessionId(entry.th32ProcessID, &session) || session != mySession)
            continue;
        // The engines' names are ASCII; other characters only need to differ.
        std::string name;
        for (const wchar_t *c = entry.szExeFile; *c; ++c)
            name += *c < 128 ? static_cast<char>(*c) : '?';
        NoteIfEngine(found, name);
    }
    CloseHandle(snapshot);
    return found;
}
#elif defined(__linux__)
std::vector<std::string> RunningEnginesForMe()
{
    return RunningEngines("/proc", getuid());
}
#else
std::vector<std::string> RunningEnginesForMe()
{
    return {};
}
#endif

} // namespace cvarden
