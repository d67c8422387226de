// SPDX-License-Identifier: GPL-2.0-or-later
#include "fileio.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <random>
#include <system_error>
#include <utility>

#include "fileproblems.h"
#include "filesteps.h"
#include "nativepath.h"

#ifndef _WIN32
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include "wincalls.h"
#endif

namespace cvarden {
namespace {

using fileproblems::inQuotes;
using fileproblems::reason;

std::string folderOf(const std::string &path)
{
    const std::filesystem::path folder = NativePath(path).parent_path();
    return folder.empty() ? std::string(".") : CorePath(folder);
}

// Temporary files have a short name of their own, whatever the name they
// stand in for: a file name near the system's limit of 255 bytes still has
// room for its new copy.
const std::string temporaryPrefix = "/.cvarden-";

std::string randomLetters(std::size_t count)
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    static std::random_device source;
    std::uniform_int_distribution<std::size_t> pick(0, sizeof letters - 2);
    std::string text;
    for (std::size_t i = 0; i < count; ++i)
        text.push_back(letters[pick(source)]);
    return text;
}

} // namespace

#ifndef _WIN32

namespace {

// What a new file must look like before it takes its place.
struct Look {
    mode_t mode = 0600;
    uid_t owner = static_cast<uid_t>(-1);
    gid_t group = static_cast<gid_t>(-1);
    // Whether the owner, group and permissions must be exactly these: a
    // player's file is never handed over to whoever saved it.
    bool exact = false;
    Durability durability = Durability::SurvivesPowerLoss;
};

std::string giveLook(int fd, const Look &look)
{
    // Root writing a player's file should not take it over. A failure shows
    // in the check below, where it matters.
    if (look.owner != static_cast<uid_t>(-1)) {
        [[maybe_unused]] const int kept = ::fchown(fd, look.owner, look.group);
    }
    if (::fchmod(fd, look.mode) != 0)
        return reason(errno);
    struct stat now {};
    if (look.exact && (::fstat(fd, &now) != 0 || now.st_uid != look.owner || now.st_gid != look.group ||
                       (now.st_mode & 07777) != look.mode))
        return "its new copy cannot be given its owner, group and permissions (it belongs to another user or group)";
    return {};
}

bool writeAll(int fd, const std::string &bytes)
{
    const char *data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t done = ::write(fd, data, left);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            return false;
        data += done;
        left -= static_cast<std::size_t>(done);
    }
    return true;
}

FileStepHook &stepHook()
{
    static FileStepHook hook;
    return hook;
}

std::string &ledgerFolder()
{
    static std::string folder;
    return folder;
}

// 0 when `step` may run; else what a test's hook makes of it.
int faultAt(FileStep step)
{
    return stepHook() ? stepHook()(step) : 0;
}

// Runs one step, unless a test's hook fails it first (with errno set) or
// stops the write there.
template <class Step> bool runStep(FileStep step, bool &killed, Step &&work)
{
    const int fault = faultAt(step);
    killed = fault == killedHere;
    if (fault != 0) {
        errno = killed ? EINTR : fault;
        return false;
    }
    return work();
}

std::string absolutePath(const std::string &path)
{
    std::error_code error;
    const std::filesystem::path whole = std::filesystem::absolute(path, error);
    return error ? path : whole.string();
}

// A run's note in the ledger of the temporary name it is about to give. The
// run locks it for as long as it lives, and the system lets go of the lock
// when the run dies: a note no one holds tells of a leftover. One note
// serves all of a run's writes, which come one at a time, so that a write
// costs a rewrite of its few bytes rather than a file made and removed.
class LedgerNote {
public:
    LedgerNote() = default;
    LedgerNote(const LedgerNote &) = delete;
    LedgerNote &operator=(const LedgerNote &) = delete;
    ~LedgerNote() { leave(); }

    // Notes `path` (replacing an earlier name). A ledger that cannot be
    // written costs only the cleanup of this one name: the save goes on.
    void note(const std::string &path)
    {
        if (ledgerFolder().empty())
            return;
        if (fd_ < 0)
            open();
        if (fd_ < 0)
            return;
        const std::string whole = absolutePath(path);
        if (::pwrite(fd_, whole.data(), whole.size(), 0) != ssize_t(whole.size()) ||
            (whole.size() < noted_ && ::ftruncate(fd_, static_cast<off_t>(whole.size())) != 0)) {
            leave();
            return;
        }
        noted_ = whole.size();
    }

