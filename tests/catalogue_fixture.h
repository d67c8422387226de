#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <string>

// Writes catalogue and game files for a test. Lines are joined with CR LF, the
// line end every catalogue uses, and each file ends with one.
inline std::string crlfLines(const QStringList &lines)
{
    return lines.join(QStringLiteral("\r\n")).toStdString() + "\r\n";
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
