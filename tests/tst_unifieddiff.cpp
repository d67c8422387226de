// SPDX-License-Identifier: GPL-2.0-or-later
#include <QtTest>

#include "unifieddiff.h"

using cvarden::UnifiedDiff;

class UnifiedDiffTest : public QObject {
    Q_OBJECT

private slots:
    void showsOnlyWhatChanged_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<QByteArray>("diff");

        QTest::newRow("the same text") << QByteArray("a\n\r\nb\n\r\n") << QByteArray("a\n\r\nb\n\r\n") << QByteArray();
        QTest::newRow("a changed line between kept ones")
            << QByteArray("a\n\r\nb\n\r\nc\n\r\n") << QByteArray("a\n\r\nB\n\r\nc\n\r\n")
            << QByteArray("--- old\n+++ new\n@@ -1,3 +1,3 @@\n a\n-b\n+B\n c\n");
        QTest::newRow("lines added at the end")
            << QByteArray("a\n\r\n") << QByteArray("a\n\r\nb\n\r\n")
            << QByteArray("--- old\n+++ new\n@@ -1,1 +1,2 @@\n a\n+b\n");
        QTest::newRow("far apart changes make two hunks")
            << QByteArray("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n")
            << QByteArray("x\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\ny\r\n")
            << QByteArray("--- old\n+++ new\n@@ -1,4 +1,4 @@\n-1\n+x\n 2\n 3\n 4\n@@ -7,4 +7,4 @@\n 7\n 8\n 9\n-10\n+y\n");
    }

    void showsOnlyWhatChanged()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QFETCH(QByteArray, diff);
        QCOMPARE(QByteArray::fromStdString(UnifiedDiff(before.toStdString(), after.toStdString(), "old", "new")), diff);
    }
};

QTEST_APPLESS_MAIN(UnifiedDiffTest)
#include "tst_unifieddiff.moc"
