#include "offers/OfferStore.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "offers/SharedDocuments.h"
#include "services/ActionHistory.h"
#include "services/RecordLock.h"
#include "support/OpenAgenda.h"
#include "support/RefusedWrites.h"
#include "support/ScriptedInteraction.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QSet>
#include <QSqlQuery>

#include <cmath>
#include <optional>

#include <gtest/gtest.h>

using namespace orvento;
using offers::OfferMode;
using offers::OfferStore;
using offers::OfferWorkingCopy;
using testsupport::ScriptedInteraction;
using Kind = ScriptedInteraction::Kind;

namespace {

class OfferStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(
            testsupport::openTestAgenda(env, QStringLiteral("0001.res"), QStringLiteral("Firma")));
        QDir().mkpath(state().folders.lock);
        db().execute(QStringLiteral("DELETE FROM CisRady"));
        ASSERT_TRUE(db().execute(
            QStringLiteral("INSERT INTO CisRady (PrefixOzn, Cislo, PocetMist, ModulOzn) VALUES "
                           "('NB', 7, 5, 'NB')")));
        state().settings.urovenHistorie = services::HistoryLevel::Detailed;
        state().user.uzivId = 3;
        state().user.jmeno = QStringLiteral("Novák");
        store.emplace(db());
    }

    static core::ProgramState& state() { return core::programState(); }
    static core::Database& db() { return state().db->agenda; }

    static offers::OfferItem priced(const QString& popis, double net, double rate) {
        offers::OfferItem item;
        item.Popis = popis;
        item.PocetMJ = 1.0;
        item.PCBDPHMJ = net;
        item.PCBDPHPOL = net;
        item.VyseDPHPol = net * rate / 100.0;
        item.PCSDPHPOL = net + item.VyseDPHPol;
        item.SazbaDPH = rate;
        item.NakCena = net / 2;
        return item;
    }

    // A stored offer with two items; its ID.
    qint64 savedOffer(int items = 2) {
        OfferWorkingCopy copy = newOffer();
        copy.header().Popis = QStringLiteral("Kuchyně");
        for (int i = 0; i < items; ++i)
            copy.insertItem(i + 1,
                            priced(QStringLiteral("Položka %1").arg(i), 100.0 * (i + 1), 21.0));
        EXPECT_TRUE(store->save(copy, ui));
        return copy.offerId().value_or(-1);
    }

    OfferWorkingCopy newOffer() {
        auto opened = store->open(OfferMode::New, std::nullopt, ui);
        EXPECT_TRUE(opened);
        return opened ? opened->copy : OfferWorkingCopy();
    }

    qint64 count(const QString& sql, qint64 id) {
        return db().scalar(sql, {{QStringLiteral("ID"), id}}).value_or(-1).toLongLong();
    }

    testsupport::TestEnvironment env;
    ScriptedInteraction ui;
    // Made once the agenda is open: the fixture may bring the connections of another store.
    std::optional<OfferStore> store;
};

TEST_F(OfferStoreTest, NewOfferTakesTheNextNumberAndEverySaveWritesHistory) {
    const qint64 id = savedOffer();
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT Doklad FROM Nabidky WHERE ID = :ID"),
                          {{QStringLiteral("ID"), id}})
                  ->toString(),
              QStringLiteral("NB00007"));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT Cislo FROM CisRady"))->toInt(), 8);
    EXPECT_EQ(count(QStringLiteral("SELECT Celkem FROM Nabidky WHERE ID = :ID"), id), 363);

    auto opened = store->open(OfferMode::Existing, id, ui);
    ASSERT_TRUE(opened);
    EXPECT_TRUE(opened->lock.isHeld());
    EXPECT_EQ(opened->copy.header().Vytvoril, QStringLiteral("Novák"));
    opened->copy.removeItem(0);
    opened->copy.removeItem(0);
    ASSERT_TRUE(store->save(opened->copy, ui));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM NabPolozky WHERE CisloNab = :ID"), id), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT Celkem FROM Nabidky WHERE ID = :ID"), id), 0);

    const auto history = services::offerHistory(db(), id);
    ASSERT_TRUE(history);
    ASSERT_EQ(history->size(), 2u);
    EXPECT_EQ(history->at(0).actionType, 0);
    EXPECT_EQ(history->at(1).actionType, 1);
    EXPECT_EQ(history->at(0).userName, QStringLiteral("Novák"));
    EXPECT_EQ(history->at(0).description,
              QStringLiteral("Stav: rozpracovaná (zatím neodeslaná), Celkem s DPH: 363,00 Kč"));
    const auto snapshots = services::readSnapshots(db(), history->at(0).id);
    ASSERT_TRUE(snapshots.offer && snapshots.items);
    EXPECT_EQ(snapshots.items->rows.size(), 2u);

    ASSERT_TRUE(services::deleteOfferHistory(db(), id));
    EXPECT_EQ(services::offerHistory(db(), id)->size(), 0u);
}

