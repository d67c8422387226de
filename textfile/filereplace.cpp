// SPDX-License-Identifier: GPL-2.0-or-later
#include "fileio.h"

#include <cerrno>
#include <filesystem>
#include <random>
#include <system_error>

#include "fileproblems.h"

#ifndef _WIN32
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace cvarden {
namespace {

using fileproblems::quoted;
using fileproblems::reason;

std::string folderOf(const std::string &path)
{
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    return folder.empty() ? std::string(".") : folder.string();
}

// Temporary files have a short name of their own, whatever the name they
// stand in for: a file name near the system's limit of 255 bytes still has
// room for its new copy.
const std::string temporaryPrefix = "/.cvarden-";

} // namespace

#ifndef _WIN32

namespace {

constexpr std::size_t temporaryNameLength = 9 + 6; // ".cvarden-" and six letters

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

// A file in `folder` that has no name yet where the system allows it, so a
// run killed while writing it leaves nothing behind; `named` stays empty
// then. Elsewhere it gets a short random name at once.
int openNewFile(const std::string &folder, std::string &named)
{
    named.clear();
#ifdef O_TMPFILE
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    // Only a file system without unnamed files takes the fallback; any other
    // failure (no permission, no room) is the answer.
    if (fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL))
        return fd;
#endif
    named = folder + temporaryPrefix + "XXXXXX";
    const int fd2 = ::mkstemp(named.data());
    if (fd2 < 0)
        named.clear();
    return fd2;
}

// Gives a file made without a name the name `name`, which must not be taken
// yet: the file then appears whole under it.
bool linkUnnamedFile(int fd, const std::string &name)
{
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

// Gives a file made without a name a short random one in its folder, from
// which it is then renamed into place over a name that is taken.
std::string nameUnnamedFile(int fd, const std::string &folder, std::string &named)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        named = folder + temporaryPrefix + randomLetters(6);
        if (linkUnnamedFile(fd, named))
            return {};
        if (errno != EEXIST)
            break;
    }
    const int error = errno;
    named.clear();
    return reason(error);
}

// A run killed between naming its new copy and renaming it into place (or,
// where files cannot be made without a name, while writing it) leaves it
// under its temporary name. Its writer locks it for as long as it lives, and
// the system lets go of the lock when the writer dies: a copy of ours that no
// one holds is such a leftover, and goes.
void removeLeftovers(const std::string &folder)
{
    DIR *listing = ::opendir(folder.c_str());
    if (!listing)
        return;
    while (const dirent *entry = ::readdir(listing)) {
        const std::string name = entry->d_name;
        if (name.size() != temporaryNameLength || name.compare(0, temporaryPrefix.size() - 1, temporaryPrefix, 1) != 0)
            continue;
        const std::string path = folder + "/" + name;
        const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat info {};
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid() &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(path.c_str());
        ::close(fd);
    }
    ::closedir(listing);
}

// Writes `bytes` to a new file beside `target`, which then takes target's
// place in one rename. On failure nothing is left of the new file.
Outcome writeInOneStep(const std::string &target, const std::string &bytes, const Look &look,
                       const std::string &failed)
{
    const std::string folder = folderOf(target);
    removeLeftovers(folder);
    std::string named;
    const int fd = openNewFile(folder, named);
    if (fd < 0)
        return {Failure::CannotWrite, failed + "the new copy cannot be made beside it: " + reason(errno) + "."};
    ::flock(fd, LOCK_EX); // held until it is closed, for removeLeftovers
    std::string problem = giveLook(fd, look);
    const Failure failure = problem.empty() ? Failure::CannotWrite : Failure::NotYours;
    if (problem.empty() &&
        (!writeAll(fd, bytes) || (look.durability == Durability::SurvivesPowerLoss && ::fsync(fd) != 0)))
        problem = reason(errno);
    // A name not taken yet (a new version, a first backup copy) is given at
    // once, with nothing ever under a temporary name; one that is taken is
    // replaced by a rename.
    const bool placed = problem.empty() && named.empty() && linkUnnamedFile(fd, target);
    if (problem.empty() && !placed && named.empty())
        problem = nameUnnamedFile(fd, folder, named);
    if (problem.empty() && !placed && ::rename(named.c_str(), target.c_str()) != 0)
        problem = reason(errno);
    if (!problem.empty() && !named.empty())
        ::unlink(named.c_str());
    ::close(fd);
    if (!problem.empty())
        return {failure, failed + problem + "."};
    return {};
}

} // namespace

Outcome ReplaceWholeFile(const std::string &path, const std::string &bytes)
{
    const std::string failed = "Cannot write " + quoted(path) + " (it was left unchanged): ";
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

Outcome PlaceNewFile(const std::string &path, const std::string &bytes, const std::string &like,
                     Durability durability)
{
    const std::string failed = "Cannot write " + quoted(path) + ": ";
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

Outcome writeInOneStep(const std::string &target, const std::string &bytes, const std::string &failed)
{
    const std::string temporary = folderOf(target) + temporaryPrefix + "new";
    if (Outcome written = WriteWholeFile(temporary, bytes); written.failed())
        return written.within(failed + "the new copy cannot be made beside it. ");
    std::error_code error;
    std::filesystem::rename(temporary, target, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        return {Failure::CannotWrite, failed + error.message() + "."};
    }
    return {};
}

} // namespace

Outcome ReplaceWholeFile(const std::string &path, const std::string &bytes)
{
    if (Outcome refusal = RefuseToReplace(path); refusal.failed())
        return refusal;
    return writeInOneStep(path, bytes, "Cannot write " + quoted(path) + " (it was left unchanged): ");
}

Outcome PlaceNewFile(const std::string &path, const std::string &bytes, const std::string &, Durability)
{
    std::error_code error;
    const auto type = std::filesystem::symlink_status(path, error).type();
    if (type != std::filesystem::file_type::not_found && type != std::filesystem::file_type::regular &&
        type != std::filesystem::file_type::symlink)
        return {Failure::NotAFile, "Cannot write " + quoted(path) +
                                       ": something other than a file is in its place, so it was left alone."};
    return writeInOneStep(path, bytes, "Cannot write " + quoted(path) + ": ");
}

#endif

} // namespace cvarden
