#include "catalogue/BulkItemUpdateRun.h"
#include "catalogue/IdentifierCodes.h"
#include "catalogue/RepricingBatches.h"

#include "CatalogueAgenda.h"

using namespace orvento;
using namespace orvento::catalogue;
using orvento::testsupport::ScriptedInteraction;
using Kind = ScriptedInteraction::Kind;

namespace {

class BulkItemUpdateRunTest : public testsupport::CatalogueAgenda {
protected:
    qint64 item(const QString& popis, const QString& identif, bool chyba = false) {
        ItemRecord r;
        r.Popis = popis;
        r.Identif = identif;
        r.Chyba = chyba;
        return addItem(r);
    }
    RunEnd run(std::vector<qint64> ids, const BulkUpdateSettings& s) {
        RunSelection selection;
        selection.mode = SelectionMode::MarkedItems;
        selection.marked.items = std::move(ids);
        BulkItemUpdateRun update(db(), ui, {{}, {}, [this](int done, int total) {
                                                if (onStep)
                                                    onStep(done, total);
                                            }});
        const RunEnd end = update.run(selection, s);
        mark = update.mark();
        return end;
    }
    QString text(const char* column, qint64 id) {
        return value(QStringLiteral("SELECT %1 FROM Zasoby WHERE ID = :ID")
                         .arg(QLatin1String(column)),
                     {{QStringLiteral("ID"), id}})
            .toString();
    }
    static BulkUpdateSettings identifiers(IdentifierAction action, const QString& list) {
        BulkUpdateSettings s;
        s.identifiersOn = true;
        s.identifierAction = action;
        s.identifiers = list;
        return s;
    }

    std::function<void(int, int)> onStep;
    QDateTime mark;
};

TEST_F(BulkItemUpdateRunTest, IdentifiersAddedAndRemovedAsCombined) {
    const qint64 ab = item(QStringLiteral("AB"), QStringLiteral("_A_B_"));
    const qint64 empty = item(QStringLiteral("prázdná"), QString());
    const qint64 lower = item(QStringLiteral("malá"), QStringLiteral("_a_"));
    EXPECT_EQ(run({ab, empty, lower}, identifiers(IdentifierAction::Add, QStringLiteral("_B_C_"))),
              RunEnd::Finished);
    EXPECT_EQ(text("Identif", ab), QStringLiteral("_A_B_C_"));
    EXPECT_EQ(text("Identif", empty), QStringLiteral("_B_C_"));
    EXPECT_EQ(text("Identif", lower), QStringLiteral("_A_B_C_"));
    EXPECT_EQ(run({ab, lower}, identifiers(IdentifierAction::Remove, QStringLiteral("_B_C_"))),
              RunEnd::Finished);
    EXPECT_EQ(text("Identif", ab), QStringLiteral("_A_"));
    EXPECT_EQ(run({ab}, identifiers(IdentifierAction::Remove, QStringLiteral("_A_"))),
              RunEnd::Finished);
    EXPECT_EQ(text("Identif", ab), QString());
    // "Nastavit jednotně" with an empty list clears them.
    EXPECT_EQ(run({lower}, identifiers(IdentifierAction::Set, QString())), RunEnd::Finished);
    EXPECT_EQ(text("Identif", lower), QString());
    EXPECT_TRUE(ui.saw(Kind::Information, BulkItemUpdateRun::finishedMessage()));
}

TEST_F(BulkItemUpdateRunTest, ListThatWouldOutgrowItsColumnIsKeptAndListed) {
    QStringList codes;
    for (int i = 0; i < 25; ++i)
        codes << QStringLiteral("KOD%1").arg(i, 5, 10, QLatin1Char('0'));
    const QString full = joinIdentifiers(codes.mid(0, 24)); // 24 × 9 + 1 = 217 characters
    ASSERT_TRUE(fitsIdentifierColumn(full));
    const qint64 longList = item(QStringLiteral("Dlouhá"), full);
    const qint64 shortList = item(QStringLiteral("Krátká"), QStringLiteral("_A_"));
    // Five more codes make 267 characters.
    const QString added = QStringLiteral("_NOVYKOD01_NOVYKOD02_NOVYKOD03_NOVYKOD04_NOVYKOD05_");
    EXPECT_EQ(run({longList, shortList}, identifiers(IdentifierAction::Add, added)),
              RunEnd::Finished);
    EXPECT_EQ(text("Identif", longList), full);
    EXPECT_EQ(text("Identif", shortList), QStringLiteral("_A") + added);
    EXPECT_EQ(ui.problemLines(),
              QStringList{BulkItemUpdateRun::tooLongLine(QStringLiteral("Dlouhá"))});
    // Both items were touched and stamped with the run mark.
    EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM Zasoby WHERE Znacka = :Z"),
                    {{QStringLiteral("Z"), mark}})
                  .toInt(),
              2);
}