    // The name noted is gone: renamed into place or removed.
    void drop()
    {
        if (fd_ >= 0 && noted_ > 0 && ::ftruncate(fd_, 0) != 0)
            leave();
        noted_ = 0;
    }

    // Done with this ledger: an empty note goes, one that names a copy
    // stays for a later save to clean up.
    void leave()
    {
        if (fd_ >= 0 && noted_ == 0)
            ::unlink(name_.c_str());
        close();
    }

    // As a killed run leaves it: the note stays, its lock goes.
    void close()
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
        noted_ = 0;
    }

private:
    void open()
    {
        bool made = false;
        for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
            name_ = ledgerFolder() + "/" + randomLetters(12);
            fd_ = ::open(name_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
            // The folder is made on first use only: a save costs no more.
            if (fd_ < 0 && errno == ENOENT && !made) {
                std::error_code error;
                std::filesystem::create_directories(ledgerFolder(), error);
                std::filesystem::permissions(ledgerFolder(), std::filesystem::perms::owner_all, error);
                made = true;
                continue;
            }
            if (fd_ < 0 && errno != EEXIST)
                return;
        }
        if (fd_ >= 0)
            ::flock(fd_, LOCK_EX);
    }

    int fd_ = -1;
    std::string name_;
    std::size_t noted_ = 0;
};

LedgerNote &runNote()
{
    static LedgerNote note;
    return note;
}

// Opens a leftover of ours to remove: a regular file of this user that no
// living writer locks. -1 when there is none to remove.
int openLeftover(const std::string &path, int flags)
{
    const int fd = ::open(path.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid() &&
        ::flock(fd, LOCK_EX | LOCK_NB) == 0)
        return fd;
    ::close(fd);
    return -1;
}

// Removes what a run killed between naming its new copy and renaming it
// into place left under its temporary name, and only that: the names noted
// in the ledger by runs that are gone. A note whose name no longer exists
// goes too; one whose name cannot be looked at now (a folder unmounted)
// waits for a later save.
void removeLeftovers()
{
    if (ledgerFolder().empty())
        return;
    DIR *listing = ::opendir(ledgerFolder().c_str());
    if (!listing)
        return;
    while (const dirent *entry = ::readdir(listing)) {
        const std::string notePath = ledgerFolder() + "/" + entry->d_name;
        if (entry->d_name[0] == '.')
            continue;
        const int note = openLeftover(notePath, O_RDONLY);
        if (note < 0)
            continue;
        char noted[4096];
        const ssize_t got = ::read(note, noted, sizeof noted);
        if (got > 0 && got < ssize_t(sizeof noted)) {
            const std::string path(noted, static_cast<std::size_t>(got));
            struct stat info {};
            if (const int leftover = openLeftover(path, O_RDONLY); leftover >= 0) {
                ::unlink(path.c_str());
                ::close(leftover);
                ::unlink(notePath.c_str());
            } else if (::lstat(path.c_str(), &info) != 0 && errno == ENOENT) {
                ::unlink(notePath.c_str());
            }
        } else if (got == 0) {
            ::unlink(notePath.c_str()); // killed before it noted a name
        }
        ::close(note);
    }
    ::closedir(listing);
}

// A file in `folder` that has no name yet where the system allows it, so a
// run killed while writing it leaves nothing behind; `named` stays empty
// then. Elsewhere it gets a short random name at once, noted first.
int openNewFile(const std::string &folder, std::string &named, LedgerNote &note)
{
    named.clear();
#ifdef O_TMPFILE
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    // Only a file system without unnamed files takes the fallback; any other
    // failure (no permission, no room) is the answer.
    if (fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL))
        return fd;
#endif
    for (int attempt = 0; attempt < 100; ++attempt) {
        named = folder + temporaryPrefix + randomLetters(6);
        note.note(named);
        const int fd2 = ::open(named.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd2 >= 0 || errno != EEXIST) {
            if (fd2 < 0)
                named.clear();
            return fd2;
        }
    }
    named.clear();
    return -1;
}

