// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// What the three engines (ioquake3, the 1.32 release, Quake3e) register for
// each console variable: the shared facts files, read in place, and the
// project's reviewed additions for variables those files leave out.

#include <QFile>
#include <QHash>
#include <QList>
#include <QStringList>
#include <algorithm>
#include <utility>

namespace enginefacts {

// In the order a default is taken from: ioquake3 first, then the 1.32
// release, then Quake3e.
enum class Engine { Ioquake3, Release132, Quake3e };

inline QString engineLabel(Engine engine)
{
    switch (engine) {
    case Engine::Ioquake3:
        return QStringLiteral("ioquake3");
    case Engine::Release132:
        return QStringLiteral("1.32 release");
    case Engine::Quake3e:
        return QStringLiteral("Quake3e");
    }
    return {};
}

struct Registration {
    Engine engine;
    QString name; // as the engine spells it
    QString defaultValue;
    QStringList flags;
    QString range;  // "min..max type" where the engine checks one, else empty
    QString source; // the registering file, such as code/ui/ui_main.c
    bool has(const char *flag) const { return flags.contains(QLatin1String(flag)); }
};

class Registry {
public:
    // Reads the four facts files of `factsDir` and the reviewed table; returns
    // an empty text on success, else what could not be read.
    QString load(const QString &factsDir, const QString &reviewedTable)
    {
        const QList<std::pair<QString, Engine>> files{{"q3-archived-cvars.tsv", Engine::Ioquake3},
                                                      {"q3-132-archived-cvars.tsv", Engine::Release132},
                                                      {"quake3e-archived-cvars.tsv", Engine::Quake3e},
                                                      {"quake3e-other-cvars.tsv", Engine::Quake3e}};
        for (const auto &[file, engine] : files) {
            // name, default, flags, range, boolean guess, source file, notes
            const QString error = readTable(factsDir + '/' + file, [&](const QStringList &cells) {
                add({engine, cells.value(0), cells.value(1), cells.value(2).split('|'), cells.value(3),
                     cells.value(5)});
            });
            if (!error.isEmpty())
                return error;
        }
        // engine, name, default, flags, where
        return readTable(reviewedTable, [&](const QStringList &cells) {
            const QString label = cells.value(0);
            const Engine engine = label == "ioquake3" ? Engine::Ioquake3
                                  : label == "1.32"   ? Engine::Release132
                                                      : Engine::Quake3e;
            add({engine, cells.value(1), cells.value(2), cells.value(3).split('|'), QString(), cells.value(4)});
        });
    }

    // Every registration of the variable; the game ignores case in names.
    QList<Registration> of(const QString &name) const { return byName_.value(name.toLower()); }

    // The registrations of the first engine (in Engine order) that has any.
    QList<Registration> ofOwnEngine(const QString &name) const
    {
        const QList<Registration> all = of(name);
        if (all.isEmpty())
            return {};
        Engine first = all.first().engine;
        for (const Registration &registration : all)
            first = std::min(first, registration.engine);
        QList<Registration> own;
        for (const Registration &registration : all)
            if (registration.engine == first)
                own.append(registration);
        return own;
    }

    bool knows(const QString &name) const { return byName_.contains(name.toLower()); }

private:
    QHash<QString, QList<Registration>> byName_;

    void add(const Registration &registration) { byName_[registration.name.toLower()].append(registration); }

    // Tab-separated rows after a header row; blank lines and "#" lines are
    // skipped.
    template <typename Row> static QString readTable(const QString &path, Row row)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            return path + ": " + file.errorString();
        bool header = true;
        while (!file.atEnd()) {
            QString line = QString::fromUtf8(file.readLine());
            while (line.endsWith('\n') || line.endsWith('\r'))
                line.chop(1);
            if (line.isEmpty() || line.startsWith('#'))
                continue;
            if (!std::exchange(header, false))
                row(line.split('\t'));
        }
        return {};
    }
};

} // namespace enginefacts
