// SPDX-License-Identifier: GPL-2.0-or-later
#include "versions.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <limits>
#include <memory>
#include <system_error>

#include "fileio.h"
#include "fileproblems.h"
#include "nativepath.h"

namespace cvarden {
namespace fs = std::filesystem;
namespace {

// Paths as the messages of every layer show them.
std::string inQuotes(const fs::path &path)
{
    return fileproblems::inQuotes(CorePath(path));
}

// The file's name, cut short for a folder's name. On Windows the cut never
// splits a letter of its UTF-8, which would make the name no name at all;
// elsewhere it stays where it always was, so that versions kept before are
// found.
std::string shortName(const std::string &name)
{
    constexpr std::size_t longest = 64;
    std::size_t cut = std::min(name.size(), longest);
#if defined(_WIN32)
    while (cut > 0 && cut < name.size() && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
        --cut;
#endif
    return name.substr(0, cut);
}

// A name no two game files share, which still tells a person browsing the
// folder whose versions these are: the file's name, and a hash of its whole
// path that is the same on every platform and build (FNV-1a).
std::string folderNameFor(const fs::path &gameFile)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (const unsigned char c : CorePath(gameFile)) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return shortName(CorePath(gameFile.filename())) + "-" + hex;
}

// Every way of naming one game file (through a link, by a relative path)
// leads to the same folder.
fs::path folderFor(const std::string &versionsFolder, const std::string &gameFile)
{
    std::error_code error;
    const fs::path absolute = fs::absolute(NativePath(gameFile), error).lexically_normal();
    fs::path whole = fs::weakly_canonical(absolute, error);
    if (error)
        whole = absolute;
    return NativePath(versionsFolder) / NativePath(folderNameFor(whole));
}

std::string fileNameOf(const KeptVersion &version)
{
    return std::to_string(version.number) + "-" + std::to_string(version.keptAt) + ".cfg";
}

// The digits of a whole number as Cvarden writes it: no sign, no blank, no
// leading zero, and not past `largest`. Anything else is no number at all.
bool readDigits(const std::string &text, unsigned long long largest, unsigned long long &value)
{
    if (text.empty() || (text[0] == '0' && text.size() > 1))
        return false;
    value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
        const unsigned digit = static_cast<unsigned>(c - '0');
        if (value > (largest - digit) / 10)
            return false;
        value = value * 10 + digit;
    }
    return true;
}

// Only a name exactly as fileNameOf writes it counts as a version: a stray
// file such as "-1-5.cfg" or "041-5.cfg" is no version, so it is never
// listed, restored, taken for the newest, or trimmed. The number stays below
// the largest one, so that the next version's number is always larger.
bool readName(const std::string &name, KeptVersion &version)
{
    const std::string suffix = ".cfg";
    const std::size_t dash = name.find('-');
    if (dash == std::string::npos || name.size() < dash + 1 + suffix.size() ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
        return false;
    unsigned long long number = 0, keptAt = 0;
    if (!readDigits(name.substr(0, dash), std::numeric_limits<unsigned long>::max() - 1, number) || number == 0 ||
        !readDigits(name.substr(dash + 1, name.size() - suffix.size() - dash - 1),
                    static_cast<unsigned long long>(std::numeric_limits<std::int64_t>::max()), keptAt))
        return false;
    version.number = static_cast<unsigned long>(number);
    version.keptAt = static_cast<std::int64_t>(keptAt);
    return true;
}

// Versions are Cvarden's own plain files: a link planted among them is
// refused, never followed.
bool isPlainFile(const fs::path &path)
{
    std::error_code error;
    return fs::symlink_status(path, error).type() == fs::file_type::regular && !error;
}

Outcome listIn(const fs::path &folder, std::vector<KeptVersion> &versions)
{
    versions.clear();
    std::error_code error;
    if (!fs::exists(folder, error) && !error)
        return {};
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
        KeptVersion version;
        std::error_code sizeError;
        if (readName(CorePath(entry->path().filename()), version) && isPlainFile(entry->path())) {
            version.size = entry->file_size(sizeError);
            if (!sizeError)
                versions.push_back(version);
        }
    }
    if (error)
        return {Failure::CannotRead,
                "Cannot read the versions kept in " + inQuotes(folder) + ": " + error.message() + "."};
    std::sort(versions.begin(), versions.end(),
              [](const KeptVersion &a, const KeptVersion &b) { return a.number < b.number; });
    return {};
}

struct FileCloser {
    void operator()(std::FILE *file) const { std::fclose(file); }
};

// Compared piece by piece: a game file may be many megabytes.
bool holdsExactly(const fs::path &path, const KeptVersion &version, const std::string &bytes)
{
    if (version.size != bytes.size())
        return false;
    std::unique_ptr<std::FILE, FileCloser> file(OpenFile(CorePath(path), "rb"));
    if (!file)
        return false;
    char buffer[1 << 16];
    std::size_t at = 0;
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0; at += got) {
        if (at + got > bytes.size() || bytes.compare(at, got, buffer, got) != 0)
            return false;
    }
    return at == bytes.size() && !std::ferror(file.get());
}

} // namespace

