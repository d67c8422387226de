// SPDX-License-Identifier: GPL-2.0-or-later
#include <QtTest>

#include "optionkey.h"

using namespace Module1;

class OptionKeyTest : public QObject {
    Q_OBJECT

private slots:
    void accessorsReadTheirFields_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("varName");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("ordinal");
        QTest::addColumn<QString>("defaultValue");

        QTest::newRow("a VALUE key") << "vid_rate?x?VALUE?7?1.5" << "vid_rate" << "VALUE" << "7" << "1.5";
        QTest::newRow("a CHECK key") << "vid_full?x?CHECK?8?x?1" << "vid_full" << "CHECK" << "8" << "1";
        QTest::newRow("a COMBO key") << "snd_rate?x?COMBO?9?3?11?22?44?x?22" << "snd_rate" << "COMBO" << "9" << "22";
        QTest::newRow("a folder key yields nothing") << "Display" << "" << "" << "" << "";
        QTest::newRow("one separator") << "a?b" << "a" << "" << "" << "b";
        QTest::newRow("the kind must be closed") << "a?b?c" << "a" << "" << "" << "c";
        QTest::newRow("a closed kind, empty default") << "a?b?c?" << "a" << "c" << "" << "";
        QTest::newRow("the ordinal must be closed") << "a?b?c?d" << "a" << "c" << "" << "d";
        QTest::newRow("a lone separator") << "?" << "" << "" << "" << "";
        QTest::newRow("an empty default") << "a?x?VALUE?3?" << "a" << "VALUE" << "3" << "";
        QTest::newRow("a default holding a question mark") << "a?x?VALUE?3?why?not" << "a" << "VALUE" << "3" << "not";
        QTest::newRow("the empty key") << "" << "" << "" << "" << "";
    }

    void accessorsReadTheirFields()
    {
        QFETCH(QString, key);
        const std::string bytes = key.toStdString();
        const std::string before = bytes;
        QFETCH(QString, varName);
        QCOMPARE(QString::fromStdString(OptionVarName(bytes)), varName);
        QFETCH(QString, kind);
        QFETCH(QString, ordinal);
        QFETCH(QString, defaultValue);
        QCOMPARE(QString::fromStdString(OptionKind(bytes)), kind);
        QCOMPARE(QString::fromStdString(OptionOrdinal(bytes)), ordinal);
        QCOMPARE(QString::fromStdString(OptionDefault(bytes)), defaultValue);
        QCOMPARE(bytes, before);
    }

    void choicesFollowTheCount_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QStringList>("choices");

        QTest::newRow("three choices, tail not offered")
            << "snd_rate?x?COMBO?9?3?11?22?44?x?22" << QStringList{"11", "22", "44"};
        QTest::newRow("count 0") << "a?x?COMBO?1?0?x?d" << QStringList{};
        QTest::newRow("fifth field not closed") << "a?x?COMBO?1?3" << QStringList{};
        QTest::newRow("count not a number") << "a?x?COMBO?1?three?a?b?c?x?d" << QStringList{};
        QTest::newRow("negative count") << "a?x?COMBO?1?-2?a?b?x?d" << QStringList{};
        QTest::newRow("count with a blank") << "a?x?COMBO?1? 2?a?b?x?d" << QStringList{};
        QTest::newRow("empty count") << "a?x?COMBO?1??a?x?d" << QStringList{};
        QTest::newRow("empty and repeated choices stay")
            << "a?x?COMBO?1?3??b?b?x?b" << QStringList{"", "b", "b"};
        QTest::newRow("a count beyond the fields reads what is there")
            << "a?x?COMBO?1?999999999999999999999999?p?q?d" << QStringList{"p", "q"};
        QTest::newRow("a folder key") << "Display" << QStringList{};
    }

    void choicesFollowTheCount()
    {
        QFETCH(QString, key);
        QFETCH(QStringList, choices);
        QStringList got;
        for (const std::string &choice : OptionChoices(key.toStdString()))
            got << QString::fromStdString(choice);
        QCOMPARE(got, choices);
    }

    void wholeNumbersAreDigitsOnly_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qulonglong>("number");
        QTest::newRow("digits") << "42" << 42ull;
        QTest::newRow("leading zeros") << "007" << 7ull;
        QTest::newRow("empty") << "" << 0ull;
        QTest::newRow("sign") << "+3" << 0ull;
        QTest::newRow("trailing blank") << "3 " << 0ull;
        QTest::newRow("saturates") << "123456789012345678901234567890" << ~0ull;
    }

    void wholeNumbersAreDigitsOnly()
    {
        QFETCH(QString, text);
        QFETCH(qulonglong, number);
        QCOMPARE(WholeNumber(text.toStdString()), number);
    }
};

QTEST_APPLESS_MAIN(OptionKeyTest)
#include "tst_optionkey.moc"
