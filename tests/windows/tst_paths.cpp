// SPDX-License-Identifier: GPL-2.0-or-later
// Import, export, the backup copy, the versions and restore in folders and
// files whose names are not ASCII.
#include <algorithm>

#include "exportconfig.h"
#include "fileio.h"
#include "importconfig.h"
#include "loader.h"
#include "memorystore.h"
#include "normalize.h"
#include "places.h"
#include "versions.h"
#include "winkit.h"

const char *const sampleGameFile = "seta sensitivity \"5\"\nseta name \"J\xC3\xB6rg\"\n";
const char *const changedOption = "Mouse sensitivity";

namespace {

bool holds(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

// A catalogue copied into `folder`, with the choice list it names.
bool copyCatalogue(const std::string &folder)
{
    for (const char *name : {"options.dat", "models.txt"}) {
        bool found = false;
        const std::string bytes = winkit::ReadFile(std::string(CVARDEN_SAMPLE_DATA) + "/" + name, &found);
        if (!found || !winkit::WriteFile(folder + "\\" + name, bytes))
            return false;
    }
    return true;
}

void rowsIn(Table &table, const Places &places, const std::string &name)
{
    const std::string folder = places.root + "\\" + name;
    const std::string gameFile = folder + "\\" + name + ".cfg";
    const std::string versions = folder + "\\Cvarden\\versions";
    winkit::MakeFolder(folder);
    winkit::WriteFile(gameFile, sampleGameFile);
    MemoryStore store;

    table.row("the catalogue is read from a folder named \"" + name + "\", its choice list too", [&](auto &check) {
        const std::string catalogueFolder = folder + "\\catalogue";
        check.that(winkit::MakeFolder(catalogueFolder) && copyCatalogue(catalogueFolder), "the catalogue is copied");
        cvarden::Catalogue catalogue;
        const cvarden::Outcome opened = cvarden::OpenOptions(catalogueFolder + "\\options.dat", catalogue);
        check.that(opened.ok(), "read: " + opened.message());
        check.that(catalogue.tree.count() == places.catalogue.tree.count(), "as many nodes as the sample's");
        check.that(catalogue.findings.size() == places.catalogue.findings.size(),
                   "no more findings than the sample's (a choice list not read is one)");
    });
    table.row("import from \"" + name + "\" takes the value and writes the backup copy beside it", [&](auto &check) {
        const cvarden::ImportReport report = cvarden::ImportConfig(gameFile, places.catalogue.tree, store);
        check.that(report.outcome.ok(), "imported: " + report.outcome.message());
        check.that(store.Get(changedOption, "") == "5", "the value taken over");
        check.that(holds(winkit::ReadFile(gameFile + "_"), "seta sensitivity \"5\"\n\r\n"),
                   "the backup copy holds the normalized text");
    });
    table.row("export into \"" + name + "\" writes the value, the backup copy and a version", [&](auto &check) {
        cvarden::OptionTree tree = places.catalogue.tree;
        store.values[changedOption] = "7";
        const cvarden::SavePlan plan = cvarden::ExportConfig(gameFile, tree, store, versions);
        check.that(plan.outcome.ok(), "exported: " + plan.outcome.message());
        check.that(holds(winkit::ReadFile(gameFile), "seta sensitivity \"7\""), "the file holds the new value");
        check.that(holds(winkit::ReadFile(gameFile + "_"), "seta sensitivity \"5\""), "the backup holds the old one");
        std::vector<cvarden::KeptVersion> kept;
        check.that(cvarden::ListVersions(versions, gameFile, kept).ok() && kept.size() == 1, "one version kept");
        const std::vector<std::string> folders = winkit::NamesIn(versions);
        check.that(folders.size() == 1 && folders[0].rfind(name + ".cfg-", 0) == 0,
                   "the versions' folder is named after the file");
    });
    table.row("restore in \"" + name + "\" puts the earlier content back", [&](auto &check) {
        const cvarden::RestoreReport report = cvarden::RestoreVersion(versions, gameFile, 0);
        check.that(report.outcome.ok(), "restored: " + report.outcome.message());
        check.that(winkit::ReadFile(gameFile) == sampleGameFile, "the file holds what it held first");
        std::vector<cvarden::KeptVersion> kept;
        check.that(cvarden::ListVersions(versions, gameFile, kept).ok() && kept.size() == 2,
                   "the replaced content is kept as a second version");
    });
    table.row("nothing but the game file, its backup copy and Cvarden's folders is left in \"" + name + "\"",
              [&](auto &check) {
                  std::vector<std::string> names = winkit::NamesIn(folder);
                  std::sort(names.begin(), names.end());
                  std::vector<std::string> expected{"Cvarden", "catalogue", name + ".cfg", name + ".cfg_"};
                  std::sort(expected.begin(), expected.end());
                  check.that(names == expected, std::to_string(names.size()) + " names in the folder");
              });
}

} // namespace

void CommandLineRows(Table &table, const Places &places)
{
    table.row("the names on the command line arrive whole, letter for letter", [&](auto &check) {
        const std::vector<std::string> expected{"g\xC3\xA4me dir", "\xD0\x98\xD0\xB3\xD1\x80\xD0\xBE\xD0\xBA",
                                                "\xE3\x82\xB2\xE3\x83\xBC\xE3\x83\xA0", "my game"};
        check.that(places.names == expected, "the four names of scripts/test-windows.sh");
    });
}

void PathRows(Table &table, const Places &places)
{
    for (const std::string &name : places.names)
        rowsIn(table, places, name);
}