TEST_F(BulkItemUpdateRunTest, TextsAndAvailabilityWrittenAsTypedWithoutTouchingTheUnfinishedMark) {
    const qint64 id = item(QStringLiteral("Stará"), QString(), true);
    BulkUpdateSettings s;
    s.katalog = {true, QStringLiteral("K-12345678901234567890-přes")};
    s.poznamka = {true, QStringLiteral("řádek 1\nřádek 2")};
    s.availabilityOn = true;
    s.availability = 4;
    EXPECT_EQ(BulkItemUpdateRun::updateSql(s),
              QStringLiteral("UPDATE Zasoby SET Znacka = :Znacka, Katalog = :Katalog, Poznamka = "
                             ":Poznamka, Dostupnost = :Dostupnost WHERE ID = :ID"));
    EXPECT_EQ(run({id}, s), RunEnd::Finished);
    EXPECT_EQ(text("Popis", id), QStringLiteral("Stará"));
    EXPECT_EQ(text("Katalog", id).size(), ItemWidth::Katalog);
    EXPECT_EQ(text("Poznamka", id), QStringLiteral("řádek 1\nřádek 2"));
    EXPECT_EQ(text("Dostupnost", id), QStringLiteral("P"));
    EXPECT_EQ(value(QStringLiteral("SELECT Chyba FROM Zasoby")).toInt(), 1);
}

TEST_F(BulkItemUpdateRunTest, StopKeepsTheFinishedBatchesAndVanishedItemsAreToldOnce) {
    std::vector<qint64> ids;
    {
        core::Transaction unit(db());
        for (int i = 0; i < 2 * kBatchRows * kBatchesPerUnit; ++i) {
            ids.push_back(item(QStringLiteral("P%1").arg(i), QString()));
            if (i == 0) {
                ids.push_back(88888); // two items deleted on another workstation
                ids.push_back(99999);
            }
        }
        ASSERT_TRUE(unit.commit());
    }
    BulkUpdateSettings s;
    s.zkratka = {true, QStringLiteral("Z")};
    onStep = [](int done, int) {
        if (done > 0)
            core::programState().cancelRequested = true;
    };
    EXPECT_EQ(run(ids, s), RunEnd::Interrupted);
    // The first unit's items stay updated, the others were not touched.
    const int updated =
        value(QStringLiteral("SELECT COUNT(*) FROM Zasoby WHERE Zkratka = 'Z'")).toInt();
    EXPECT_GT(updated, 0);
    EXPECT_LT(updated, 2 * kBatchRows * kBatchesPerUnit);
    EXPECT_LT(
        value(QStringLiteral("SELECT MAX(ID) FROM Zasoby WHERE Zkratka = 'Z'")).toLongLong(),
        value(QStringLiteral("SELECT MIN(ID) FROM Zasoby WHERE Zkratka <> 'Z'")).toLongLong());
    EXPECT_FALSE(ui.saw(Kind::Information, BulkItemUpdateRun::finishedMessage()));
    EXPECT_EQ(ui.texts(Kind::Error),
              QStringList{core::saveFailedMessage(QStringLiteral("Zasoby"))});
    ASSERT_EQ(ui.problemLines().size(), 1);
    EXPECT_TRUE(ui.problemLines().front().contains(QStringLiteral("99999")));
}

} // namespace
