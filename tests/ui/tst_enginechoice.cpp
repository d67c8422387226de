// SPDX-License-Identifier: GPL-2.0-or-later
#include <QAbstractItemView>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>

#include "windowtestkit.h"

using testkit::WindowFixture;

// The window with the engine facts beside its catalogue: the engine chosen
// from the tree's menu, its defaults, its choices with their meanings, and
// what it makes of a value.
namespace {

QStringList engineCatalogue()
{
    return {"Display", "---",
            "Display", "Video mode", "Screen size. Needs vid_restart.", "r_mode", "x", "COMBO", "ENTRIES", "4", "-2", "-1", "3", "6", "x",
            "-2",
            "Display", "Max frames", "Frames a second at most.", "com_maxfps", "x", "VALUE", "85"};
}

// The window on the catalogue above, the shipped engine facts beside it, and
// `engine` chosen ("" for none).
std::unique_ptr<WindowFixture> windowFor(const QString &engine)
{
    auto fixture = std::make_unique<WindowFixture>(engineCatalogue());
    QFile::copy(CVARDEN_SAMPLE_DATA "/engines.dat", fixture->path("engines.dat"));
    if (!engine.isEmpty() && !fixture->store->SaveChoice("engine", engine.toStdString()).ok())
        qFatal("cannot store the engine choice");
    fixture->openWindow();
    return fixture;
}

QAbstractItemView *openChoiceList(WindowFixture &fixture)
{
    fixture.select("Video mode");
    auto *combo = fixture.control<QComboBox>("val_combo");
    QTest::mouseClick(combo, Qt::LeftButton, {}, QPoint(combo->width() - 5, combo->height() / 2));
    QAbstractItemView *list = combo->view();
    if (!QTest::qWaitFor([list] { return list->isVisible(); }))
        qFatal("the choice list did not open");
    return list;
}

int rowOf(QAbstractItemView *list, const QString &value)
{
    for (int row = 0; row < list->model()->rowCount(); ++row)
        if (list->model()->index(row, 0).data(Qt::EditRole).toString() == value)
            return row;
    return -1;
}

} // namespace

