// SPDX-License-Identifier: GPL-2.0-or-later
// Windows' own rules for the game file: attributes, the read-only attribute,
// a file another program holds open.
#include <windows.h>

#include "exportconfig.h"
#include "importconfig.h"
#include "memorystore.h"
#include "places.h"
#include "versions.h"
#include "winkit.h"

namespace {

// Another program's hold on a file, for as long as it lives: `sharing` is
// what that program lets others do meanwhile.
class HeldOpen {
public:
    HeldOpen(const std::string &path, DWORD sharing)
        : handle_(CreateFileW(winkit::Wide(path).c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING, 0, nullptr))
    {
    }
    ~HeldOpen() { CloseHandle(handle_); }
    bool held() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

struct Fixture {
    std::string folder, gameFile, versions;
};

Fixture freshFolder(const Places &places, const std::string &name)
{
    Fixture fixture{places.root + "\\rules " + name, "", ""};
    fixture.gameFile = fixture.folder + "\\q3config.cfg";
    fixture.versions = fixture.folder + "\\versions";
    winkit::RemoveAll(fixture.folder);
    winkit::MakeFolder(fixture.folder);
    winkit::WriteFile(fixture.gameFile, sampleGameFile);
    return fixture;
}

cvarden::Outcome save(const Places &places, const Fixture &fixture, const std::string &value)
{
    MemoryStore store;
    store.values[changedOption] = value;
    cvarden::OptionTree tree = places.catalogue.tree;
    return cvarden::ExportConfig(fixture.gameFile, tree, store, fixture.versions).outcome;
}

bool mentions(const cvarden::Outcome &outcome, const std::string &part)
{
    return outcome.message().find(part) != std::string::npos;
}

} // namespace

void FileRuleRows(Table &table, const Places &places)
{
    const std::string name = places.names.front();

    table.row("a save replaces the file in one step and keeps its attributes (hidden, archive)", [&](auto &check) {
        const Fixture fixture = freshFolder(places, name);
        const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE;
        check.that(winkit::SetAttributes(fixture.gameFile, kept), "the file is made hidden");
        const cvarden::Outcome saved = save(places, fixture, "8");
        check.that(saved.ok(), "saved: " + saved.message());
        check.that(winkit::ReadFile(fixture.gameFile).find("seta sensitivity \"8\"") != std::string::npos,
                   "the new value is in the file");
        check.that((winkit::AttributesOf(fixture.gameFile) & kept) == kept, "the file is still hidden");
        check.that(!winkit::HoldsTemporaryFile(fixture.folder), "no temporary file is left");
    });

    table.row("a file with the read-only attribute is refused by save and restore, and left as it was",
              [&](auto &check) {
                  const Fixture fixture = freshFolder(places, name);
                  check.that(save(places, fixture, "8").ok(), "saved once, which keeps a version");
                  DeleteFileW(winkit::Wide(fixture.gameFile + "_").c_str());
                  check.that(winkit::SetAttributes(fixture.gameFile, FILE_ATTRIBUTE_READONLY), "made read-only");
                  const std::string before = winkit::ReadFile(fixture.gameFile);
                  const cvarden::Outcome saved = save(places, fixture, "9");
                  check.that(saved.failure() == cvarden::Failure::ReadOnly, "save refused: " + saved.message());
                  const cvarden::RestoreReport restored =
                      cvarden::RestoreVersion(fixture.versions, fixture.gameFile, 0);
                  check.that(restored.outcome.failure() == cvarden::Failure::ReadOnly,
                             "restore refused: " + restored.outcome.message());
                  check.that(winkit::ReadFile(fixture.gameFile) == before, "the file is unchanged");
                  check.that(!winkit::Exists(fixture.gameFile + "_"), "no backup copy is written for a refused save");
                  check.that(!winkit::HoldsTemporaryFile(fixture.folder), "no temporary file is left");
                  winkit::SetAttributes(fixture.gameFile, FILE_ATTRIBUTE_NORMAL);
              });

    table.row("a file another program holds open, letting others only read, is reported and left as it was",
              [&](auto &check) {
                  const Fixture fixture = freshFolder(places, name);
                  cvarden::Outcome saved;
                  {
                      const HeldOpen other(fixture.gameFile, FILE_SHARE_READ);
                      check.that(other.held(), "the other program holds it");
                      saved = save(places, fixture, "8");
                  }
                  check.that(saved.failed(), "the save is not reported as done");
                  check.that(saved.failure() == cvarden::Failure::InUse, "failed as in use: " + saved.message());
                  check.that(mentions(saved, "another program"), "the message says another program holds it");
                  check.that(winkit::ReadFile(fixture.gameFile) == sampleGameFile, "the file is unchanged");
                  check.that(!winkit::Exists(fixture.gameFile + "_"), "no backup copy is written");
                  check.that(!winkit::HoldsTemporaryFile(fixture.folder), "no temporary file is left");
              });

    table.row("a file another program holds open for itself alone is reported by import", [&](auto &check) {
        const Fixture fixture = freshFolder(places, name);
        MemoryStore store;
        cvarden::ImportReport report;
        {
            const HeldOpen other(fixture.gameFile, 0);
            check.that(other.held(), "the other program holds it");
            report = cvarden::ImportConfig(fixture.gameFile, places.catalogue.tree, store);
        }
        check.that(report.outcome.failure() == cvarden::Failure::InUse,
                   "failed as in use: " + report.outcome.message());
        check.that(mentions(report.outcome, "another program"), "the message says another program holds it");
        check.that(store.values.empty(), "nothing is taken over");
    });

    table.row("a backup copy another program holds open fails the save before the file is touched", [&](auto &check) {
        const Fixture fixture = freshFolder(places, name);
        winkit::WriteFile(fixture.gameFile + "_", "old backup\r\n");
        cvarden::Outcome saved;
        {
            const HeldOpen other(fixture.gameFile + "_", FILE_SHARE_READ);
            check.that(other.held(), "the other program holds the backup copy");
            saved = save(places, fixture, "8");
        }
        check.that(saved.failure() == cvarden::Failure::InUse, "failed as in use: " + saved.message());
        check.that(winkit::ReadFile(fixture.gameFile) == sampleGameFile, "the game file is unchanged");
        check.that(winkit::ReadFile(fixture.gameFile + "_") == "old backup\r\n", "the backup copy is unchanged");
        check.that(!winkit::HoldsTemporaryFile(fixture.folder), "no temporary file is left");
    });
}
