#include "offers/OfferListLogic.h"

#include "core/Database.h"
#include "core/ProgramState.h"
#include "services/ActionHistory.h"
#include "services/RecordLock.h"
#include "services/RecordRefresh.h"
#include "support/OpenAgenda.h"
#include "support/RefusedWrites.h"
#include "support/ScriptedInteraction.h"
#include "support/TestContext.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace orvento;
using offers::OfferFilter;
using offers::OfferListLogic;
using testsupport::ScriptedInteraction;
using Kind = ScriptedInteraction::Kind;

namespace {

class OfferListTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(
            testsupport::openTestAgenda(env, QStringLiteral("0001.res"), QStringLiteral("Firma")));
        QDir().mkpath(state().folders.lock);
        for (const char* table : {"Nabidky", "NabPolozky", "DokumentyNab", "Akce"})
            db().execute(QStringLiteral("DELETE FROM ") + QString::fromLatin1(table));
    }

    static core::ProgramState& state() { return core::programState(); }
    static core::Database& db() { return state().db->agenda; }

    qint64 add(const QString& doklad, const QString& firm, int offerState = 0, int author = 0,
               const QDate& valid = {}, const QDate& settled = {}, double total = 0.0,
               bool locked = false) {
        EXPECT_TRUE(db().execute(
            QStringLiteral("INSERT INTO Nabidky (Doklad, AdrNazev, Popis, IDStav, VytvorID, "
                           "Vytvoril, DatPlatnosti, DatVyrizeni, Celkem, CelkemBDPH, Zisk, Zamek) "
                           "VALUES (:Doklad, :AdrNazev, :Popis, :IDStav, :VytvorID, :Vytvoril, "
                           ":DatPlatnosti, :DatVyrizeni, :Celkem, :CelkemBDPH, :Zisk, :Zamek)"),
            {{QStringLiteral("Doklad"), doklad},
             {QStringLiteral("AdrNazev"), firm},
             {QStringLiteral("Popis"), QString()},
             {QStringLiteral("IDStav"), offerState},
             {QStringLiteral("VytvorID"), author},
             {QStringLiteral("Vytvoril"), QStringLiteral("Uživatel %1").arg(author)},
             {QStringLiteral("DatPlatnosti"), valid.isValid() ? QVariant(valid) : QVariant()},
             {QStringLiteral("DatVyrizeni"), settled.isValid() ? QVariant(settled) : QVariant()},
             {QStringLiteral("Celkem"), total * 1.21},
             {QStringLiteral("CelkemBDPH"), total},
             {QStringLiteral("Zisk"), total / 10},
             {QStringLiteral("Zamek"), locked}}));
        return db().newRowId();
    }

    // An offer with an item, a document and a history row.
    qint64 addWithDetails(const QString& doklad, bool locked = false) {
        const qint64 id = add(doklad, QStringLiteral("Firma"), 0, 0, {}, {}, 100, locked);
        const core::SqlParams offer = {{QStringLiteral("CisloNab"), id}};
        EXPECT_TRUE(db().execute(
            QStringLiteral("INSERT INTO NabPolozky (CisloNab, Popis) VALUES (:CisloNab, 'x')"),
            offer));
        EXPECT_TRUE(db().execute(
            QStringLiteral("INSERT INTO DokumentyNab (CisloNab, Popis) VALUES (:CisloNab, 'd')"),
            offer));
        EXPECT_TRUE(services::recordOfferSave(db(), id, services::ActionType::Created,
                                              QStringLiteral("s"), services::HistoryLevel::Basic));
        return id;
    }

    qint64 countOf(const QString& table, const QString& column, qint64 id) {
        return db()
            .scalar(QStringLiteral("SELECT COUNT(*) FROM ") + table + QStringLiteral(" WHERE ") +
                        column + QStringLiteral(" = :ID"),
                    {{QStringLiteral("ID"), id}})
            .value_or(-1)
            .toLongLong();
    }

    bool exists(qint64 id) { return countOf(QStringLiteral("Nabidky"), QStringLiteral("ID"), id); }

    std::vector<QString> shownNumbers(OfferListLogic& list) {
        std::vector<QString> numbers;
        for (int row = 0; row < list.rows().rowCount(); ++row)
            numbers.push_back(list.rows().value(row, QStringLiteral("Doklad")).toString());
        return numbers;
    }

    OfferFilter textFilter(const QString& text) {
        OfferFilter f;
        f.active = true;
        f.byFirmText = true;
        f.firmText = text;
        return f;
    }

    testsupport::TestEnvironment env;
    ScriptedInteraction ui;
    testsupport::TestContext test{ui};
};

