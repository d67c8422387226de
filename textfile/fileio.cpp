// SPDX-License-Identifier: GPL-2.0-or-later
#include "fileio.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "fileproblems.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace cvarden {
namespace {

using fileproblems::quoted;
using fileproblems::reason;

std::string tooLarge(const std::string &path, std::uintmax_t limit)
{
    return quoted(path) + " is larger than " + std::to_string(limit >> 20) +
           " MiB, far more than it should hold, so it was not read.";
}

std::string notAFile(const std::string &path, const std::string &whatItIs)
{
    return "Cannot read " + quoted(path) + ": it is " + whatItIs + ", not a file.";
}

struct FileCloser {
    void operator()(std::FILE *file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

} // namespace

std::string WriteWholeFile(const std::string &path, const std::string &bytes)
{
    FilePtr file(std::fopen(path.c_str(), "wb"));
    if (!file)
        return "Cannot write " + quoted(path) + ": " + reason(errno) + ".";
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    const int writeError = errno;
    const bool closed = std::fclose(file.release()) == 0;
    if (!written || !closed)
        return "Cannot write " + quoted(path) + ": " + reason(written ? errno : writeError) + ".";
    return {};
}

#ifndef _WIN32

namespace {

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

std::string ReadWholeFile(const std::string &path, std::string &bytes, std::uintmax_t limit)
{
    bytes.clear();
    // Opened without waiting, so a FIFO cannot hold the open up; it is then
    // refused for what it is.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return "Cannot open " + quoted(path) + ": " + reason(errno) + ".";
    const Descriptor file(fd);
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return "Cannot read " + quoted(path) + ": " + reason(errno) + ".";
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
            return "Cannot read " + quoted(path) + ": " + reason(errno) + ".";
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

std::string RefuseReadOnly(const std::string &path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && (info.st_mode & S_IWUSR) == 0)
        return quoted(path) + " is read-only, so it was left unchanged.";
    // As the system judges it for this user (the effective one), not by the
    // owner's permission bits: a file that belongs to root is not the player's
    // to replace, even in a folder the player may write.
    if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)
        return "You may not change " + quoted(path) + " (" + reason(errno) + "), so it was left unchanged.";
    return {};
}

#else

std::string ReadWholeFile(const std::string &path, std::string &bytes, std::uintmax_t limit)
{
    bytes.clear();
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::directory)
        return notAFile(path, "a folder");
    if (!error && status.type() != std::filesystem::file_type::regular)
        return notAFile(path, "something other than a regular file");
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return "Cannot open " + quoted(path) + ": " + reason(errno) + ".";
    char buffer[1 << 16];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        if (bytes.size() + got > limit) {
            bytes.clear();
            return tooLarge(path, limit);
        }
        bytes.append(buffer, got);
    }
    if (std::ferror(file.get()))
        return "Cannot read " + quoted(path) + ": " + reason(errno) + ".";
    return {};
}

std::string RefuseReadOnly(const std::string &path)
{
    std::error_code error;
    const auto perms = std::filesystem::status(path, error).permissions();
    if (!error && (perms & std::filesystem::perms::owner_write) == std::filesystem::perms::none)
        return quoted(path) + " is read-only, so it was left unchanged.";
    return {};
}

#endif

std::string WhyNotAFile(const std::string &path)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    switch (status.type()) {
    case fs::file_type::regular:
        return {};
    case fs::file_type::not_found:
        if (fs::is_symlink(fs::symlink_status(path, error)))
            return quoted(path) + " is a symbolic link to nothing";
        return "there is no file " + quoted(path);
    case fs::file_type::directory:
        return quoted(path) + " is a folder, not a file";
    case fs::file_type::fifo:
        return quoted(path) + " is a named pipe (FIFO), not a file";
    case fs::file_type::block:
    case fs::file_type::character:
        return quoted(path) + " is a device, not a file";
    case fs::file_type::socket:
        return quoted(path) + " is a socket, not a file";
    default:
        break;
    }
    if (error)
        return "Cannot look at " + quoted(path) + ": " + error.message() + ".";
    return quoted(path) + " is not a regular file";
}

} // namespace cvarden
