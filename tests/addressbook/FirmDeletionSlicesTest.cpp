// Deleting many firms: several short units, nothing kept alive while one holds the write lock,
// and a failure in a later unit leaves every firm whole with its contacts and documents.
#include "addressbook/AddressBookLogic.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/ProgressScope.h"
#include "support/OpenAgenda.h"
#include "support/RefusedWrites.h"
#include "support/ScriptedInteraction.h"

#include <QDir>

#include <gtest/gtest.h>

#include <vector>

using namespace orvento;
using testsupport::ScriptedInteraction;
using Kind = ScriptedInteraction::Kind;

namespace {

class FirmDeletionSlicesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(
            testsupport::openTestAgenda(env, QStringLiteral("0001.res"), QStringLiteral("FIRMA")));
        QDir().mkpath(core::programState().folders.lock);
        for (const char* table : {"Adresar", "Kontakty", "Dokumenty"})
            db().execute(QStringLiteral("DELETE FROM ") + QString::fromLatin1(table));
        db().setWriteObserver([this](const QString& table) {
            if (table == QLatin1String("Adresar"))
                ++firmUnits;
        });
    }
    void TearDown() override { core::resetProgramState(); }
    static core::Database& db() { return core::programState().db->agenda; }
    int count(const QString& sql) { return db().scalar(sql)->toInt(); }

    // Firms with a contact and a document each, written at once.
    std::vector<qint64> addFirms(int count) {
        std::vector<qint64> ids;
        core::Transaction unit(db());
        core::Statement firm(db(), QStringLiteral("INSERT INTO Adresar (Nazev) VALUES (:Nazev)"));
        core::Statement contact(db(), QStringLiteral("INSERT INTO Kontakty (CisloAdr, Prijmeni) "
                                                     "VALUES (:CisloAdr, 'Novák')"));
        core::Statement document(db(), QStringLiteral("INSERT INTO Dokumenty (CisloAdr, Popis) "
                                                      "VALUES (:CisloAdr, 'smlouva')"));
        for (int i = 0; i < count; ++i) {
            EXPECT_TRUE(firm.exec({{QStringLiteral("Nazev"), QStringLiteral("Firma %1").arg(i)}}));
            ids.push_back(firm.newRowId());
            const core::SqlParams key = {{QStringLiteral("CisloAdr"), ids.back()}};
            EXPECT_TRUE(contact.exec(key));
            EXPECT_TRUE(document.exec(key));
        }
        EXPECT_TRUE(unit.commit());
        firmUnits = 0;
        return ids;
    }

    testsupport::TestEnvironment env;
    ScriptedInteraction ui;
    int firmUnits = 0;
};

TEST_F(FirmDeletionSlicesTest, ManyFirmsGoInSeveralUnitsAndALaterFailureLeavesEveryFirmWhole) {
    constexpr int kFirms = 700;
    const std::vector<qint64> ids = addFirms(kFirms);
    ASSERT_TRUE(testsupport::refuseWrites(db(), QStringLiteral("refuse"), QStringLiteral("DELETE"),
                                          QStringLiteral("Kontakty"),
                                          QStringLiteral("OLD.CisloAdr = %1").arg(ids.back())));
    bool deleted = true;
    {
        core::ProgressScope wait(ui, QStringLiteral("Mazání adres\nprosím čekejte..."), kFirms,
                                 false);
        deleted = addressbook::deleteFirms(db(), ui, ids, &wait);
    }
    EXPECT_FALSE(deleted);
    EXPECT_EQ(ui.texts(Kind::Error),
              QStringList(core::saveFailedMessage(QStringLiteral("Kontakty"))));
    EXPECT_GE(firmUnits, 2);
    EXPECT_EQ(ui.keepAlivesInUnit(), 0);
    EXPECT_GE(ui.progress().size(), 2u) << "the wait window told of each slice";
    const int left = count(QStringLiteral("SELECT count(*) FROM Adresar"));
    EXPECT_GT(left, 0);
    EXPECT_LT(left, kFirms);
    // Every firm is there with its contact and document, or gone with both.
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM Kontakty")), left);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM Dokumenty")), left);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM Kontakty WHERE CisloAdr NOT IN (SELECT "
                                   "ID FROM Adresar)")),
              0);
}

} // namespace
