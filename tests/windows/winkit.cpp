// SPDX-License-Identifier: GPL-2.0-or-later
#include "winkit.h"

#include <windows.h>

namespace winkit {

std::wstring Wide(const std::string &utf8)
{
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring wide(std::size_t(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), int(utf8.size()), wide.data(), length);
    return wide;
}

std::string Utf8(const std::wstring &wide)
{
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(std::size_t(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), utf8.data(), length, nullptr, nullptr);
    return utf8;
}

bool MakeFolder(const std::string &path)
{
    return CreateDirectoryW(Wide(path).c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

bool WriteFile(const std::string &path, const std::string &bytes)
{
    const HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = ::WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr) && written == bytes.size();
    return CloseHandle(file) && ok;
}

std::string ReadFile(const std::string &path, bool *found)
{
    std::string bytes;
    const HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    if (found)
        *found = file != INVALID_HANDLE_VALUE;
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

bool Exists(const std::string &path)
{
    return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> NamesIn(const std::string &folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW(Wide(folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(Utf8(name));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

bool HoldsTemporaryFile(const std::string &folder)
{
    for (const std::string &name : NamesIn(folder)) {
        if (name.rfind(".cvarden-", 0) == 0)
            return true;
    }
    return false;
}

unsigned long AttributesOf(const std::string &path)
{
    return GetFileAttributesW(Wide(path).c_str());
}

bool SetAttributes(const std::string &path, unsigned long attributes)
{
    return SetFileAttributesW(Wide(path).c_str(), attributes);
}

void RemoveAll(const std::string &path)
{
    const DWORD attributes = AttributesOf(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    SetAttributes(path, FILE_ATTRIBUTE_NORMAL | (attributes & FILE_ATTRIBUTE_DIRECTORY));
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileW(Wide(path).c_str());
        return;
    }
    for (const std::string &name : NamesIn(path))
        RemoveAll(path + "\\" + name);
    RemoveDirectoryW(Wide(path).c_str());
}

std::string ProgramFolder()
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring whole(path, length);
    return Utf8(whole.substr(0, whole.find_last_of(L"\\/")));
}

} // namespace winkit
