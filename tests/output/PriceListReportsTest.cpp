#include "core/AgendaSettings.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/SilentInteraction.h"
#include "dastrel/ReportRenderer.h"
#include "output/DataSetReader.h"
#include "output/DataSetWriter.h"
#include "output/PriceListTables.h"
#include "support/OpenAgenda.h"
#include "support/ScriptedInteraction.h"

#include "BuiltInRender.h"
#include "PdfProbe.h"

#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace orvento;
using testsupport::pdfText;

namespace {

// Every built-in price-list report over the demo catalogue, rendered to a PDF and read back:
// the firm, the heading, the sheets, the groups (with groups only), the items with their
// prices, the dealer columns under their headings (one without a heading left out), the note
// under its item only in the layouts with notes, and the page numbers.
class PriceListReportsTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        if (testsupport::popplerMissing())
            GTEST_SKIP() << "the poppler tools (poppler-utils) are not installed";
        ASSERT_TRUE(
            testsupport::openTestAgenda(env, QStringLiteral("0003.res"), QStringLiteral("DEMO")));
        core::SilentInteraction silent;
        ASSERT_TRUE(core::loadAgendaSettings(db(), env.dataFolder(), QStringLiteral("DEMO"),
                                             state().settings, silent));
        QSqlQuery first = db().select(QStringLiteral(
            "SELECT ID, Popis FROM Zasoby WHERE Nakladova = 0 ORDER BY Popis LIMIT 1"));
        ASSERT_TRUE(first.next());
        itemId = first.value(0).toLongLong();
        first.finish();
        ASSERT_TRUE(db().execute(QStringLiteral("UPDATE Zasoby SET Poznamka = :P WHERE ID = :ID"),
                                 {{QStringLiteral("P"), QStringLiteral("Dodáváme do týdne")},
                                  {QStringLiteral("ID"), itemId}}));
    }
    void TearDown() override { core::resetProgramState(); }

    static core::ProgramState& state() { return core::programState(); }
    static core::Database& db() { return state().db->agenda; }

    testsupport::TestEnvironment env;
    qint64 itemId = 0;
};

TEST_P(PriceListReportsTest, RendersThePriceList) {
    const QString name = QString::fromLatin1(GetParam());
    const bool groups = name.contains(QLatin1String("SK"));
    const bool notes = name.endsWith(QLatin1Char('P'));
    const bool dealer = name.startsWith(QLatin1String("_CEND"));
    core::CatalogueView view;
    view.sheetId = 1;
    view.groupsShown = groups;
    output::PriceListSettings s;
    s.sheets = output::SheetChoice::All;
    s.ownHeading = true;
    s.ownHeadingText = QStringLiteral("Ceník jaro 2026");
    s.dealer = dealer;
    s.columns[0].source = output::PriceColumn::basicPrice();
    s.columns[0].heading = QStringLiteral("Základní");
    s.columns[1].source = QStringLiteral("VO");
    s.columns[1].heading = QStringLiteral("Velkoobchod");
    s.columns[3].source = QStringLiteral("DEALER");
    s.columns[3].heading = QStringLiteral("Dealer");
    s.columns[5].source = QStringLiteral("AKCE");
    s.columns[5].heading = QStringLiteral("Akce");
    testsupport::ScriptedInteraction ui;
    const output::ReportContext context{state().settings, state().user, db(), nullptr};
    const auto tables = output::fillPriceListTables(context, view, s, ui);
    ASSERT_TRUE(tables);
    output::DataSetWriter writer(QStringLiteral("ReportDataset"));
    output::addPriceListTables(writer, *tables);
    QString error;
    const auto data = output::readDataSetText(writer.text().toUtf8(), &error);
    ASSERT_TRUE(data) << error.toStdString();

    QTemporaryDir dir;
    const QString pdf = testsupport::renderBuiltIn(name, *data, dir);
    const QString text = pdfText(pdf).simplified();
    EXPECT_TRUE(text.contains(QStringLiteral("Ceník jaro 2026")));
    EXPECT_TRUE(text.contains(state().settings.nazev.simplified()));
    EXPECT_TRUE(text.contains(tables->sheets.value(0, QStringLiteral("Nazev")).toString()));
    EXPECT_TRUE(text.contains(QStringLiteral("Strana 1 z")));
    if (groups) {
        EXPECT_TRUE(text.contains(tables->groups.value(0, QStringLiteral("Nazev")).toString()));
    }
    const QString first = tables->items.value(0, QStringLiteral("Popis")).toString().simplified();
    EXPECT_TRUE(text.contains(first.left(20))) << first.toStdString();
    EXPECT_EQ(text.contains(QStringLiteral("Dodáváme do týdne")), notes);
    if (dealer) {
        EXPECT_TRUE(text.contains(QStringLiteral("Velkoobchod")));
        EXPECT_TRUE(text.contains(QStringLiteral("Dealer")));
        EXPECT_EQ(text.contains(QStringLiteral("Akce")), name.startsWith(QLatin1String("_CEND6")));
        EXPECT_TRUE(text.contains(
            dastrel::czechAmount(tables->items.value(0, QStringLiteral("Cena1")).toDouble())));
    } else {
        EXPECT_TRUE(text.contains(QStringLiteral("Cena s DPH")));
        EXPECT_TRUE(text.contains(
            dastrel::czechAmount(tables->items.value(0, QStringLiteral("PrCenaSDPH")).toDouble())));
    }
    if (const QByteArray keep = qgetenv("ORVENTO_REPORT_PICTURES"); !keep.isEmpty())
        testsupport::pdfFirstPage(pdf, 70).save(QString::fromLocal8Bit(keep) + QLatin1Char('/') +
                                                name + QStringLiteral(".png"));
}

INSTANTIATE_TEST_SUITE_P(BuiltIn, PriceListReportsTest,
                         ::testing::Values("_CENSK", "_CENSKP", "_CEND4SK", "_CEND4SKP", "_CEND6SK",
                                           "_CEND6SKP", "_CEN", "_CENP", "_CEND4", "_CEND4P",
                                           "_CEND6", "_CEND6P"));

} // namespace