TEST_F(OfferStoreTest, HistoryLevelsDecideRowsAndSnapshots) {
    state().settings.urovenHistorie = services::HistoryLevel::Off;
    const qint64 off = savedOffer();
    EXPECT_EQ(services::offerHistory(db(), off)->size(), 0u);

    state().settings.urovenHistorie = services::HistoryLevel::Basic;
    const qint64 basic = savedOffer();
    const auto rows = services::offerHistory(db(), basic);
    ASSERT_EQ(rows->size(), 1u);
    const auto snapshots = services::readSnapshots(db(), rows->at(0).id);
    EXPECT_FALSE(snapshots.offer);
    EXPECT_FALSE(snapshots.items);
}

TEST_F(OfferStoreTest, SnapshotUnderCzechLocaleReadsBackTheSameNumbers) {
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    const qint64 id = savedOffer(1);
    QLocale::setDefault(previous);
    const auto rows = services::offerHistory(db(), id);
    const auto snapshots = services::readSnapshots(db(), rows->at(0).id);
    ASSERT_TRUE(snapshots.items);
    const int at = snapshots.items->fieldIndex(QStringLiteral("VyseDPHPol"));
    ASSERT_GE(at, 0);
    EXPECT_DOUBLE_EQ(snapshots.items->rows.at(0).at(static_cast<std::size_t>(at)).toDouble(), 21.0);
    const int celkem = snapshots.offer->fieldIndex(QStringLiteral("Celkem"));
    EXPECT_DOUBLE_EQ(snapshots.offer->rows.at(0).at(static_cast<std::size_t>(celkem)).toDouble(),
                     121.0);
}

TEST_F(OfferStoreTest, AFailedItemRollsTheWholeSaveBack) {
    ASSERT_TRUE(testsupport::refuseWrites(db(), QStringLiteral("refuse"), QStringLiteral("INSERT"),
                                          QStringLiteral("NabPolozky"),
                                          QStringLiteral("NEW.Popis = 'zlá'")));
    OfferWorkingCopy copy = newOffer();
    copy.insertItem(1, priced(QStringLiteral("dobrá"), 10.0, 21.0));
    copy.insertItem(2, priced(QStringLiteral("zlá"), 10.0, 21.0));
    EXPECT_FALSE(store->save(copy, ui));
    EXPECT_TRUE(ui.saw(Kind::Error, QStringLiteral("Při ukládání záznamu do \"NabPolozky\" došlo "
                                                   "k chybě: metoda \"Execute\" selhala.")));
    EXPECT_FALSE(copy.offerId());
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM Nabidky"))->toInt(), 0);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM NabPolozky"))->toInt(), 0);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM Akce"))->toInt(), 0);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT Cislo FROM CisRady"))->toInt(), 7);
}

TEST_F(OfferStoreTest, AFailedHistoryRowIsReportedButTheOfferIsSaved) {
    ASSERT_TRUE(testsupport::refuseWrites(db(), QStringLiteral("refuse"), QStringLiteral("INSERT"),
                                          QStringLiteral("Akce")));
    const qint64 id = savedOffer();
    EXPECT_TRUE(ui.saw(Kind::Error, QStringLiteral("Při ukládání záznamu do tabulky Akce došlo k "
                                                   "chybě: metoda \"Execute\" selhala.")));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM NabPolozky WHERE CisloNab = :ID"), id), 2);
}

TEST_F(OfferStoreTest, NumberingWithoutSeriesAndWithATypedNumber) {
    OfferWorkingCopy typed = newOffer();
    ui.answer(true);
    ASSERT_TRUE(typed.cancelNumber(ui));
    typed.header().Doklad = QStringLiteral("X-1");
    ASSERT_TRUE(store->save(typed, ui));
    EXPECT_EQ(typed.header().Doklad, QStringLiteral("X-1"));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT Cislo FROM CisRady"))->toInt(), 7);

    db().execute(QStringLiteral("DELETE FROM CisRady"));
    OfferWorkingCopy automatic = newOffer();
    ASSERT_TRUE(store->save(automatic, ui));
    EXPECT_TRUE(automatic.header().Doklad.isEmpty());
}

