// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// A process that looks like one of the game's engines to the process list:
// a copy of `sleep` under the engine's file name, running for the test's own
// user until the object goes.
class StandInEngine {
public:
    explicit StandInEngine(const QString &fileName) : path_(dir_.filePath(fileName))
    {
        if (!QFile::copy(QStringLiteral("/bin/sleep"), path_) ||
            !QFile::setPermissions(path_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
            qFatal("cannot make the stand-in program %s", qPrintable(path_));
        process_.start(path_, {QStringLiteral("600")});
        if (!process_.waitForStarted())
            qFatal("the stand-in program %s did not start", qPrintable(path_));
    }

    ~StandInEngine()
    {
        process_.kill();
        process_.waitForFinished();
    }

    StandInEngine(const StandInEngine &) = delete;
    StandInEngine &operator=(const StandInEngine &) = delete;

private:
    QTemporaryDir dir_;
    QString path_;
    QProcess process_;
};
