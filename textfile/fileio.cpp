// SPDX-License-Identifier: GPL-2.0-or-later
#include "fileio.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

#include "fileproblems.h"
#include "nativepath.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include "wincalls.h"
#endif

namespace cvarden {
namespace {

using fileproblems::inQuotes;
using fileproblems::reason;

Outcome tooLarge(const std::string &path, std::uintmax_t limit)
{
    return {Failure::TooLarge, inQuotes(path) + " is larger than " + std::to_string(limit >> 20) +
                                   " MiB, far more than it should hold, so it was not read."};
}

Outcome notAFile(const std::string &path, const std::string &whatItIs)
{
    return {Failure::NotAFile, "Cannot read " + inQuotes(path) + ": it is " + whatItIs + ", not a file."};
}

struct FileCloser {
    void operator()(std::FILE *file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

} // namespace

Outcome WriteWholeFile(const std::string &path, const std::string &bytes)
{
    FilePtr file(OpenFile(path, "wb"));
    if (!file)
        return {Failure::CannotWrite, "Cannot write " + inQuotes(path) + ": " + reason(errno) + "."};
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    const int writeError = errno;
    const bool closed = std::fclose(file.release()) == 0;
    if (!written || !closed)
        return {Failure::CannotWrite,
                "Cannot write " + inQuotes(path) + ": " + reason(written ? errno : writeError) + "."};
    return {};
}

#ifndef _WIN32

namespace {

Outcome cannotOpen(const std::string &path, int error)
{
    return {error == ENOENT ? Failure::Missing : Failure::CannotRead,
            "Cannot open " + inQuotes(path) + ": " + reason(error) + "."};
}

Outcome cannotRead(const std::string &path, int error)
{
    return {Failure::CannotRead, "Cannot read " + inQuotes(path) + ": " + reason(error) + "."};
}

std::string whatItIs(mode_t mode)
{
    if (S_ISDIR(mode))
        return "a folder";
    if (S_ISFIFO(mode))
        return "a FIFO (a named pipe)";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "a device";
    if (S_ISSOCK(mode))
        return "a socket";
    return "something other than a regular file";
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() { ::close(fd_); }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

} // namespace

Outcome ReadWholeFile(const std::string &path, std::string &bytes, std::uintmax_t limit)
{
    bytes.clear();
    // Opened without waiting, so a FIFO cannot hold the open up; it is then
    // refused for what it is.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return cannotOpen(path, errno);
    const Descriptor file(fd);
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return cannotRead(path, errno);
    if (!S_ISREG(info.st_mode))
        return notAFile(path, whatItIs(info.st_mode));
    if (static_cast<std::uintmax_t>(info.st_size) > limit)
        return tooLarge(path, limit);
    bytes.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return cannotRead(path, errno);
        if (got == 0)
            return {};
        // The file may have grown since it was measured.
        if (bytes.size() + static_cast<std::size_t>(got) > limit) {
            bytes.clear();
            return tooLarge(path, limit);
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
}

namespace {

bool inGroup(gid_t group)
{
    if (group == ::getegid())
        return true;
    std::vector<gid_t> groups(static_cast<std::size_t>(std::max(::getgroups(0, nullptr), 0)));
    const int count = ::getgroups(static_cast<int>(groups.size()), groups.data());
    return std::find(groups.begin(), groups.begin() + std::max(count, 0), group) != groups.begin() + std::max(count, 0);
}

} // namespace

Outcome RefuseToReplace(const std::string &path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return cannotOpen(path, errno);
    if ((info.st_mode & S_IWUSR) == 0)
        return {Failure::ReadOnly, inQuotes(path) + " is read-only, so it was left unchanged."};
    // As the system judges it for this user (the effective one), not by the
    // owner's permission bits: a file that belongs to root is not the player's
    // to replace, even in a folder the player may write.
    if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)
        return {Failure::NotYours,
                "You may not change " + inQuotes(path) + " (" + reason(errno) + "), so it was left unchanged."};
    // The new content is a new file, which only root may give to another
    // owner or to a group the player is not in.
    if (::geteuid() != 0 && (info.st_uid != ::geteuid() || !inGroup(info.st_gid)))
        return {Failure::NotYours, "You may not change " + inQuotes(path) +
                                       ": it belongs to another user or group, which its new content could not "
                                       "keep, so it was left unchanged."};
    return {};
}

#else

namespace {

using wincalls::Handle;

Outcome cannotOpenWindows(const std::string &path, DWORD error)
{
    return {wincalls::KindOf(error, Failure::CannotRead),
            "Cannot open " + inQuotes(path) + ": " + wincalls::Reason(error) + "."};
}

} // namespace

Outcome ReadWholeFile(const std::string &path, std::string &bytes, std::uintmax_t limit)
{
    bytes.clear();
    const std::wstring wide = NativePath(path).wstring();
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return notAFile(path, "a folder");
    // Others may go on reading, writing or replacing it meanwhile, as they
    // may while the game reads it.
    const Handle file(CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return cannotOpenWindows(path, GetLastError());
    if (GetFileType(file.get()) != FILE_TYPE_DISK)
        return notAFile(path, "a device or a pipe");
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file.get(), &size) && static_cast<std::uintmax_t>(size.QuadPart) > limit)
        return tooLarge(path, limit);
    char buffer[1 << 16];
    for (DWORD got = 0;; bytes.append(buffer, got)) {
        if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) {
            const DWORD error = GetLastError();
            bytes.clear();
            return {wincalls::KindOf(error, Failure::CannotRead),
                    "Cannot read " + inQuotes(path) + ": " + wincalls::Reason(error) + "."};
        }
        if (got == 0)
            return {};
        if (bytes.size() + got > limit) {
            bytes.clear();
            return tooLarge(path, limit);
        }
    }
}

Outcome RefuseToReplace(const std::string &path)
{
    const std::wstring wide = NativePath(path).wstring();
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return cannotOpenWindows(path, GetLastError());
    if (attributes & FILE_ATTRIBUTE_READONLY)
        return {Failure::ReadOnly, inQuotes(path) + " is read-only, so it was left unchanged."};
    // Replacing the file needs what this asks: a program that holds it open
    // without sharing it so (the game while it writes it, an editor) makes
    // the save fail before anything is written, rather than at its end.
    const DWORD error = wincalls::OpenError(wide, GENERIC_WRITE | DELETE);
    if (error == 0)
        return {};
    const Failure kind = wincalls::KindOf(error, Failure::NotYours);
    if (kind == Failure::NotYours)
        return {kind, "You may not change " + inQuotes(path) + " (" + wincalls::Reason(error) +
                          "), so it was left unchanged."};
    return {kind, "Cannot write " + inQuotes(path) + ": " + wincalls::Reason(error) + ", so it was left unchanged."};
}

#endif

std::string WhyNotAFile(const std::string &path)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(NativePath(path), error);
    switch (status.type()) {
    case fs::file_type::regular:
        return {};
    case fs::file_type::not_found:
        if (fs::is_symlink(fs::symlink_status(NativePath(path), error)))
            return inQuotes(path) + " is a symbolic link to nothing";
        return "there is no file " + inQuotes(path);
    case fs::file_type::directory:
        return inQuotes(path) + " is a folder, not a file";
    case fs::file_type::fifo:
        return inQuotes(path) + " is a named pipe (FIFO), not a file";
    case fs::file_type::block:
    case fs::file_type::character:
        return inQuotes(path) + " is a device, not a file";
    case fs::file_type::socket:
        return inQuotes(path) + " is a socket, not a file";
    default:
        break;
    }
    if (error)
        return "Cannot look at " + inQuotes(path) + ": " + error.message() + ".";
    return inQuotes(path) + " is not a regular file";
}

} // namespace cvarden