class EngineChoiceTest : public QObject {
    Q_OBJECT

private slots:
    void openedChoiceListShowsTheEnginesMeanings_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("shown");
        QTest::newRow("Quake3e: mode 6 is 1024x768") << "quake3e" << 27 << "6" << QString::fromUtf8("6 — 1024x768");
        QTest::newRow("Quake3e: mode 24, its own") << "quake3e" << 27 << "24" << QString::fromUtf8("24 — 4096x2160");
        QTest::newRow("ioquake3: mode -2 is the desktop") << "ioquake3" << 14 << "-2"
                                                          << QString::fromUtf8("-2 — desktop resolution");
        QTest::newRow("1.32: no mode -2") << "1.32" << 13 << "-2" << "<none>";
        QTest::newRow("no engine: the catalogue's bare values") << "" << 4 << "6" << "6";
    }

    void openedChoiceListShowsTheEnginesMeanings()
    {
        QFETCH(QString, engine);
        QFETCH(int, count);
        QFETCH(QString, value);
        QFETCH(QString, shown);
        auto fixture = windowFor(engine);
        QAbstractItemView *list = openChoiceList(*fixture);
        QCOMPARE(list->model()->rowCount(), count);
        const int row = rowOf(list, value);
        QCOMPARE(row < 0 ? QString("<none>") : list->model()->index(row, 0).data(Qt::DisplayRole).toString(), shown);
        if (row < 0)
            return;
        // Picked from the opened list, the bare value is shown and stored.
        list->setCurrentIndex(list->model()->index(row, 0));
        QTest::keyClick(list, Qt::Key_Return);
        QTRY_VERIFY(!list->isVisible());
        QCOMPARE(fixture->control<QComboBox>("val_combo")->currentText(), value);
        QCOMPARE(fixture->stored("Video mode"), value);
    }

    void defaultValueIsTheEnginesDefault_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("stored");
        QTest::newRow("Quake3e: 125 frames") << "quake3e" << "Max frames" << "125";
        QTest::newRow("ioquake3: 85 frames") << "ioquake3" << "Max frames" << "85";
        QTest::newRow("1.32: video mode 3") << "1.32" << "Video mode" << "3";
        QTest::newRow("no engine: the catalogue's -2") << "" << "Video mode" << "-2";
    }

    void defaultValueIsTheEnginesDefault()
    {
        QFETCH(QString, engine);
        QFETCH(QString, option);
        QFETCH(QString, stored);
        auto fixture = windowFor(engine);
        QVERIFY(fixture->store->store.Save(option.toStdString(), "7").ok());
        fixture->select(option);
        fixture->click("Command2");
        QCOMPARE(fixture->stored(option.toLatin1().constData()), stored);
        // At the engine's default, the option is not marked changed.
        auto *tree = fixture->control<QTreeWidget>("optiontree");
        QCOMPARE(tree->findItems(option, Qt::MatchExactly | Qt::MatchRecursive).first()->font(0).bold(), false);
    }

    void resetAndMarksFollowTheEngine()
    {
        auto fixture = windowFor("quake3e");
        fixture->click("Command5");
        QCOMPARE(fixture->stored("Max frames"), QString("125"));
        QCOMPARE(fixture->stored("Video mode"), QString("-2"));
        // 85, ioquake3's default, is a change for a Quake3e player.
        QVERIFY(fixture->store->store.Save("Max frames", "85").ok());
        fixture->select("Max frames");
        auto *tree = fixture->control<QTreeWidget>("optiontree");
        QCOMPARE(tree->findItems("Max frames", Qt::MatchExactly | Qt::MatchRecursive).first()->font(0).bold(), true);
    }

    void editorSaysWhatTheEngineMakesOfAValue_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("said");
        QTest::newRow("Quake3e: 2000 frames") << "quake3e" << "2000" << "Quake3e uses 1000 instead (above 1000).";
        QTest::newRow("Quake3e: a word") << "quake3e" << "fast" << "Quake3e uses 125 instead (not a number).";
        QTest::newRow("Quake3e: 200 frames are kept") << "quake3e" << "200" << "";
        QTest::newRow("no engine: nothing said") << "" << "fast" << "";
    }

    void editorSaysWhatTheEngineMakesOfAValue()
    {
        QFETCH(QString, engine);
        QFETCH(QString, typed);
        QFETCH(QString, said);
        auto fixture = windowFor(engine);
        fixture->select("Max frames");
        auto *editor = fixture->control<QLineEdit>("val_value");
        editor->selectAll();
        QTest::keyClicks(editor, typed);
        QCOMPARE(fixture->stored("Max frames"), typed);
        QCOMPARE(editor->toolTip(), said);
        QCOMPARE(editor->palette().color(QPalette::Text) == QColor(Qt::red), !said.isEmpty());
        const QString description = fixture->control<QLabel>("desclbl")->text();
        QVERIFY2(description.startsWith("Frames a second at most."), qPrintable(description));
        QCOMPARE(description.contains(said), true);
    }

    // The catalogue's description already says the restart, which is not
    // said twice.
    void descriptionSaysTheRestartAndWhatIsNotSaved()
    {
        auto fixture = windowFor("quake3e");
        fixture->select("Video mode");
        QCOMPARE(fixture->control<QLabel>("desclbl")->text(), QString("Screen size. Needs vid_restart."));
        fixture->select("Max frames");
        QCOMPARE(fixture->control<QLabel>("desclbl")->text(),
                 QString("Frames a second at most. Quake3e does not save it by itself: only a seta line keeps "
                         "it."));
    }

    void treeMenuChoosesTheEngine_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("stored"); // "name=choice"
        QTest::addColumn<QString>("defaultFrames");
        QTest::newRow("Quake3e") << "engine-quake3e" << "engine=quake3e" << "125";
        QTest::newRow("the 1.32 release") << "engine-1.32" << "engine=1.32" << "85";
        QTest::newRow("detect from the game file, none detected") << "engine-auto" << "engine=auto" << "85";
        QTest::newRow("ioquake3's game code, the engine kept") << "gameCode-ioquake3" << "gameCode=ioquake3"
                                                                << "85";
    }

    void treeMenuChoosesTheEngine()
    {
        QFETCH(QString, action);
        QFETCH(QString, stored);
        QFETCH(QString, defaultFrames);
        auto fixture = windowFor("ioquake3");
        fixture->select("Max frames");
        QStringList checkedBefore;
        QTimer::singleShot(50, [&] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            if (!menu)
                return;
            for (QAction *each : menu->actions())
                if (each->isChecked())
                    checkedBefore << each->objectName();
            if (QAction *chosen = menu->findChild<QAction *>(action))
                menu->setActiveAction(chosen);
            QTest::keyClick(menu, Qt::Key_Return);
        });
        auto *tree = fixture->control<QTreeWidget>("optiontree");
        QContextMenuEvent event(QContextMenuEvent::Keyboard, tree->viewport()->rect().center(),
                                tree->viewport()->mapToGlobal(tree->viewport()->rect().center()));
        QApplication::sendEvent(tree->viewport(), &event);
        QCOMPARE(checkedBefore, QStringList({"engine-ioquake3", "gameCode-auto"}));
        const QStringList choice = stored.split('=');
        QCOMPARE(QString::fromStdString(fixture->store->GetChoice(choice[0].toStdString(), "")), choice[1]);
        fixture->click("Command2");
        QCOMPARE(fixture->stored("Max frames"), defaultFrames);
    }

    void openSaysWhichEngineTheFileLooksWrittenBy()
    {
        auto fixture = windowFor("");
        QByteArray file;
        for (const char *name : {"net_noipx", "net_noudp", "r_customaspect", "r_ext_gamma_control",
                                 "r_lastValidRenderer", "r_smp", "s_separation", "s_khz", "com_maxfps"})
            file += QByteArray("seta ") + name + " \"1\"\n";
        const QString chosen = fixture->path("q3config.cfg");
        testkit::writeFile(chosen, file);
        testkit::whenModalOpens([chosen](QWidget *modal) { testkit::typeIntoFileDialog(modal, chosen); });
        fixture->click("Command4");
        QString details;
        testkit::takeNotice(&details);
        QVERIFY2(details.endsWith("The file looks written by the 1.32 release."), qPrintable(details));
        // With "auto", the engine detected is the one in use.
        fixture->select("Video mode");
        fixture->click("Command2");
        QCOMPARE(fixture->stored("Video mode"), QString("3"));
    }
};

QTEST_MAIN(EngineChoiceTest)
#include "tst_enginechoice.moc"
