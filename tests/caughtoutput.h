// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>
#include <cstdio>

// A command's output or error output, caught in a file of its own.
class Caught {
public:
    Caught() : file_(std::tmpfile()) {}
    ~Caught() { std::fclose(file_); }
    Caught(const Caught &) = delete;
    Caught &operator=(const Caught &) = delete;

    std::FILE *file() const { return file_; }
    QByteArray bytes() const
    {
        std::fflush(file_);
        std::rewind(file_);
        QByteArray all;
        char chunk[4096];
        for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, file_)) > 0;)
            all.append(chunk, qsizetype(got));
        return all;
    }

private:
    std::FILE *file_;
};