// Gives a file made without a name the name `name`, which must not be taken
// yet: the file then appears whole under it.
bool linkUnnamedFile(int fd, const std::string &name)
{
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

// Gives a file made without a name a short random one in its folder, noted
// first, from which it is then renamed into place over a name that is taken.
bool nameUnnamedFile(int fd, const std::string &folder, std::string &named, LedgerNote &note)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        named = folder + temporaryPrefix + randomLetters(6);
        note.note(named);
        if (linkUnnamedFile(fd, named))
            return true;
        if (errno != EEXIST)
            break;
    }
    named.clear();
    return false;
}

// Writes `bytes` to a new file beside `target`, which then takes target's
// place in one rename. On failure nothing is left of the new file.
Outcome writeInOneStep(const std::string &target, const std::string &bytes, const Look &look, const std::string &failed)
{
    const std::string folder = folderOf(target);
    removeLeftovers();
    std::string named;
    LedgerNote &note = runNote();
    bool killed = false;
    int fd = -1;
    if (!runStep(FileStep::Open, killed, [&] { return (fd = openNewFile(folder, named, note)) >= 0; })) {
        const int error = errno;
        if (killed)
            note.close();
        else
            note.drop();
        return {Failure::CannotWrite, failed + "the new copy cannot be made beside it: " + reason(error) + "."};
    }
    ::flock(fd, LOCK_EX); // held until it is closed, for removeLeftovers
    std::string problem = giveLook(fd, look);
    const Failure failure = problem.empty() ? Failure::CannotWrite : Failure::NotYours;
    const bool durable = look.durability == Durability::SurvivesPowerLoss;
    if (problem.empty() && (!runStep(FileStep::Write, killed, [&] { return writeAll(fd, bytes); }) ||
                            !runStep(FileStep::Sync, killed, [&] { return !durable || ::fsync(fd) == 0; })))
        problem = reason(errno);
    // A name not taken yet (a new version, a first backup copy) is given at
    // once, with nothing ever under a temporary name; one that is taken is
    // replaced by a rename.
    bool placed = false;
    if (problem.empty() && named.empty() && !runStep(FileStep::Name, killed, [&] {
            return (placed = linkUnnamedFile(fd, target)) || nameUnnamedFile(fd, folder, named, note);
        }))
        problem = reason(errno);
    if (problem.empty() && !placed &&
        !runStep(FileStep::Rename, killed, [&] { return ::rename(named.c_str(), target.c_str()) == 0; }))
        problem = reason(errno);
    if (killed) {
        note.close(); // as at a death: the note stays and its lock goes
        ::close(fd);
        return {Failure::CannotWrite, failed + "stopped half-way."};
    }
    if (!problem.empty() && !named.empty())
        ::unlink(named.c_str());
    note.drop();
    ::close(fd);
    if (!problem.empty())
        return {failure, failed + problem + "."};
    return {};
}

} // namespace

void SetLeftoverLedger(const std::string &folder)
{
    runNote().leave();
    ledgerFolder() = folder;
}

void SetFileStepHook(FileStepHook hook)
{
    stepHook() = std::move(hook);
}

Outcome ReplaceWholeFile(const std::string &path, const std::string &bytes)
{
    const std::string failed = "Cannot write " + inQuotes(path) + " (it was left unchanged): ";
    std::error_code error;
    const std::string target = std::filesystem::canonical(path, error).string();
    if (error)
        return {error == std::errc::no_such_file_or_directory ? Failure::Missing : Failure::CannotWrite,
                failed + error.message() + "."};
    struct stat info {};
    if (::stat(target.c_str(), &info) != 0)
        return {Failure::CannotWrite, failed + reason(errno) + "."};
    if (!S_ISREG(info.st_mode))
        return {Failure::NotAFile, failed + "it is not a regular file."};
    if (Outcome refusal = RefuseToReplace(path); refusal.failed())
        return refusal;
    return writeInOneStep(target, bytes,
                          Look{info.st_mode & 07777, info.st_uid, info.st_gid, true, Durability::SurvivesPowerLoss},
                          failed);
}

