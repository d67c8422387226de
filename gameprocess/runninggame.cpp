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

// The program names the engines ship with, on Linux and Windows. A name
// covers every longer one it starts: "quake3e" also stands for quake3e.x64,
// quake3e.ded.x64 and quake3e.x64.exe, "ioquake3.x86_64" for its .exe.
constexpr std::array<std::string_view, 9> engineNames{"ioquake3.x86_64",  "ioq3ded.x86_64", "quake3e",
                                                      "quake3.x86",       "quake3.exe",     "q3ded",
                                                      "openarena.x86_64", "openarena.exe",  "oa_ded.x86_64"};

bool StartsWithFolded(std::string_view text, std::string_view start)
{
    return text.size() >= start.size() &&
           std::equal(start.begin(), start.end(), text.begin(),
                      [](unsigned char a, unsigned char b) { return std::tolower(a) == std::tolower(b); });
}

// The last part of a path, whichever separator it uses: a program run under
// Wine gives a Windows path as its first argument.
std::string FileNameOf(std::string_view path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

void NoteIfEngine(std::vector<std::string> &found, const std::string &fileName)
{
    if (IsEngineProgram(fileName) && std::find(found.begin(), found.end(), fileName) == found.end())
        found.push_back(fileName);
}

#if !defined(_WIN32)
bool IsProcessId(const char *name)
{
    return *name != '\0' &&
           std::all_of(name, name + std::char_traits<char>::length(name), [](char c) { return c >= '0' && c <= '9'; });
}

// The program a process runs: its executable file and, for a program started
// through another (Wine, a loader), the first word of its command line.
std::vector<std::string> ProgramNamesOf(const std::string &process)
{
    std::vector<std::string> names;
    std::array<char, 4096> target{};
    const ssize_t length = readlink((process + "/exe").c_str(), target.data(), target.size());
    if (length > 0) {
        std::string_view path(target.data(), static_cast<std::size_t>(length));
        // A program file replaced while it runs is still the same program.
        constexpr std::string_view deleted = " (deleted)";
        if (path.size() > deleted.size() && path.substr(path.size() - deleted.size()) == deleted)
            path.remove_suffix(deleted.size());
        names.push_back(FileNameOf(path));
    }
    std::ifstream commandLine(process + "/cmdline", std::ios::binary);
    std::string first;
    if (std::getline(commandLine, first, '\0') && !first.empty())
        names.push_back(FileNameOf(first));
    return names;
}
#endif

} // namespace

bool IsEngineProgram(std::string_view fileName)
{
    return std::any_of(engineNames.begin(), engineNames.end(),
                       [fileName](std::string_view name) { return StartsWithFolded(fileName, name); });
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
        for (const std::string &name : ProgramNamesOf(process))
            NoteIfEngine(found, name);
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
