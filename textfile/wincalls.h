// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <windows.h>

#include <string>

#include "outcome.h"

// What the file layer's Windows calls share: a handle that closes with its
// scope, and the system's errors (GetLastError) for the messages.
namespace cvarden::wincalls {

class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle()
    {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
    }
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

// The error in words a player understands, in UTF-8.
std::string Reason(unsigned long error);

// 0 when the file at `path` can be opened with `access` now, whoever else
// has it open; else why not: ERROR_SHARING_VIOLATION while another program
// holds it without sharing that access.
unsigned long OpenError(const std::wstring &path, unsigned long access);

// Its kind: nothing at that path, a file another program holds, or else
// `otherwise`.
Failure KindOf(unsigned long error, Failure otherwise);

} // namespace cvarden::wincalls
