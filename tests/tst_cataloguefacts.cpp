// SPDX-License-Identifier: GPL-2.0-or-later
#include <QDir>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

#include "outcomes.h"
#include "enginefacts.h"
#include "loader.h"
#include "optionkey.h"

using enginefacts::Engine;
using enginefacts::Registration;

// The catalogue that ships with Cvarden, held against what the engines
// register: the shared facts files (read in place, skipped where absent) and
// the project's reviewed tables in tests/data.
class CatalogueFactsTest : public QObject {
    Q_OBJECT

    struct Option {
        QString variable, name, kind, defaultValue, description;
    };

    QList<Option> options;
    enginefacts::Registry facts;
    QString factsMissing; // why the facts could not be read; empty when they were

    QStringList reviewedSwitches() const
    {
        QStringList names;
        QFile file(QStringLiteral(CVARDEN_TEST_DATA "/onoff-variables.txt"));
        if (file.open(QIODevice::ReadOnly | QIODevice::Text))
            for (const QString &line : QString::fromUtf8(file.readAll()).split('\n'))
                if (!line.isEmpty() && !line.startsWith('#'))
                    names.append(line.section('\t', 0, 0));
        return names;
    }

    // The engines that let a player set the variable: those registering it
    // without cheat protection and not read-only.
    QList<Engine> settableIn(const QString &variable) const
    {
        QList<Engine> engines;
        for (const Registration &registration : facts.of(variable))
            if (!registration.has("CVAR_CHEAT") && !registration.has("CVAR_ROM") &&
                !engines.contains(registration.engine))
                engines.append(registration.engine);
        return engines;
    }

private slots:
    void initTestCase()
    {
        cvarden::Catalogue catalogue;
        QCOMPARE(cvarden::OpenOptions(CVARDEN_SAMPLE_DATA "/options.dat", catalogue), cvarden::Failure::None);
        for (const cvarden::OptionNode &node : catalogue.options()) {
            options.append({QString::fromStdString(node.variable()), QString::fromStdString(node.text),
                            QString::fromStdString(Module1::OptionKind(node.key)),
                            QString::fromStdString(node.defaultValue()),
                            QString::fromStdString(catalogue.descriptionOf(node))});
        }
        QVERIFY(options.size() >= 300);
        factsMissing = facts.load(QStringLiteral(CVARDEN_SHARED_FACTS),
                                  QStringLiteral(CVARDEN_TEST_DATA "/unsaved-registrations.tsv"));
    }

    void everyVariableIsSpelledAsAnEngineRegistersIt()
    {
        if (!factsMissing.isEmpty())
            QSKIP(qPrintable("the shared engine facts are not here: " + factsMissing));
        QStringList unknown;
        for (const Option &option : options) {
            bool spelled = false;
            for (const Registration &registration : facts.of(option.variable))
                spelled = spelled || registration.name == option.variable;
            if (!spelled)
                unknown.append(option.variable);
        }
        QVERIFY2(unknown.isEmpty(), qPrintable(unknown.join("; ")));
    }