TEST_F(OfferListTest, PrefilterListIsParsedIntoNumbersAndAnEmptyListShowsNothing) {
    for (int author : {0, 3, 7, 9})
        add(QStringLiteral("NB%1").arg(author), QStringLiteral("F"), 0, author);
    state().user.vsechnyNabidky = false;
    const auto shown = [&](const QString& list) {
        state().user.prefiltrNabidkyVytvorId = list;
        OfferListLogic list_(test.context);
        EXPECT_TRUE(list_.open());
        return shownNumbers(list_);
    };
    EXPECT_EQ(shown(QStringLiteral("3;7")), (std::vector<QString>{"NB3", "NB7"}));
    EXPECT_TRUE(shown(QString()).empty());
    // Text that is not a number never reaches the statement.
    EXPECT_EQ(shown(QStringLiteral("9;0) OR (1=1;x")), (std::vector<QString>{"NB9"}));
    state().user.vsechnyNabidky = true;
    EXPECT_EQ(shown(QString()).size(), 4u);
    EXPECT_FALSE(ui.sawContaining(Kind::Error, QString()));
}

TEST_F(OfferListTest, TextFiltersMatchCzechLettersInAnyCaseAndTypedCharactersLiterally) {
    add(QStringLiteral("A"), QStringLiteral("STAVEBNINY ČÍŽEK"));
    add(QStringLiteral("B"), QStringLiteral("Řezivo O'Neil"));
    add(QStringLiteral("C"), QStringLiteral("Sleva 50% na vše"));
    add(QStringLiteral("D"), QStringLiteral("Sleva 500 Kč"));
    add(QStringLiteral("E"), QStringLiteral("Cizek_a_spol"));
    OfferListLogic list(test.context);
    ASSERT_TRUE(list.open());

    ASSERT_TRUE(list.applyFilter(textFilter(QStringLiteral("čížek"))));
    EXPECT_EQ(shownNumbers(list), (std::vector<QString>{"A"}));
    ASSERT_TRUE(list.applyFilter(textFilter(QStringLiteral("řEZIVO o'n"))));
    EXPECT_EQ(shownNumbers(list), (std::vector<QString>{"B"}));
    ASSERT_TRUE(list.applyFilter(textFilter(QStringLiteral("50%"))));
    EXPECT_EQ(shownNumbers(list), (std::vector<QString>{"C"}));
    ASSERT_TRUE(list.applyFilter(textFilter(QStringLiteral("k_a"))));
    EXPECT_EQ(shownNumbers(list), (std::vector<QString>{"E"}));
    EXPECT_TRUE(list.filterActive());

    // A checked text condition left empty keeps the dialog open and the filter as it was.
    EXPECT_FALSE(list.applyFilter(textFilter(QString())));
    EXPECT_TRUE(ui.saw(Kind::Warning, QStringLiteral("Vyplňte políčko \"s názvem firmy "
                                                     "obsahující text\" nebo tuto položku "
                                                     "vypněte.")));
    EXPECT_EQ(shownNumbers(list), (std::vector<QString>{"E"}));

    OfferFilter off = textFilter(QString());
    off.active = false;
    ASSERT_TRUE(list.applyFilter(off));
    EXPECT_FALSE(list.filterActive());
    EXPECT_EQ(list.rows().rowCount(), 5);
}

TEST_F(OfferListTest, UnsettledWithStateShowsSentOffersWithoutSettlementDate) {
    const QDate day(2024, 3, 15);
    add(QStringLiteral("sent"), QStringLiteral("F"), 1);
    add(QStringLiteral("sentSettled"), QStringLiteral("F"), 1, 0, {}, day);
    add(QStringLiteral("draft"), QStringLiteral("F"), 0);
    add(QStringLiteral("closed"), QStringLiteral("F"), 3, 0, {}, day);
    OfferListLogic list(test.context);
    ASSERT_TRUE(list.open());
    OfferFilter f;
    f.active = true;
    f.byState = true;
    f.state = 1;
    f.unsettled = true;
    ASSERT_TRUE(list.applyFilter(f));
    EXPECT_EQ(shownNumbers(list), (std::vector<QString>{"sent"}));

    // Date bounds are whole days: a settlement at noon of the last day is inside.
    ASSERT_TRUE(
        db().execute(QStringLiteral("UPDATE Nabidky SET DatVyrizeni = :D WHERE Doklad = 'closed'"),
                     {{QStringLiteral("D"), QDateTime(day, QTime(12, 30))}}));
    OfferFilter range;
    range.active = true;
    range.settled = {true, day, day};
    ASSERT_TRUE(list.applyFilter(range));
    EXPECT_EQ(shownNumbers(list), (std::vector<QString>{"closed", "sentSettled"}));
}

