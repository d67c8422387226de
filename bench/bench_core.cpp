// SPDX-License-Identifier: GPL-2.0-or-later
// Each command beside its baselines, in one binary, so that the figures to
// compare are measured in one run on one machine.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>
#include <filesystem>
#include <unordered_map>

#include "changedoptions.h"
#include "clicommands.h"
#include "enginefacts.h"
#include "exportconfig.h"
#include "fileio.h"
#include "fixtures.h"
#include "gamecommands.h"
#include "importconfig.h"
#include "literalwalk.h"
#include "loader.h"
#include "normalize.h"
#include "reset.h"
#include "runninggame.h"
#include "settingsstore.h"

using namespace cvarden;

namespace {

QTemporaryDir &workDir()
{
    static QTemporaryDir dir;
    return dir;
}

std::string workFile(const std::string &name, const std::string &bytes)
{
    const std::string path = workDir().filePath(QString::fromStdString(name)).toStdString();
    static_cast<void>(WriteWholeFile(path, bytes));
    return path;
}

std::string realCataloguePath()
{
    return CVARDEN_SAMPLE_DATA "/options.dat";
}

// A real game-written file when one is at hand, else a made one of that size,
// which the figures then say.
std::string realGameFile(std::string &label)
{
    const std::string shared = CVARDEN_SHARED_CONFIGS "/florianschendel__env__q3config.cfg";
    const std::string bytes = bench::fileBytes(shared);
    label = bytes.empty() ? "a made game file: the shared ones are absent" : "";
    return bytes.empty() ? bench::generatedGameFile(400, 300) : bytes;
}

Catalogue loaded(const std::string &path)
{
    Catalogue catalogue;
    static_cast<void>(OpenOptions(path, catalogue));
    return catalogue;
}

const std::string &generatedCataloguePath(std::size_t entries)
{
    static std::map<std::size_t, std::string> paths;
    std::string &path = paths[entries];
    if (path.empty())
        path = workFile("catalogue-" + std::to_string(entries) + ".dat", bench::generatedCatalogue(entries));
    return path;
}

// ---- Catalogue load, against reading the same bytes.

void catalogueLoad(benchmark::State &state, const std::string &path)
{
    for (auto _ : state) {
        Catalogue catalogue;
        benchmark::DoNotOptimize(OpenOptions(path, catalogue));
        benchmark::DoNotOptimize(catalogue.tree.count());
    }
}

void catalogueReadFloor(benchmark::State &state, const std::string &path)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(bench::fileBytes(path));
}

BENCHMARK_CAPTURE(catalogueLoad, real, realCataloguePath());
BENCHMARK_CAPTURE(catalogueReadFloor, real, realCataloguePath());
BENCHMARK_CAPTURE(catalogueLoad, generated_10000, generatedCataloguePath(10000));
BENCHMARK_CAPTURE(catalogueReadFloor, generated_10000, generatedCataloguePath(10000));

// ---- The engine facts beside the catalogue, loaded at every start: the
// budget is 1 ms on top of the catalogue load.

void engineFactsLoad(benchmark::State &state)
{
    const std::string path = EngineFactsBeside(realCataloguePath());
    for (auto _ : state) {
        EngineFacts facts;
        benchmark::DoNotOptimize(LoadEngineFacts(path, facts));
        benchmark::DoNotOptimize(facts.empty());
    }
}

void engineFactsReadFloor(benchmark::State &state)
{
    const std::string path = EngineFactsBeside(realCataloguePath());
    for (auto _ : state)
        benchmark::DoNotOptimize(bench::fileBytes(path));
}

BENCHMARK(engineFactsLoad)->Unit(benchmark::kMicrosecond);
BENCHMARK(engineFactsReadFloor)->Unit(benchmark::kMicrosecond);

// ---- Normalization of a 1 MiB game-written file, against copying it.

const std::string &mebibyteGameFile()
{
    static const std::string path = [] {
        std::string text = bench::generatedGameFile(40000, 1000);
        text.resize(1 << 20);
        return workFile("mebibyte.cfg", text);
    }();
    return path;
}

// What an import or a save does first: the file read, and its backup copy
// written.
Outcome normalizeFile(const std::string &path)
{
    std::string bytes;
    const Outcome read = ReadGameFile(path, bytes);
    return read.ok() ? WriteBackupCopy(path, bytes) : read;
}

void normalization(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(normalizeFile(mebibyteGameFile()));
}

void normalizationCopyFloor(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(WriteWholeFile(mebibyteGameFile() + "_", bench::fileBytes(mebibyteGameFile())));
}

BENCHMARK(normalization)->Unit(benchmark::kMillisecond);
BENCHMARK(normalizationCopyFloor)->Unit(benchmark::kMillisecond);

// ---- Import and export, against the literal walk and the copy floor.

struct Exchange {
    Catalogue catalogue;
    std::string chosen;
    std::string label; // what the figures are of, where the name does not say
};

Exchange realExchange()
{
    std::string label;
    const std::string bytes = realGameFile(label);
    return {loaded(realCataloguePath()), workFile("real-q3config.cfg", bytes), label};
}

