#include "fileio.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace cvarden {
namespace {

std::string quoted(const std::string &path) { return "\"" + path + "\""; }

std::string reason(int error) { return std::strerror(error); }

struct FileCloser {
    void operator()(std::FILE *file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

} // namespace

std::string readWholeFile(const std::string &path, std::string &bytes)
{
    bytes.clear();
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return "Cannot open " + quoted(path) + ": " + reason(errno) + ".";
    char buffer[1 << 16];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        bytes.append(buffer, got);
    if (std::ferror(file.get()))
        return "Cannot read " + quoted(path) + ": " + reason(errno) + ".";
    return {};
}

std::string writeWholeFile(const std::string &path, const std::string &bytes)
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

bool ownerMayWrite(const std::string &path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) != 0 || (info.st_mode & S_IWUSR) != 0;
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

} // namespace

std::string replaceWholeFile(const std::string &path, const std::string &bytes)
{
    const std::string failed = "Cannot write " + quoted(path) + " (it was left unchanged): ";
    std::error_code error;
    const std::string target = std::filesystem::canonical(path, error).string();
    if (error)
        return failed + error.message() + ".";
    struct stat info {};
    if (::stat(target.c_str(), &info) != 0)
        return failed + reason(errno) + ".";
    if (std::string refusal = refuseReadOnly(path); !refusal.empty())
        return refusal;

    std::string temporary = target + ".cvarden-XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return failed + "the new copy cannot be made beside it: " + reason(errno) + ".";
    // Root writing a player's file should not take it over; where the owner
    // cannot be kept, the new content still goes in, as the player asked.
    [[maybe_unused]] const bool ownerKept = ::fchown(fd, info.st_uid, info.st_gid) == 0;
    const bool ok = ::fchmod(fd, info.st_mode & 07777) == 0 && writeAll(fd, bytes) && ::fsync(fd) == 0;
    const int writeError = errno;
    const bool closed = ::close(fd) == 0;
    if (!ok || !closed || ::rename(temporary.c_str(), target.c_str()) != 0) {
        const int lastError = ok ? errno : writeError;
        ::unlink(temporary.c_str());
        return failed + reason(lastError) + ".";
    }
    return {};
}

#else

namespace {

bool ownerMayWrite(const std::string &path)
{
    std::error_code error;
    const auto perms = std::filesystem::status(path, error).permissions();
    return error || (perms & std::filesystem::perms::owner_write) != std::filesystem::perms::none;
}

} // namespace

std::string replaceWholeFile(const std::string &path, const std::string &bytes)
{
    if (std::string refusal = refuseReadOnly(path); !refusal.empty())
        return refusal;
    const std::string temporary = path + ".cvarden-new";
    if (std::string message = writeWholeFile(temporary, bytes); !message.empty())
        return message;
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        return "Cannot write " + quoted(path) + " (it was left unchanged): " + error.message() + ".";
    }
    return {};
}

#endif

std::string refuseReadOnly(const std::string &path)
{
    return ownerMayWrite(path) ? std::string() : quoted(path) + " is read-only, so it was left unchanged.";
}

} // namespace cvarden