TEST_F(OfferListTest, ExpiredOpenOfferIsBoldButSettledOneIsNot) {
    const QDate yesterday = QDate::currentDate().addDays(-1);
    add(QStringLiteral("1"), QStringLiteral("F"), 0, 0, yesterday);
    add(QStringLiteral("2"), QStringLiteral("F"), 3, 0, yesterday);
    add(QStringLiteral("3"), QStringLiteral("F"), 0, 0, QDate::currentDate());
    OfferListLogic list(test.context);
    ASSERT_TRUE(list.open());
    auto expired = [&](int row) {
        return list.rows()
            .data(list.rows().index(row, 0), offers::OfferListModel::ExpiredRole)
            .toBool();
    };
    EXPECT_TRUE(expired(0));
    EXPECT_FALSE(expired(1));
    EXPECT_FALSE(expired(2));
}

TEST_F(OfferListTest, DeletionTakesItemsDocumentsAndHistoryAndMovesToTheNeighbour) {
    const qint64 a = addWithDetails(QStringLiteral("A"));
    const qint64 b = addWithDetails(QStringLiteral("B"));
    const qint64 c = addWithDetails(QStringLiteral("C"));
    OfferListLogic list(test.context);
    ASSERT_TRUE(list.open());

    list.setCurrentRow(2);
    ui.answer(true);
    list.removeSelected();
    EXPECT_FALSE(exists(c));
    EXPECT_EQ(countOf(QStringLiteral("NabPolozky"), QStringLiteral("CisloNab"), c), 0);
    EXPECT_EQ(countOf(QStringLiteral("DokumentyNab"), QStringLiteral("CisloNab"), c), 0);
    EXPECT_EQ(countOf(QStringLiteral("Akce"), QStringLiteral("ObjectID"), c), 0);
    EXPECT_EQ(list.currentId(), b); // the last one went: the one before it

    list.setCurrentRow(0);
    ui.answer(true);
    list.removeSelected();
    EXPECT_EQ(list.currentId(), b); // the one that followed
    ui.answer(true);
    list.removeSelected();
    EXPECT_FALSE(exists(a) || exists(b));
    EXPECT_EQ(list.rows().rowCount(), 0);
    EXPECT_EQ(list.currentRow(), -1);
    const offers::OfferListButtons buttons = list.buttons();
    EXPECT_FALSE(buttons.edit || buttons.copy || buttons.remove || buttons.other);
}

TEST_F(OfferListTest, DeletionThatFailsHalfWayLeavesTheWholeOffer) {
    const qint64 id = addWithDetails(QStringLiteral("A"));
    ASSERT_TRUE(testsupport::refuseWrites(db(), QStringLiteral("refuse"), QStringLiteral("DELETE"),
                                          QStringLiteral("DokumentyNab")));
    OfferListLogic list(test.context);
    ASSERT_TRUE(list.open());
    ui.answer(true);
    list.removeSelected();
    EXPECT_TRUE(ui.saw(Kind::Error, core::saveFailedMessage(QStringLiteral("DokumentyNab"))));
    EXPECT_TRUE(exists(id));
    EXPECT_EQ(countOf(QStringLiteral("NabPolozky"), QStringLiteral("CisloNab"), id), 1);
    EXPECT_EQ(list.currentId(), id);
}

TEST_F(OfferListTest, MultipleDeletionStopsAtALockedOfferOrOneInUseElsewhere) {
    const qint64 a = addWithDetails(QStringLiteral("A"));
    const qint64 b = addWithDetails(QStringLiteral("B"), true);
    const qint64 c = addWithDetails(QStringLiteral("C"));
    const qint64 d = addWithDetails(QStringLiteral("D"));
    OfferListLogic list(test.context);
    ASSERT_TRUE(list.open());
    list.markAll();
    ui.answer(true);
    list.removeSelected();
    EXPECT_TRUE(ui.saw(Kind::Warning, QStringLiteral("Uzamčený doklad není možné smazat.")));
    EXPECT_FALSE(exists(a));
    EXPECT_TRUE(exists(b) && exists(c) && exists(d));
    EXPECT_TRUE(list.rows().marks().empty());

    // An offer open in its card on another workstation is not deleted either.
    services::RecordLock held;
    ASSERT_EQ(services::RecordLock::take(QStringLiteral("Nabidky"), c, ui, held),
              services::RecordLock::State::Held);
    list.setCurrentRow(*list.rows().rowOfId(c));
    ui.answer(true);
    list.removeSelected();
    EXPECT_TRUE(ui.saw(Kind::Warning, services::recordInUseDeleteMessage()));
    EXPECT_TRUE(exists(c));
}

