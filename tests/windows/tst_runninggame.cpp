// SPDX-License-Identifier: GPL-2.0-or-later
// The running-game guard's Windows path: the system's process snapshot.
#include <windows.h>

#include <algorithm>

#include "places.h"
#include "runninggame.h"
#include "winkit.h"

namespace {

// A stand-in engine started under `fileName`, ended with the object.
class StandIn {
public:
    explicit StandIn(const std::string &path)
    {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        std::wstring commandLine = L"\"" + winkit::Wide(path) + L"\"";
        started_ = CreateProcessW(winkit::Wide(path).c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                  nullptr, &startup, &process_);
    }
    ~StandIn()
    {
        if (!started_)
            return;
        TerminateProcess(process_.hProcess, 0);
        WaitForSingleObject(process_.hProcess, 10000);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    bool started() const { return started_; }

private:
    PROCESS_INFORMATION process_{};
    bool started_ = false;
};

bool running(const std::string &fileName)
{
    const std::vector<std::string> engines = cvarden::RunningEnginesForMe();
    return std::find(engines.begin(), engines.end(), fileName) != engines.end();
}

} // namespace

void RunningGameRows(Table &table, const Places &places)
{
    struct Case {
        const char *fileName;
        bool engine;
    };
    const Case cases[] = {
        {"quake3.exe", true},          // the 1.32 release
        {"ioquake3.x86_64.exe", true}, // ioquake3's Windows build
        {"quake3e.x64.exe", true},     // Quake3e's
        {"quake3edit.exe", false},     // another program whose name starts alike
    };
    const std::string folder = places.root + "\\" + places.names.front() + " engines";
    winkit::MakeFolder(folder);
    for (const Case &test : cases) {
        table.row(std::string(test.engine ? "a running " : "a program named ") + test.fileName +
                      (test.engine ? " is seen by the process snapshot" : " is not taken for the game"),
                  [&](auto &check) {
                      const std::string path = folder + "\\" + test.fileName;
                      check.that(CopyFileW(winkit::Wide(winkit::ProgramFolder() + "\\standin-engine.exe").c_str(),
                                           winkit::Wide(path).c_str(), FALSE),
                                 "the stand-in is copied");
                      check.that(!running(test.fileName), "not seen before it starts");
                      {
                          const StandIn standIn(path);
                          check.that(standIn.started(), "the stand-in starts");
                          check.that(running(test.fileName) == test.engine,
                                     test.engine ? "seen while it runs" : "not seen while it runs");
                      }
                      check.that(!running(test.fileName), "not seen once it has ended");
                  });
    }
}
