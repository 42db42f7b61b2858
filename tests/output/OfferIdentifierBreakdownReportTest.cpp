#include "core/Database.h"
#include "core/ProgramState.h"
#include "output/ReportData.h"
#include "support/OpenAgenda.h"

#include <QSqlQuery>

#include <gtest/gtest.h>

using namespace orvento;

namespace {

class OfferIdentifierBreakdownReportTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(
            testsupport::openTestAgenda(env, QStringLiteral("0003.res"), QStringLiteral("DEMO")));
        core::programState().user.nakupniCeny = true;
    }
    void TearDown() override { core::programState().user.nakupniCeny = true; }

    static core::Database& db() { return core::programState().db->agenda; }
    static output::ReportContext context() {
        return {core::programState().settings, core::programState().user, db(), nullptr};
    }
    // The printed items' net sum of an offer carrying the code, as the database adds it up.
    static double printedNet(qint64 offer, const QString& code) {
        return db()
            .scalar(QStringLiteral("SELECT COALESCE(SUM(PCBDPHPOL), 0) FROM NabPolozky "
                                   "WHERE CisloNab = :N AND Nakladova = 0 AND "
                                   "CZECH_FIND(Identif, :Code) > 0"),
                    {{QStringLiteral("N"), offer},
                     {QStringLiteral("Code"), QLatin1Char('_') + code + QLatin1Char('_')}})
            .value_or(QVariant())
            .toDouble();
    }

    testsupport::TestEnvironment env;
};

// Every demo offer prints the breakdown of its printed items: the defined names, the left-out
// promotion missing, a cost item carrying a shown identifier not counted.
TEST_F(OfferIdentifierBreakdownReportTest, DemoOffersPrintTheirBreakdown) {
    std::vector<qint64> offers;
    QSqlQuery q = db().select(QStringLiteral("SELECT ID FROM Nabidky ORDER BY ID"));
    while (q.next())
        offers.push_back(q.value(0).toLongLong());
    q.finish();
    ASSERT_FALSE(offers.empty());
    ASSERT_TRUE(db().execute(
        QStringLiteral("INSERT INTO NabPolozky (CisloNab, Poradi, Popis, PocetMJ, PCBDPHPOL, "
                       "PCSDPHPOL, Nakladova, Identif) VALUES (:N, 99, 'Doprava', 1, 999, 999, -1, "
                       "'_HW_')"),
        {{QStringLiteral("N"), offers.back()}}));

    int rows = 0;
    for (const qint64 offer : offers) {
        const auto report = output::offerReport(context(), offer);
        ASSERT_TRUE(report);
        const output::ReportTable& table = report->identifiers;
        EXPECT_EQ(table.name(), QStringLiteral("mtRozpisIdentif"));
        for (int r = 0; r < table.rowCount(); ++r, ++rows) {
            const QString code = table.value(r, QStringLiteral("ZkrIdent")).toString();
            SCOPED_TRACE(code.toStdString());
            EXPECT_NE(code, QStringLiteral("AKCE"));
            EXPECT_FALSE(table.value(r, QStringLiteral("PopisIdent")).toString().isEmpty());
            EXPECT_FALSE(table.value(r, QStringLiteral("Nepouzivat")).toBool());
            EXPECT_NEAR(table.value(r, QStringLiteral("ProdBDPH")).toDouble(),
                        printedNet(offer, code), 0.0001);
        }
    }
    EXPECT_GE(rows, 4);

    // Without the purchase-price right the print carries no purchase price or profit.
    core::programState().user.nakupniCeny = false;
    const auto hidden = output::offerReport(context(), offers.back());
    ASSERT_TRUE(hidden);
    ASSERT_GT(hidden->identifiers.rowCount(), 0);
    EXPECT_DOUBLE_EQ(hidden->identifiers.value(0, QStringLiteral("NakCena")).toDouble(), 0.0);
    EXPECT_DOUBLE_EQ(hidden->identifiers.value(0, QStringLiteral("Zisk")).toDouble(), 0.0);
    EXPECT_GT(hidden->identifiers.value(0, QStringLiteral("ProdSDPH")).toDouble(), 0.0);
}

} // namespace
