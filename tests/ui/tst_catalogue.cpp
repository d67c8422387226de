// SPDX-License-Identifier: GPL-2.0-or-later
#include <QLabel>

#include "../outcomes.h"
#include "loader.h"
#include "windowtestkit.h"

// The catalogue that ships with Cvarden, loaded by the real loader and shown
// in the real window. How it matches the engines is tst_cataloguefacts' job.
class CatalogueTest : public QObject {
    Q_OBJECT

private:
    const std::string shipped = CVARDEN_SAMPLE_DATA "/options.dat";
    cvarden::Catalogue catalogue;

private slots:
    void initTestCase()
    {
        QCOMPARE(cvarden::OpenOptions(shipped, catalogue, cvarden::Checks::Thorough), cvarden::Failure::None);
        const std::vector<cvarden::CatalogueFinding> &findings = catalogue.findings;
        // No entry without its option, no parent that is no folder, no "?" in
        // a key line, no display name twice, no on/off default but 0 or 1, no
        // choice default that is no choice, no missing choice list.
        for (const cvarden::CatalogueFinding &finding : findings)
            qWarning("options.dat:%zu: %s", finding.line, finding.text.c_str());
        QCOMPARE(findings.size(), std::size_t(0));
    }

    void everyEntryIsAnOptionOfAFolder()
    {
        std::size_t options = 0;
        for (const cvarden::OptionNode &option : catalogue.options())
            QCOMPARE(option.ordinal, ++options);
        QVERIFY2(options >= 300, qPrintable(QString::number(options)));
    }

    void everyDescriptionFitsItsTwoLines()
    {
        testkit::WindowFixture fixture;
        const auto *label = fixture.control<QLabel>("desclbl");
        const QFontMetrics metrics(label->font());
        for (const cvarden::OptionNode &node : catalogue.options()) {
            const QString text = QString::fromLatin1(catalogue.descriptionOf(node));
            QVERIFY2(!text.isEmpty(), node.text.c_str());
            const QRect needed = metrics.boundingRect(QRect(0, 0, label->width(), 10000), Qt::TextWordWrap, text);
            QVERIFY2(needed.height() <= label->height(), qPrintable(QString::fromStdString(node.text) + ": " + text));
        }
    }
};

QTEST_MAIN(CatalogueTest)
#include "tst_catalogue.moc"