Exchange largeExchange()
{
    return {loaded(generatedCataloguePath(1000)),
            workFile("large-q3config.cfg", bench::generatedGameFile(30000, 1000)),
            {}};
}

Exchange prepared(benchmark::State &state, Exchange (*exchange)())
{
    Exchange e = exchange();
    state.SetLabel(e.label);
    return e;
}

std::string freshStorePath(const char *name)
{
    const QString path = workDir().filePath(QString::fromLatin1(name));
    QFile::remove(path);
    return path.toStdString();
}

void import(benchmark::State &state, Exchange (*exchange)())
{
    Exchange e = prepared(state, exchange);
    SettingsStore store(QString::fromStdString(freshStorePath("import.conf")));
    for (auto _ : state)
        benchmark::DoNotOptimize(ImportConfig(e.chosen, e.catalogue.tree, store));
}

// The import with the values kept in memory: what the import costs without
// the settings store's own work.
class MemoryStore : public ValueStore {
public:
    std::string Get(const std::string &name, const std::string &fallback) const override
    {
        const auto found = values_.find(name);
        return found == values_.end() ? fallback : found->second;
    }
    Outcome Save(const std::string &name, const std::string &value) override
    {
        values_[name] = value;
        return {};
    }
    void beginBatch() override {}
    Outcome endBatch() override { return {}; }

private:
    std::unordered_map<std::string, std::string> values_;
};

void importIntoMemory(benchmark::State &state, Exchange (*exchange)())
{
    Exchange e = prepared(state, exchange);
    MemoryStore store;
    for (auto _ : state)
        benchmark::DoNotOptimize(ImportConfig(e.chosen, e.catalogue.tree, store));
}

void importLiteralWalk(benchmark::State &state, Exchange (*exchange)())
{
    Exchange e = prepared(state, exchange);
    SettingsStore store(QString::fromStdString(freshStorePath("walk.conf")));
    for (auto _ : state) {
        benchmark::DoNotOptimize(normalizeFile(e.chosen));
        bench::literalImport(BackupPathFor(e.chosen), e.catalogue.tree, store);
    }
}

void exportConfig(benchmark::State &state, Exchange (*exchange)())
{
    Exchange e = prepared(state, exchange);
    // As the programs run it: each temporary name noted, then dropped.
    SetLeftoverLedger(workDir().filePath(QStringLiteral("pending")).toStdString());
    SettingsStore store(QString::fromStdString(freshStorePath("export.conf")));
    for (auto _ : state)
        benchmark::DoNotOptimize(ExportConfig(e.chosen, e.catalogue.tree, store));
}

void exportLiteralWalk(benchmark::State &state, Exchange (*exchange)())
{
    Exchange e = prepared(state, exchange);
    SettingsStore store(QString::fromStdString(freshStorePath("export-walk.conf")));
    for (auto _ : state) {
        benchmark::DoNotOptimize(normalizeFile(e.chosen));
        bench::literalExport(BackupPathFor(e.chosen), e.chosen, e.catalogue.tree, store);
    }
}

// Read the chosen file, write the backup copy, read it, write the chosen file.
void exchangeCopyFloor(benchmark::State &state, Exchange (*exchange)())
{
    Exchange e = prepared(state, exchange);
    const std::string backup = BackupPathFor(e.chosen);
    for (auto _ : state) {
        benchmark::DoNotOptimize(WriteWholeFile(backup, bench::fileBytes(e.chosen)));
        benchmark::DoNotOptimize(WriteWholeFile(e.chosen, bench::fileBytes(backup)));
    }
}

// The copy floor with the steps that keep a save safe: the backup copy and
// the file each replaced in one step, the file also waiting for the disk.
// What an export costs beyond this is its own work.
void exchangeSafeCopyFloor(benchmark::State &state, Exchange (*exchange)())
{
    Exchange e = prepared(state, exchange);
    SetLeftoverLedger(workDir().filePath(QStringLiteral("pending")).toStdString());
    const std::string backup = BackupPathFor(e.chosen);
    for (auto _ : state) {
        const std::string bytes = bench::fileBytes(e.chosen);
        benchmark::DoNotOptimize(PlaceNewFile(backup, bytes, e.chosen, Durability::SurvivesProgramFaults));
        benchmark::DoNotOptimize(ReplaceWholeFile(e.chosen, bytes));
    }
}

// The parts of an export that no plan can skip: the game's reading of every
// command of the file, and the normalized text its backup copy holds.
void gameReading(benchmark::State &state, Exchange (*exchange)())
{
    Exchange e = prepared(state, exchange);
    const std::string text = bench::fileBytes(e.chosen);
    for (auto _ : state) {
        GameCommandReader reader(text);
        std::size_t commands = 0;
        for (GameCommand command; reader.next(command);)
            ++commands;
        benchmark::DoNotOptimize(commands);
    }
}

void backupText(benchmark::State &state, Exchange (*exchange)())
{
    Exchange e = prepared(state, exchange);
    const std::string text = bench::fileBytes(e.chosen);
    for (auto _ : state)
        benchmark::DoNotOptimize(NormalizeText(text));
}