Outcome PlaceNewFile(const std::string &path, const std::string &bytes, const std::string &like, Durability durability)
{
    const std::string failed = "Cannot write " + inQuotes(path) + ": ";
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISLNK(info.st_mode))
        return {Failure::NotAFile, failed + "something other than a file is in its place (a folder, a FIFO or a "
                                            "device), so it was left alone."};
    Look look;
    look.durability = durability;
    if (!like.empty() && ::stat(like.c_str(), &info) == 0) {
        look.mode = info.st_mode & 0666;
        look.owner = info.st_uid;
        look.group = info.st_gid;
    }
    return writeInOneStep(path, bytes, look, failed);
}

#else

namespace {

using wincalls::Handle;

// Whether the new copy takes the place of the player's file, keeping its
// attributes, or stands for a file of Cvarden's own (a backup copy, a
// version), which may not exist yet.
enum class Placing { ReplaceKeepingAttributes, Move };

bool writeAll(HANDLE file, const std::string &bytes)
{
    for (std::size_t done = 0; done < bytes.size();) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

// Opens a new file beside `target` under a name no one has, for this run
// alone; `temporary` gets its name. It has the file attributes that
// `attributes` holds (hidden, system, ...), so that they stay when it takes
// the place of a file that has them.
HANDLE openNewFile(const std::string &target, DWORD attributes, std::wstring &temporary)
{
    constexpr DWORD kept =
        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    const DWORD given =
        attributes == INVALID_FILE_ATTRIBUTES || (attributes & kept) == 0 ? FILE_ATTRIBUTE_NORMAL : attributes & kept;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = NativePath(folderOf(target) + temporaryPrefix + randomLetters(6)).wstring();
        const HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, given, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS)
            return file;
    }
    return INVALID_HANDLE_VALUE;
}

// Writes `bytes` to a new file beside `target`, which then takes target's
// place in one step. On failure nothing is left of the new file.
Outcome writeInOneStep(const std::string &target, const std::string &bytes, Durability durability,
                       const std::string &failed, Placing placing)
{
    const std::wstring place = NativePath(target).wstring();
    std::wstring temporary;
    DWORD error = 0;
    {
        const Handle file(openNewFile(target, GetFileAttributesW(place.c_str()), temporary));
        if (!file.valid()) {
            error = GetLastError();
            return {wincalls::KindOf(error, Failure::CannotWrite),
                    failed + "the new copy cannot be made beside it: " + wincalls::Reason(error) + "."};
        }
        if (!writeAll(file.get(), bytes) ||
            (durability == Durability::SurvivesPowerLoss && !FlushFileBuffers(file.get())))
            error = GetLastError();
    }
    if (error == 0 && placing == Placing::ReplaceKeepingAttributes &&
        !ReplaceFileW(place.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
        error = GetLastError();
    if (error == 0 && placing == Placing::Move &&
        !MoveFileExW(temporary.c_str(), place.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = GetLastError();
    if (error == 0)
        return {};
    DeleteFileW(temporary.c_str());
    return {wincalls::KindOf(error, Failure::CannotWrite), failed + wincalls::Reason(error) + "."};
}

} // namespace

Outcome ReplaceWholeFile(const std::string &path, const std::string &bytes)
{
    if (Outcome refusal = RefuseToReplace(path); refusal.failed())
        return refusal;
    return writeInOneStep(
        path, bytes, Durability::SurvivesPowerLoss,
        "Cannot write " + inQuotes(path) + " (it was left unchanged): ", Placing::ReplaceKeepingAttributes);
}

Outcome PlaceNewFile(const std::string &path, const std::string &bytes, const std::string &, Durability durability)
{
    const std::string failed = "Cannot write " + inQuotes(path) + ": ";
    const std::wstring place = NativePath(path).wstring();
    const DWORD attributes = GetFileAttributesW(place.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return {Failure::NotAFile, failed + "a folder is in its place, so it was left alone."};
    // Windows refuses to move a file over one that another program holds
    // open, and says only "access denied" then.
    if (const DWORD error = attributes == INVALID_FILE_ATTRIBUTES ? 0 : wincalls::OpenError(place, DELETE);
        wincalls::KindOf(error, Failure::None) == Failure::InUse)
        return {Failure::InUse, failed + wincalls::Reason(error) + "."};
    return writeInOneStep(path, bytes, durability, failed, Placing::Move);
}

// Each write's new copy has a name of its own, removed on any failure.
void SetLeftoverLedger(const std::string &) {}

void SetFileStepHook(FileStepHook) {}

#endif

} // namespace cvarden