Outcome KeepVersion(const std::string &versionsFolder, const std::string &gameFile, const std::string &bytes,
                    unsigned long *keptAs)
{
    const fs::path folder = folderFor(versionsFolder, gameFile);
    const std::string failed =
        "Cannot keep what " + inQuotes(gameFile) + " holds as a version to go back to, so it " + "was left unchanged: ";
    std::vector<KeptVersion> versions;
    if (Outcome listed = listIn(folder, versions); listed.failed())
        return listed.within(failed);
    if (!versions.empty() && holdsExactly(folder / fileNameOf(versions.back()), versions.back(), bytes)) {
        if (keptAs)
            *keptAs = versions.back().number;
        return {};
    }
    std::error_code error;
    fs::create_directories(folder, error);
    // Game files may hold passwords (rconpassword): their versions are for
    // the player's eyes alone.
    if (!error)
        fs::permissions(folder, fs::perms::owner_all, error);
    if (error)
        return {Failure::CannotWrite,
                failed + "the folder " + inQuotes(folder) + " cannot be made: " + error.message() + "."};
    const KeptVersion next{versions.empty() ? 1 : versions.back().number + 1,
                           static_cast<std::int64_t>(std::time(nullptr)), bytes.size()};
    if (Outcome placed = PlaceNewFile(CorePath(folder / fileNameOf(next)), bytes, {}, Durability::SurvivesPowerLoss);
        placed.failed())
        return placed.within(failed);
    versions.push_back(next);
    // A version that cannot be removed merely stays.
    for (std::size_t i = 0; i + versionsKept < versions.size(); ++i)
        fs::remove(folder / fileNameOf(versions[i]), error);
    if (keptAs)
        *keptAs = next.number;
    return {};
}

Outcome ListVersions(const std::string &versionsFolder, const std::string &gameFile, std::vector<KeptVersion> &versions)
{
    return listIn(folderFor(versionsFolder, gameFile), versions);
}

RestoreReport RestoreVersion(const std::string &versionsFolder, const std::string &gameFile, unsigned long number)
{
    RestoreReport report;
    const fs::path folder = folderFor(versionsFolder, gameFile);
    std::vector<KeptVersion> versions;
    report.outcome = listIn(folder, versions);
    if (report.outcome.failed())
        return report;
    const auto chosen = number == 0 && !versions.empty()
                            ? versions.end() - 1
                            : std::find_if(versions.begin(), versions.end(),
                                           [number](const KeptVersion &version) { return version.number == number; });
    if (chosen == versions.end()) {
        report.outcome = {Failure::NoSuchVersion,
                          (number == 0 ? std::string("No version") : "No version " + std::to_string(number)) + " of " +
                              inQuotes(gameFile) + " is kept."};
        return report;
    }
    const fs::path chosenPath = folder / fileNameOf(*chosen);
    std::string wanted, current;
    if (!isPlainFile(chosenPath))
        report.outcome = {Failure::Unsafe, "Cannot restore " + inQuotes(gameFile) + ": " + inQuotes(chosenPath) +
                                               " is not a plain file, so it was not read."};
    if (report.outcome.ok())
        report.outcome = ReadWholeFile(CorePath(chosenPath), wanted);
    std::error_code error;
    // A game file the player deleted is made anew, as the game makes it.
    const bool gone = fs::symlink_status(NativePath(gameFile), error).type() == fs::file_type::not_found;
    if (report.outcome.ok() && gone) {
        report.outcome = PlaceNewFile(gameFile, wanted, {}, Durability::SurvivesPowerLoss);
        if (report.outcome.ok())
            fs::permissions(
                NativePath(gameFile),
                fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read, error);
        if (report.outcome.ok())
            report.restored = chosen->number;
        return report;
    }
    if (report.outcome.ok())
        report.outcome = ReadWholeFile(gameFile, current);
    if (report.outcome.ok())
        report.outcome = RefuseToReplace(gameFile);
    if (report.outcome.ok() && !current.empty())
        report.outcome = KeepVersion(versionsFolder, gameFile, current, &report.replacedKeptAs);
    if (report.outcome.ok())
        report.outcome = ReplaceWholeFile(gameFile, wanted);
    if (report.outcome.ok())
        report.restored = chosen->number;
    return report;
}

} // namespace cvarden