TEST_F(OfferStoreTest, SavingLeavesALockSetFromTheListAndReadOnlyKeepsNoLockFile) {
    const qint64 id = savedOffer();
    auto opened = store->open(OfferMode::Existing, id, ui);
    ASSERT_TRUE(opened);
    db().execute(QStringLiteral("UPDATE Nabidky SET Zamek = 1 WHERE ID = :ID"),
                 {{QStringLiteral("ID"), id}});
    opened->copy.header().Popis = QStringLiteral("jinak");
    ASSERT_TRUE(store->save(opened->copy, ui));
    EXPECT_EQ(count(QStringLiteral("SELECT Zamek FROM Nabidky WHERE ID = :ID"), id), 1);
    const QString lockFile = opened->lock.path();
    opened.reset();
    EXPECT_FALSE(QFile::exists(lockFile));

    auto locked = store->open(OfferMode::Existing, id, ui);
    ASSERT_TRUE(locked);
    EXPECT_TRUE(ui.saw(Kind::Information,
                       QStringLiteral("Doklad je uzamčený, případné změny nebude možné uložit!")));
    EXPECT_TRUE(locked->copy.readOnly);
    EXPECT_FALSE(QFile::exists(services::recordLockPath(QStringLiteral("Nabidky"), id)));
    EXPECT_FALSE(store->save(locked->copy, ui));

    state().user.nabidky = core::AccessLevel::ReadOnly;
    db().execute(QStringLiteral("UPDATE Nabidky SET Zamek = 0"));
    auto readOnly = store->open(OfferMode::Existing, id, ui);
    ASSERT_TRUE(readOnly);
    EXPECT_TRUE(readOnly->copy.readOnly);
    EXPECT_FALSE(QFile::exists(services::recordLockPath(QStringLiteral("Nabidky"), id)));
    EXPECT_FALSE(store->open(OfferMode::New, std::nullopt, ui));
    EXPECT_TRUE(ui.saw(Kind::Information, core::noRightsMessage()));
}

TEST_F(OfferStoreTest, AnOfferDeletedElsewhereIsReportedWhenItsCardOpens) {
    const qint64 id = savedOffer();
    db().execute(QStringLiteral("DELETE FROM Nabidky WHERE ID = :ID"),
                 {{QStringLiteral("ID"), id}});
    EXPECT_FALSE(store->open(OfferMode::Existing, id, ui));
    EXPECT_FALSE(store->open(OfferMode::Copy, id, ui));
    EXPECT_TRUE(ui.saw(Kind::Warning, QStringLiteral("Při obnově tabulky došlo k chybě, požadovaný "
                                                     "záznam byl pravděpodobně smazán jiným "
                                                     "uživatelem.")));
    EXPECT_FALSE(ui.waitShown());
}

TEST_F(OfferStoreTest, CopiesTakeSharedDocumentsIntoTheirOwnFolder) {
    const QString outside = env.dataFolder() + QStringLiteral("vykres.pdf");
    {
        QFile f(outside);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("PDF");
    }
    OfferWorkingCopy original = newOffer();
    original.addDocument({-1, QStringLiteral("Výkres"), outside, true});
    original.addDocument({-1, QStringLiteral("Odkaz"), QStringLiteral("/nikde/jinde.txt"), false});
    ASSERT_TRUE(store->save(original, ui));
    const qint64 first = *original.offerId();
    const QString firstFile = state().offerDocumentsFolder(first) + QStringLiteral("vykres.pdf");
    EXPECT_TRUE(QFile::exists(firstFile));

    auto copy = store->open(OfferMode::Copy, first, ui);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->copy.header().IDStav, 0);
    EXPECT_TRUE(copy->copy.automaticNumber());
    ASSERT_TRUE(store->save(copy->copy, ui));
    const qint64 second = *copy->copy.offerId();
    EXPECT_TRUE(QFile::exists(state().offerDocumentsFolder(second) + QStringLiteral("vykres.pdf")));
    QStringList links;
    for (const auto& d : copy->copy.documents())
        links << d.File;
    EXPECT_TRUE(links.contains(QStringLiteral("%SDILENA_SLOZKA%vykres.pdf")));
    EXPECT_TRUE(links.contains(QStringLiteral("/nikde/jinde.txt")));

    // A copy of the copy after its file is gone keeps the old path and says so.
    QFile::remove(state().offerDocumentsFolder(second) + QStringLiteral("vykres.pdf"));
    auto copyOfCopy = store->open(OfferMode::Copy, second, ui);
    ASSERT_TRUE(copyOfCopy);
    ASSERT_TRUE(store->save(copyOfCopy->copy, ui));
    EXPECT_TRUE(ui.sawContaining(Kind::Error, QStringLiteral("již není platný")));
    links.clear();
    for (const auto& d : copyOfCopy->copy.documents())
        links << d.File;
    EXPECT_TRUE(
        links.contains(state().offerDocumentsFolder(second) + QStringLiteral("vykres.pdf")));
}

