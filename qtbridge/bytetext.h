// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QCoreApplication>
#include <QFile>
#include <QString>
#include <string>

namespace cvarden {

// Option names and values are single bytes, one character each, as the game
// writes them; Latin-1 maps every byte onto a character and back unchanged.
inline QString FromBytes(const std::string &bytes)
{
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

inline std::string ToBytes(const QString &text)
{
    return text.toLatin1().toStdString();
}

// File paths, and the core's messages that quote them, are the core's
// paths: UTF-8 on Windows, which the core hands to the system's wide calls
// (the local code page cannot name every folder); elsewhere the system's own
// bytes. Every path the core is given comes through here: the command
// line's, the file dialog's, the store's folders.
inline std::string PathBytes(const QString &path)
{
#if defined(Q_OS_WIN)
    return path.toUtf8().toStdString();
#else
    return QFile::encodeName(path).toStdString();
#endif
}

inline QString FromSystemText(const std::string &text)
{
#if defined(Q_OS_WIN)
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
#else
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
#endif
}

// Word `index` of the command line as the core takes it. On Windows from the
// wide command line Qt read (argv holds it in the local code page, which
// loses letters), through PathBytes; elsewhere argv's own bytes, whatever
// their encoding.
inline std::string CommandLineWord(char *argv[], int index)
{
#if defined(Q_OS_WIN)
    static_cast<void>(argv);
    return PathBytes(QCoreApplication::arguments().value(index));
#else
    return argv[index];
#endif
}

} // namespace cvarden