TEST_F(OfferListTest, RightsRefuseDeletionAndLocksBelowTheirLevels) {
    const qint64 id = add(QStringLiteral("A"), QStringLiteral("F"));
    state().user.nabidky = core::AccessLevel::ReadOnly;
    OfferListLogic list(test.context);
    ASSERT_TRUE(OfferListLogic::mayOpen(ui));
    ASSERT_TRUE(list.open());
    list.removeSelected();
    list.setLocked(true);
    EXPECT_EQ(ui.texts(Kind::Information).count(core::noRightsMessage()), 2);
    EXPECT_TRUE(exists(id));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT Zamek FROM Nabidky"))->toInt(), 0);

    state().user.nabidky = core::AccessLevel::Denied;
    EXPECT_FALSE(OfferListLogic::mayOpen(ui));
}

TEST_F(OfferListTest, LockingMarkedOffersReportsAFailureAndLeavesTheSliceUnchanged) {
    add(QStringLiteral("A"), QStringLiteral("F"));
    add(QStringLiteral("B"), QStringLiteral("F"));
    OfferListLogic list(test.context);
    ASSERT_TRUE(list.open());
    list.markAll();
    list.setLocked(true);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT SUM(Zamek) FROM Nabidky"))->toInt(), 2);
    EXPECT_EQ(list.rows().data(list.rows().index(0, 8)).toString(), QStringLiteral("×"));

    ASSERT_TRUE(testsupport::refuseWrites(db(), QStringLiteral("refuse"), QStringLiteral("UPDATE"),
                                          QStringLiteral("Nabidky"),
                                          QStringLiteral("NEW.Doklad = 'B'")));
    list.setLocked(false);
    EXPECT_TRUE(ui.saw(Kind::Error, core::saveFailedMessage(QStringLiteral("Nabidky"))));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT SUM(Zamek) FROM Nabidky"))->toInt(), 2);
}

TEST_F(OfferListTest, SumsCoverMarksOrEveryShownOfferPerState) {
    add(QStringLiteral("A"), QStringLiteral("F"), 0, 0, {}, {}, 100);
    add(QStringLiteral("B"), QStringLiteral("F"), 1, 0, {}, {}, 200);
    add(QStringLiteral("C"), QStringLiteral("G"), 1, 0, {}, {}, 400);
    OfferListLogic list(test.context);
    ASSERT_TRUE(list.open());
    ASSERT_TRUE(list.applyFilter(textFilter(QStringLiteral("f"))));
    auto sums = list.sums();
    ASSERT_TRUE(sums);
    EXPECT_FALSE(sums->ofMarks);
    EXPECT_EQ(sums->all.count, 2);
    EXPECT_DOUBLE_EQ(sums->all.withoutVat, 300);
    EXPECT_EQ(sums->byState[1].count, 1);
    EXPECT_DOUBLE_EQ(sums->byState[1].profit, 20);

    list.toggleMark(1);
    sums = list.sums();
    ASSERT_TRUE(sums);
    EXPECT_TRUE(sums->ofMarks);
    EXPECT_EQ(sums->all.count, 1);
    EXPECT_DOUBLE_EQ(sums->all.withoutVat, 200);
}

TEST_F(OfferListTest, CurrentOfferAndSortAreRememberedAndQuickFindIgnoresCase) {
    add(QStringLiteral("NB3"), QStringLiteral("Žába"));
    const qint64 second = add(QStringLiteral("NB1"), QStringLiteral("čáp"));
    add(QStringLiteral("NB2"), QStringLiteral("Cihla"));
    {
        OfferListLogic list(test.context);
        ASSERT_TRUE(list.open());
        EXPECT_EQ(shownNumbers(list), (std::vector<QString>{"NB1", "NB2", "NB3"}));
        ASSERT_TRUE(list.sortBy(QStringLiteral("AdrNazev")));
        EXPECT_EQ(shownNumbers(list), (std::vector<QString>{"NB2", "NB1", "NB3"}));
        EXPECT_EQ(list.quickFind(QStringLiteral("ČÁ")).value_or(-1), 1);
        EXPECT_EQ(list.currentId(), second);
        EXPECT_FALSE(list.sortBy(QStringLiteral("Popis")));
        // Nor by the profit while it is hidden: the order would give it away.
        state().user.nakupniCeny = false;
        EXPECT_FALSE(list.sortBy(QStringLiteral("Zisk")));
        state().user.nakupniCeny = true;
        list.close();
    }
    OfferListLogic again(test.context);
    ASSERT_TRUE(again.open());
    EXPECT_EQ(again.rows().sortField(), QStringLiteral("ADRNAZEV"));
    EXPECT_EQ(again.currentId(), second);
}

