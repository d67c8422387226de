// SPDX-License-Identifier: GPL-2.0-or-later
#include <QtTest>

#include "unifieddiff.h"

using cvarden::TextEdit;
using cvarden::UnifiedDiff;

using Edits = std::vector<TextEdit>;
Q_DECLARE_METATYPE(Edits)

class UnifiedDiffTest : public QObject {
    Q_OBJECT

private slots:
    void showsOnlyWhatChanged_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<Edits>("edits");
        QTest::addColumn<QByteArray>("diff");

        QTest::newRow("no edit") << QByteArray("a\nb\n") << Edits{} << QByteArray();
        QTest::newRow("a changed line between kept ones, its CR not shown")
            << QByteArray("a\r\nseta b 1\r\nc\r\n") << Edits{{10, 11, "\"2\""}}
            << QByteArray("--- old\n+++ new\n@@ -1,3 +1,3 @@\n a\n-seta b 1\n+seta b \"2\"\n c\n");
        QTest::newRow("lines added at the end")
            << QByteArray("a\n") << Edits{{2, 2, "b\nc\n"}}
            << QByteArray("--- old\n+++ new\n@@ -1,1 +1,3 @@\n a\n+b\n+c\n");
        QTest::newRow("a last line without a line end, rewritten and followed by an addition")
            << QByteArray("x\nseta a 1") << Edits{{9, 10, "2"}, {10, 10, "\nseta b 3\n"}}
            << QByteArray("--- old\n+++ new\n@@ -1,2 +1,3 @@\n x\n-seta a 1\n\\ No newline at end of file\n"
                          "+seta a 2\n+seta b 3\n");
        QTest::newRow("lines that end with a CR alone")
            << QByteArray("a\rseta b 1\rc\r") << Edits{{9, 10, "2"}}
            << QByteArray("--- old\n+++ new\n@@ -1,3 +1,3 @@\n a\n-seta b 1\n+seta b 2\n c\n");
        QTest::newRow("two edits on one line")
            << QByteArray("seta a 1; seta b 1\n") << Edits{{7, 8, "2"}, {17, 18, "3"}}
            << QByteArray("--- old\n+++ new\n@@ -1,1 +1,1 @@\n-seta a 1; seta b 1\n+seta a 2; seta b 3\n");
        QTest::newRow("far apart changes make two hunks")
            << QByteArray("1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n") << Edits{{0, 1, "x"}, {18, 20, "y"}}
            << QByteArray("--- old\n+++ new\n@@ -1,4 +1,4 @@\n-1\n+x\n 2\n 3\n 4\n@@ -7,4 +7,4 @@\n 7\n 8\n 9\n-10\n+y\n");
        QTest::newRow("near changes share a hunk, and a hunk after added lines is numbered after them")
            << QByteArray("1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12\n13\n14\n15\n16\n")
            << Edits{{0, 1, "x\nx2"}, {6, 7, "y"}, {36, 38, "z"}}
            << QByteArray("--- old\n+++ new\n@@ -1,7 +1,8 @@\n-1\n+x\n+x2\n 2\n 3\n-4\n+y\n 5\n 6\n 7\n"
                          "@@ -13,4 +14,4 @@\n 13\n 14\n 15\n-16\n+z\n");
    }

    void showsOnlyWhatChanged()
    {
        QFETCH(QByteArray, before);
        QFETCH(Edits, edits);
        QFETCH(QByteArray, diff);
        QCOMPARE(QByteArray::fromStdString(UnifiedDiff(before.toStdString(), edits, "old", "new")), diff);
    }
};

QTEST_APPLESS_MAIN(UnifiedDiffTest)
#include "tst_unifieddiff.moc"
