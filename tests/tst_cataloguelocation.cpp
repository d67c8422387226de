// SPDX-License-Identifier: GPL-2.0-or-later
#include <QtTest>

#include "cataloguelocation.h"

using namespace cvarden;

class CatalogueLocationTest : public QObject {
    Q_OBJECT

private slots:
    void programReadsTheCatalogueOfWhereItIsInstalled_data()
    {
        QTest::addColumn<QString>("programFolder");
        QTest::addColumn<QString>("installedProgramFolder");
        QTest::addColumn<QString>("catalogueFolder");
        QTest::newRow("installed in /usr/bin: the catalogue installed with it")
            << "/usr/bin" << "/usr/bin" << "/usr/share/cvarden";
        QTest::newRow("the installed folder written another way") << "/usr/bin" << "/usr/bin/" << "/usr/share/cvarden";
        QTest::newRow("run where it was built: the catalogue beside it")
            << "/home/p/cvarden/build/bin" << "/usr/bin" << "/home/p/cvarden/build/bin";
        QTest::newRow("a copy elsewhere, even in a folder named bin: beside it")
            << "/home/p/bin" << "/usr/bin" << "/home/p/bin";
        QTest::newRow("a build for a system without an installed folder: beside it")
            << "C:/Program Files/Cvarden" << "" << "C:/Program Files/Cvarden";
    }

    void programReadsTheCatalogueOfWhereItIsInstalled()
    {
        QFETCH(QString, programFolder);
        QFETCH(QString, installedProgramFolder);
        QFETCH(QString, catalogueFolder);
        QCOMPARE(CatalogueFolderFor(programFolder, installedProgramFolder, "/usr/share/cvarden"), catalogueFolder);
    }

    void testProgramReadsTheCatalogueBesideIt()
    {
        QCOMPARE(DefaultCataloguePath(), QCoreApplication::applicationDirPath() + "/options.dat");
    }
};

QTEST_GUILESS_MAIN(CatalogueLocationTest)
#include "tst_cataloguelocation.moc"