TEST_F(OfferListTest, OffersWithoutAValidityDateComeFirstWhenSortedByIt) {
    add(QStringLiteral("NB1"), QStringLiteral("A"), 0, 0, QDate(2026, 3, 1));
    add(QStringLiteral("NB2"), QStringLiteral("B"));
    add(QStringLiteral("NB3"), QStringLiteral("C"), 0, 0, QDate(2026, 1, 15));
    add(QStringLiteral("NB4"), QStringLiteral("D"));
    OfferListLogic list(test.context);
    ASSERT_TRUE(list.open());
    ASSERT_TRUE(list.sortBy(QStringLiteral("DatPlatnosti")));
    EXPECT_EQ(shownNumbers(list), (std::vector<QString>{"NB2", "NB4", "NB3", "NB1"}));
    list.close();
}

TEST_F(OfferListTest, CardOpensOnlyForAnOfferStillThereAndTheListFollowsTheSavedOne) {
    const qint64 a = add(QStringLiteral("A"), QStringLiteral("F"));
    OfferListLogic list(test.context);
    ASSERT_TRUE(list.open());

    const qint64 copy = add(QStringLiteral("B"), QStringLiteral("F"));
    test.navigator.answerWindow({core::NavigationStatus::Done, {copy}});
    test.navigator.answerWindow({core::NavigationStatus::Done, {}}); // the print window
    list.openCard(core::OfferCardMode::Copy);
    EXPECT_EQ(test.navigator.count(QStringLiteral("openOfferCard copy %1").arg(a)), 1);
    EXPECT_EQ(list.currentId(), copy);
    // A saved copy is offered for printing, as the profile asks by default; an edit is not.
    EXPECT_EQ(test.navigator.requests().last(), QStringLiteral("printOffer %1").arg(copy));
    test.navigator.answerWindow({core::NavigationStatus::Done, {copy}});
    list.openCard(core::OfferCardMode::Existing);
    EXPECT_EQ(test.navigator.count(QStringLiteral("printOffer %1").arg(copy)), 1);

    ASSERT_TRUE(db().execute(QStringLiteral("DELETE FROM Nabidky WHERE ID = :ID"),
                             {{QStringLiteral("ID"), copy}}));
    list.openCard(core::OfferCardMode::Existing);
    EXPECT_TRUE(ui.saw(Kind::Warning, services::recordGoneMessage()));
    EXPECT_EQ(test.navigator.count(QStringLiteral("openOfferCard existing %1").arg(copy)), 1)
        << "no card for an offer deleted elsewhere";

    test.navigator.setOfferCardAvailable(false);
    EXPECT_FALSE(list.buttons().add || list.buttons().edit || list.buttons().copy);
}

TEST_F(OfferListTest, FilterFirmComesFromTheAddressBookPickAndACancelledPickChangesNothing) {
    ASSERT_TRUE(db().execute(QStringLiteral("INSERT INTO Adresar (Nazev) VALUES (:N)"),
                             {{QStringLiteral("N"), QStringLiteral("Stavby Novák s.r.o.")}}));
    QSqlQuery row = db().select(QStringLiteral("SELECT MAX(ID) FROM Adresar"));
    ASSERT_TRUE(row.next());
    const qint64 firm = row.value(0).toLongLong();
    OfferListLogic list(test.context);
    ASSERT_TRUE(list.open());

    std::vector<std::pair<qint64, QString>> chosen;
    const auto keep = [&](qint64 id, const QString& name) {
        chosen.emplace_back(id, name);
    };
    test.navigator.answerWindow({core::NavigationStatus::Cancelled, {}});
    list.pickFilterFirm(keep);
    EXPECT_TRUE(chosen.empty());

    test.navigator.answerWindow({core::NavigationStatus::Done, {firm}});
    list.pickFilterFirm(keep);
    ASSERT_EQ(chosen.size(), 1u);
    EXPECT_EQ(chosen.front(), std::make_pair(firm, QStringLiteral("Stavby Novák s.r.o.")));
    EXPECT_EQ(test.navigator.count(QStringLiteral("pickFirm")), 2);
}

} // namespace
