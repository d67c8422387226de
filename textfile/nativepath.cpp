// SPDX-License-Identifier: GPL-2.0-or-later
#include "nativepath.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace cvarden {

#if defined(_WIN32)

// Through the system's own conversions rather than std::filesystem::u8path,
// which throws on bytes that are no UTF-8 (a name read from a game file): such
// bytes become U+FFFD, a name no file has, and the call fails as for any
// missing file.
std::filesystem::path NativePath(const std::string &path)
{
    const int length = MultiByteToWideChar(CP_UTF8, 0, path.data(), int(path.size()), nullptr, 0);
    std::wstring wide(std::size_t(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, path.data(), int(path.size()), wide.data(), length);
    return std::filesystem::path(wide);
}

std::string CorePath(const std::filesystem::path &path)
{
    const std::wstring &wide = path.native();
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(std::size_t(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), utf8.data(), length, nullptr, nullptr);
    return utf8;
}

std::FILE *OpenFile(const std::string &path, const char *mode)
{
    const std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
    return ::_wfopen(NativePath(path).c_str(), wideMode.c_str());
}

#else

std::filesystem::path NativePath(const std::string &path)
{
    return std::filesystem::path(path);
}

std::string CorePath(const std::filesystem::path &path)
{
    return path.string();
}

std::FILE *OpenFile(const std::string &path, const char *mode)
{
    return std::fopen(path.c_str(), mode);
}

#endif

} // namespace cvarden
