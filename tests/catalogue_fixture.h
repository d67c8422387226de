// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>
#include <map>
#include <QStringList>
#include <QTemporaryDir>
#include <string>

#include "loader.h"

// Writes catalogue and game files for a test. Lines are joined with CR LF, the
// line end every catalogue uses, and each file ends with one.
inline std::string crlfLines(const QStringList &lines)
{
    return lines.join(QStringLiteral("\r\n")).toStdString() + "\r\n";
}

// Spells bytes with tokens, so a table row reads like the file: SP is a space,
// DQ a double quote, TAB a tab, LF and CR themselves, "|" a CR LF record end;
// other tokens stand for themselves, and the blanks between tokens are not
// part of the bytes.
inline std::string spelled(const QString &tokens)
{
    static const std::map<QString, std::string> named{{"SP", " "}, {"DQ", "\""}, {"TAB", "\t"},
                                                      {"LF", "\n"}, {"CR", "\r"}, {"|", "\r\n"}};
    std::string bytes;
    for (const QString &token : tokens.split(' ', Qt::SkipEmptyParts)) {
        const auto found = named.find(token);
        bytes += found == named.end() ? token.toStdString() : found->second;
    }
    return bytes;
}

inline QString writeTestFile(const QTemporaryDir &dir, const QString &name, const std::string &bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write the test file %s", qPrintable(path));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return path;
}

inline std::string readTestFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    const QByteArray bytes = file.readAll();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// Writes the catalogue lines as options.dat into `dir` and loads them afresh
// into `catalogue`.
inline cvarden::Outcome loadTestCatalogue(const QTemporaryDir &dir, const QStringList &lines, cvarden::Catalogue &catalogue)
{
    catalogue = cvarden::Catalogue();
    return cvarden::OpenOptions(writeTestFile(dir, "options.dat", crlfLines(lines)).toStdString(), catalogue);
}
