// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

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

// File paths, and the core's messages that quote them, are in the system's
// own encoding.
inline std::string PathBytes(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}

inline QString FromSystemText(const std::string &text)
{
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace cvarden