TEST_F(OfferStoreTest, ExistingTargetIsKeptUnlessOverwriteIsConfirmed) {
    const QString source = env.dataFolder() + QStringLiteral("a.txt");
    const QString folder = env.dataFolder() + QStringLiteral("sdilena/");
    QDir().mkpath(folder);
    for (const auto& [path, text] :
         {std::pair{source, "new"}, std::pair{folder + "a.txt", "old"}}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    offers::OfferDocument doc{-1, QStringLiteral("A"), source, true};
    ui.answer(false);
    EXPECT_FALSE(offers::copyIntoSharedFolder(doc, folder, ui));
    EXPECT_EQ(doc.File, source);
    EXPECT_FALSE(doc.CopyFile);
    ui.answer(true);
    EXPECT_TRUE(
        offers::copyIntoSharedFolder(doc = {-1, QStringLiteral("A"), source, true}, folder, ui));
    QFile result(folder + QStringLiteral("a.txt"));
    ASSERT_TRUE(result.open(QIODevice::ReadOnly));
    EXPECT_EQ(result.readAll(), QByteArray("new"));
    EXPECT_EQ(doc.File, QStringLiteral("%SDILENA_SLOZKA%a.txt"));

    // The same file under another name of the folder is not copied onto itself.
    offers::OfferDocument self{-1, QStringLiteral("A"), folder + QStringLiteral("../sdilena/a.txt"),
                               true};
    EXPECT_FALSE(offers::copyIntoSharedFolder(self, folder, ui));
    EXPECT_TRUE(ui.saw(Kind::Error, QStringLiteral("Zdrojový odkaz dokumentu je stejný jako cílový "
                                                   "- nelze kopírovat soubor sám na sebe.")));
    // A folder that cannot be created.
    offers::OfferDocument blocked{-1, QStringLiteral("A"), source, true};
    EXPECT_FALSE(offers::copyIntoSharedFolder(blocked, source + QStringLiteral("/pod/"), ui));
    EXPECT_TRUE(ui.sawContaining(Kind::Error, QStringLiteral("Nelze vytvořit sdílený adresář")));
}

} // namespace

namespace {

// The demo agenda's offers are made by the model: their stored totals are those of their items.
TEST(DemoOffers, TotalsAgreeWithTheirItems) {
    testsupport::TestEnvironment env;
    ASSERT_TRUE(
        testsupport::openTestAgenda(env, QStringLiteral("0003.res"), QStringLiteral("DEMO")));
    core::Database& db = core::programState().db->agenda;
    QSqlQuery offers = db.select(QStringLiteral(
        "SELECT n.ID, n.CelkemBDPH, n.NabZaok, n.IDStav, SUM(p.PCBDPHPOL), COUNT(p.ID), "
        "SUM(p.Nadpisova), SUM(p.Textova) FROM Nabidky n JOIN NabPolozky p ON p.CisloNab = n.ID "
        "GROUP BY n.ID"));
    QSet<int> states;
    int count = 0;
    while (offers.next()) {
        ++count;
        states.insert(offers.value(3).toInt());
        const double sum = offers.value(4).toDouble();
        EXPECT_DOUBLE_EQ(offers.value(1).toDouble(),
                         offers.value(2).toInt() != 0 ? std::floor(sum + 0.5) : sum);
        EXPECT_EQ(offers.value(6).toInt(), 1);
        EXPECT_EQ(offers.value(7).toInt(), 1);
        EXPECT_GE(offers.value(5).toInt(), 5);
    }
    EXPECT_GE(count, 4);
    EXPECT_GE(states.size(), 3);
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT COUNT(*) FROM DokumentyNab"))->toInt(), 1);
    EXPECT_GT(db.scalar(QStringLiteral("SELECT COUNT(*) FROM Akce"))->toInt(), count);
}

} // namespace