BENCHMARK_CAPTURE(import, real, realExchange)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(importLiteralWalk, real, realExchange)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(exportConfig, real, realExchange)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(exportLiteralWalk, real, realExchange)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(exchangeCopyFloor, real, realExchange)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(import, options_1000_lines_30000, largeExchange)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(importIntoMemory, options_1000_lines_30000, largeExchange)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(importLiteralWalk, options_1000_lines_30000, largeExchange)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(exportConfig, options_1000_lines_30000, largeExchange)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(exportLiteralWalk, options_1000_lines_30000, largeExchange)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(exchangeCopyFloor, options_1000_lines_30000, largeExchange)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(exchangeSafeCopyFloor, options_1000_lines_30000, largeExchange)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(gameReading, options_1000_lines_30000, largeExchange)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(backupText, options_1000_lines_30000, largeExchange)->Unit(benchmark::kMillisecond);

// ---- The preview of a large file against its export, both as cvarden-cli
// runs them. The file's size in MiB comes from CVARDEN_BENCH_LARGE_MIB
// (4 by default, so that CI's brief run stays brief).

// Each command its own copy: an export leaves its file changed.
std::string largeGameFile(const std::string &name)
{
    static const std::string text = [] {
        const char *mib = std::getenv("CVARDEN_BENCH_LARGE_MIB");
        const std::size_t bytes = (mib ? std::stoul(mib) : 4) << 20;
        const std::string sample = bench::generatedGameFile(30000, 1000);
        std::string made;
        made.reserve(bytes + sample.size());
        while (made.size() < bytes)
            made += sample;
        return made;
    }();
    return workFile(name, text);
}

void largeFileExport(benchmark::State &state, bool dryRun)
{
    const std::string catalogue = generatedCataloguePath(1000);
    SettingsStore store(QString::fromStdString(freshStorePath(dryRun ? "preview.conf" : "large-export.conf")));
    std::FILE *nowhere = std::fopen("/dev/null", "w");
    const std::string file = largeGameFile(dryRun ? "large-preview.cfg" : "large-export.cfg");
    std::vector<std::string> arguments{file};
    if (dryRun)
        arguments.insert(arguments.begin(), "--dry-run");
    const CliContext context{catalogue, arguments, store, {}, nowhere, nowhere, {}};
    for (auto _ : state)
        benchmark::DoNotOptimize(RunCliCommand("export", context));
    std::fclose(nowhere);
    state.SetLabel(std::to_string(std::filesystem::file_size(file) >> 20) + " MiB");
}

BENCHMARK_CAPTURE(largeFileExport, export, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(largeFileExport, preview, true)->Unit(benchmark::kMillisecond);

// ---- Reset of 1,000 options, against one durable write per value.

void reset(benchmark::State &state)
{
    const Catalogue catalogue = loaded(generatedCataloguePath(1000));
    SettingsStore store(QString::fromStdString(freshStorePath("reset.conf")));
    for (auto _ : state)
        benchmark::DoNotOptimize(ResetToDefaults(catalogue.tree, store));
}

void resetDurableWriteEach(benchmark::State &state)
{
    const Catalogue catalogue = loaded(generatedCataloguePath(1000));
    SettingsStore store(QString::fromStdString(freshStorePath("reset-each.conf")));
    for (auto _ : state) {
        for (const OptionNode &option : catalogue.options())
            static_cast<void>(store.Save(option.text, option.defaultValue()));
    }
}

BENCHMARK(reset)->Unit(benchmark::kMillisecond);
BENCHMARK(resetDurableWriteEach)->Unit(benchmark::kMillisecond);

// ---- The window's bold marks, read again at every edit, against reading
// every option's value alone.

void changedMarks(benchmark::State &state)
{
    const Catalogue catalogue = loaded(realCataloguePath());
    SettingsStore store(QString::fromStdString(freshStorePath("marks.conf")));
    static_cast<void>(ResetToDefaults(catalogue.tree, store));
    static_cast<void>(store.Save(catalogue.tree.item(catalogue.tree.count()).text, "changed"));
    for (auto _ : state)
        benchmark::DoNotOptimize(ChangedNodes(catalogue.tree, store));
}

void storeReadFloor(benchmark::State &state)
{
    const Catalogue catalogue = loaded(realCataloguePath());
    SettingsStore store(QString::fromStdString(freshStorePath("read.conf")));
    static_cast<void>(ResetToDefaults(catalogue.tree, store));
    for (auto _ : state) {
        for (std::size_t i = 1; i <= catalogue.tree.count(); ++i)
            benchmark::DoNotOptimize(store.Get(catalogue.tree.item(i).text, {}));
    }
}

BENCHMARK(changedMarks)->Unit(benchmark::kMicrosecond);
BENCHMARK(storeReadFloor)->Unit(benchmark::kMicrosecond);

// ---- The look at the process list before every save.

void runningEngines(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(RunningEnginesForMe());
}

BENCHMARK(runningEngines)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
