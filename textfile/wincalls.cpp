// SPDX-License-Identifier: GPL-2.0-or-later
#include "wincalls.h"

namespace cvarden::wincalls {
namespace {

bool heldByAnother(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_USER_MAPPED_FILE;
}

// The system's own sentence, without its full stop and line end.
std::string systemSentence(DWORD error)
{
    wchar_t *text = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
    std::string sentence;
    if (length > 0) {
        const int size = WideCharToMultiByte(CP_UTF8, 0, text, int(length), nullptr, 0, nullptr, nullptr);
        sentence.resize(std::size_t(size));
        WideCharToMultiByte(CP_UTF8, 0, text, int(length), sentence.data(), size, nullptr, nullptr);
    }
    LocalFree(text);
    while (!sentence.empty() &&
           (sentence.back() == '\n' || sentence.back() == '\r' || sentence.back() == ' ' || sentence.back() == '.'))
        sentence.pop_back();
    return sentence.empty() ? "Windows error " + std::to_string(error) : sentence;
}

} // namespace

std::string Reason(unsigned long error)
{
    // The game holds its file open while it writes it; so may an editor, a
    // backup or a virus scanner.
    if (heldByAnother(error))
        return "another program has it open (the game, an editor, a backup or virus scanner); close it and try again";
    return systemSentence(error);
}

unsigned long OpenError(const std::wstring &path, unsigned long access)
{
    const Handle file(CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.valid() ? 0 : GetLastError();
}

Failure KindOf(unsigned long error, Failure otherwise)
{
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
        return Failure::Missing;
    return heldByAnother(error) ? Failure::InUse : otherwise;
}

} // namespace cvarden::wincalls