    // Where the engine's own registrations disagree (by platform or build),
    // any of them will do; which one was chosen is said in data/README.md.
    void everyDefaultIsTheDefaultOfItsEngine()
    {
        if (!factsMissing.isEmpty())
            QSKIP(qPrintable("the shared engine facts are not here: " + factsMissing));
        QStringList wrong;
        for (const Option &option : options) {
            QStringList defaults;
            for (const Registration &registration : facts.ofOwnEngine(option.variable))
                defaults.append(registration.defaultValue);
            if (!defaults.contains(option.defaultValue))
                wrong.append(option.variable + ": " + option.defaultValue + " is not one of " + defaults.join(", "));
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join("; ")));
    }

    void onOffBoxesAreForVariablesReadAsOnOff()
    {
        if (!factsMissing.isEmpty())
            QSKIP(qPrintable("the shared engine facts are not here: " + factsMissing));
        const QStringList reviewed = reviewedSwitches();
        QVERIFY(!reviewed.isEmpty());
        QStringList unproven;
        QStringList boxes;
        for (const Option &option : options) {
            if (option.kind != "CHECK")
                continue;
            boxes.append(option.variable);
            bool ranged = false;
            for (const Registration &registration : facts.of(option.variable))
                ranged = ranged || registration.range == "0..1 integer";
            if (!ranged && !reviewed.contains(option.variable))
                unproven.append(option.variable);
        }
        QVERIFY2(unproven.isEmpty(), qPrintable(unproven.join("; ")));
        // A reviewed switch that is no longer an on/off box is a stale row.
        QStringList stale;
        for (const QString &name : reviewed)
            if (!boxes.contains(name))
                stale.append(name);
        QVERIFY2(stale.isEmpty(), qPrintable(stale.join("; ")));
    }

    // A variable latched by every registration of its engine changes only at
    // a restart of its part of the game, so its description says when.
    void latchedVariablesSayWhenTheyApply()
    {
        if (!factsMissing.isEmpty())
            QSKIP(qPrintable("the shared engine facts are not here: " + factsMissing));
        static const QRegularExpression when(QStringLiteral("restart|next map|command line"));
        QStringList silent;
        for (const Option &option : options) {
            const QList<Registration> own = facts.ofOwnEngine(option.variable);
            const bool latched = !own.isEmpty() && std::all_of(own.begin(), own.end(), [](const Registration &r) {
                return r.has("CVAR_LATCH");
            });
            if (latched && !option.description.contains(when))
                silent.append(option.variable);
        }
        QVERIFY2(silent.isEmpty(), qPrintable(silent.join("; ")));
    }

    void variablesOfOneEngineSaySo()
    {
        if (!factsMissing.isEmpty())
            QSKIP(qPrintable("the shared engine facts are not here: " + factsMissing));
        QStringList wrong;
        for (const Option &option : options) {
            const QList<Engine> engines = settableIn(option.variable);
            QString tag;
            if (engines.size() == 1)
                tag = engineLabel(engines.first()) + " only.";
            else if (engines.size() == 2 && engines.contains(Engine::Release132) && engines.contains(Engine::Quake3e))
                tag = "1.32 release and Quake3e.";
            // The engine note closes the description, so "only." elsewhere
            // (such as "12 to 24 Quake3e only.") is about values, not the variable.
            const bool tagged =
                option.description.endsWith(" only.") || option.description.endsWith(" 1.32 release and Quake3e.");
            if (tag.isEmpty() ? tagged : !option.description.endsWith(' ' + tag))
                wrong.append(option.variable + ": " + (tag.isEmpty() ? QStringLiteral("no engine note") : tag));
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join("; ")));
    }

    // Coverage: the share of a real game file's variables (ignoring case)
    // that the catalogue holds, over the variables an engine lets a player
    // set, leaving out bookkeeping and Team Arena's own menu state.
    void gameFilesAreCovered_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("held");
        QTest::addColumn<int>("counted");
        QTest::newRow("game-written by ioquake3") << "florianschendel__env__q3config.cfg" << 310 << 310;
        QTest::newRow("original game, 1.32") << "Steffkn__Quake-configs__baseq3_q3config.cfg" << 152 << 152;
        QTest::newRow("hand-written") << "ExpandingShapes__configs__Quake_3_Arena_q3config.cfg" << 126 << 126;
        QTest::newRow("hand-edited") << "dsebastien__quake3config__baseq3_q3config.cfg" << 200 << 201;
        QTest::newRow("OpenArena") << "drummyfish__my_text_data__q3config.cfg" << 266 << 266;
    }

    void gameFilesAreCovered()
    {
        QFETCH(QString, file);
        QFETCH(int, held);
        QFETCH(int, counted);
        if (!factsMissing.isEmpty())
            QSKIP(qPrintable("the shared engine facts are not here: " + factsMissing));
        QFile config(QStringLiteral(CVARDEN_SHARED_CONFIGS "/") + file);
        if (!config.open(QIODevice::ReadOnly))
            QSKIP("the shared game files are not here");
        static const QRegularExpression seta(QStringLiteral("^seta[ \\t]+([^ \\t\"\\r]+)"));
        // The game writes these by itself: single-player records, the intro
        // film, the last renderer, the master servers it was given, the last
        // server joined (Quake3e), and Team Arena's team-order menu.
        static const QRegularExpression bookkeeping(QStringLiteral(
            "^(g_spscores\\d+|g_spawards|g_spvideos|com_introplayed|r_lastvalidrenderer|sv_master\\d+|"
            "cl_reconnectargs|cg_currentselectedplayer|cg_currentselectedplayername|ui_recordspdemoname)$"));
        QSet<QString> names;
        for (const QByteArray &line : config.readAll().split('\n')) {
            const QRegularExpressionMatch match = seta.match(QString::fromLatin1(line));
            if (match.hasMatch())
                names.insert(match.captured(1).toLower());
        }
        QSet<QString> catalogued;
        for (const Option &option : options)
            catalogued.insert(option.variable.toLower());
        int countedNow = 0;
        int heldNow = 0;
        for (const QString &name : names) {
            const QList<Registration> registrations = facts.of(name);
            const bool menuState = std::all_of(registrations.begin(), registrations.end(),
                                               [](const Registration &r) { return r.source.startsWith("code/ui/"); });
            if (registrations.isEmpty())
                continue;
            const bool locked = std::any_of(registrations.begin(), registrations.end(), [](const Registration &r) {
                return r.has("CVAR_CHEAT") || r.has("CVAR_ROM");
            });
            if (locked || menuState || bookkeeping.match(name).hasMatch())
                continue;
            ++countedNow;
            heldNow += catalogued.contains(name) ? 1 : 0;
        }
        qInfo("%s: %d of %d variables catalogued (%.1f %%)", qPrintable(file), heldNow, countedNow,
              100.0 * heldNow / countedNow);
        QCOMPARE(heldNow, held);
        QCOMPARE(countedNow, counted);
        QVERIFY2(heldNow >= 0.95 * countedNow, "a shared game file is covered below 95 %");
    }
};

QTEST_MAIN(CatalogueFactsTest)
#include "tst_cataloguefacts.moc"
