#include "catalogue/CatalogueAgenda.h"

#include "core/ProgramState.h"
#include "offers/OfferBulkOperations.h"
#include "offers/OfferCardLogic.h"
#include "offers/OfferItemCard.h"
#include "offers/OfferListLogic.h"
#include "offers/TextItemCard.h"
#include "services/ActionHistory.h"
#include "support/ScriptedInteraction.h"
#include "support/TestContext.h"

#include <deque>

#include <gtest/gtest.h>

using namespace orvento;
using core::NavigationStatus;
using core::OfferCardMode;
using offers::OfferCardLogic;
using offers::OfferItemCard;
using offers::OfferWorkingCopy;
using testsupport::ScriptedInteraction;
using Kind = ScriptedInteraction::Kind;

namespace {

// Fills the item cards in as a person would: the quantities queued, OK on each.
class ScriptedItemEditor : public offers::OfferItemEditor {
public:
    explicit ScriptedItemEditor(core::UserInteraction& ui)
        : m_ui(ui) {}

    std::deque<double> quantities;
    int shown = 0;
    bool cancel = false;

    bool editNew(OfferWorkingCopy& offer, std::optional<std::size_t> current) override {
        OfferItemCard card = makeCard(offer);
        card.openNew(current);
        card.item().Popis = QStringLiteral("Montáž");
        card.setProdCena(1000.0);
        return finish(card);
    }
    bool editFromCatalogue(OfferWorkingCopy& offer, qint64 id,
                           std::optional<std::size_t> current) override {
        OfferItemCard card = makeCard(offer);
        card.openFromCatalogue(*catalogue::readItem(core::programState().db->agenda, id), current);
        return finish(card);
    }
    bool editExisting(OfferWorkingCopy& offer, std::size_t index, bool copy) override {
        OfferItemCard card = makeCard(offer);
        if (!(copy ? card.openCopy(index) : card.openExisting(index)))
            return false;
        return finish(card);
    }
    bool editNewText(OfferWorkingCopy& offer, bool title,
                     std::optional<std::size_t> current) override {
        offers::TextItemCard card(m_ui, offer);
        card.openNew(title, current);
        card.text = title ? QStringLiteral("Rozvaděč") : QStringLiteral("Poznámka");
        ++shown;
        return card.confirm();
    }
    bool editExistingText(OfferWorkingCopy& offer, std::size_t index, bool copy) override {
        offers::TextItemCard card(m_ui, offer);
        ++shown;
        return card.openExisting(index, copy) && card.confirm();
    }

private:
    OfferItemCard makeCard(OfferWorkingCopy& offer) {
        return OfferItemCard(core::programState().db->agenda, m_ui, offer,
                             offers::currentAgendaRates());
    }
    bool finish(OfferItemCard& card) {
        ++shown;
        if (cancel)
            return false;
        if (!quantities.empty()) {
            card.setPocetMJ(quantities.front());
            quantities.pop_front();
        }
        return card.confirm();
    }

    core::UserInteraction& m_ui;
};

class OfferCardTest : public testsupport::CatalogueAgenda {
protected:
    void SetUp() override {
        CatalogueAgenda::SetUp();
        if (HasFatalFailure())
            return;
        for (const char* table : {"Nabidky", "NabPolozky", "DokumentyNab", "Akce"})
            ASSERT_TRUE(db().execute(QStringLiteral("DELETE FROM ") + QString::fromLatin1(table)));
        ASSERT_TRUE(db().execute(QStringLiteral("DELETE FROM CisRady")));
        ASSERT_TRUE(db().execute(
            QStringLiteral("INSERT INTO CisRady (PrefixOzn, Cislo, PocetMist, ModulOzn) VALUES "
                           "('NB', 7, 5, 'NB')")));
        core::programState().settings.urovenHistorie = services::HistoryLevel::Detailed;
        core::programState().settings.profil.dotazPriOpusteni = true;
        core::programState().settings.profil.hromadneVkladani = false;
    }

    qint64 catalogueItem(const QString& popis, double net, bool unfinished = false,
                         const QString& priceGroup = {}) {
        catalogue::ItemRecord item;
        item.CenSkupina = priceGroup;
        item.Sklad = sheet;
        item.Skupina = basicGroup;
        item.Popis = popis;
        item.price.NakCena = net / 2;
        item.price.PrCenaBDPH = net;
        item.price.PrCenaSDPH = net * 1.21;
        item.price.SazbaDPH = 21.0;
        item.Chyba = unfinished;
        return addItem(item);
    }

    qint64 firm(const QString& name, const QString& level = {}, const QString& note = {}) {
        EXPECT_TRUE(db().execute(
            QStringLiteral("INSERT INTO Adresar (Nazev, Ulice, Misto, ICO, CenHladina, Zprava) "
                           "VALUES (:Nazev, 'Dlouhá 1', 'Brno', '12345678', :CenHladina, :Zprava)"),
            {{QStringLiteral("Nazev"), name},
             {QStringLiteral("CenHladina"), level},
             {QStringLiteral("Zprava"), note}}));
        const qint64 id = db().newRowId();
        EXPECT_TRUE(db().execute(
            QStringLiteral("INSERT INTO Kontakty (CisloAdr, Jmeno, Prijmeni, Zobrazit) VALUES "
                           "(:CisloAdr, 'Jana', 'Malá', 1)"),
            {{QStringLiteral("CisloAdr"), id}}));
        return id;
    }

    std::unique_ptr<OfferCardLogic> openCard(OfferCardMode mode, qint64 id = 0) {
        auto opened = OfferCardLogic::open(test.context, mode, id);
        if (!opened)
            return nullptr;
        return std::make_unique<OfferCardLogic>(test.context, std::move(*opened), editor);
    }

    testsupport::TestContext test{ui};
    ScriptedItemEditor editor{ui};
};

TEST_F(OfferCardTest, OneOfferFromNewToDeleted) {
    const qint64 a = catalogueItem(QStringLiteral("Jistič B16"), 100.0);
    const qint64 b = catalogueItem(QStringLiteral("Kabel CYKY"), 20.0);
    const qint64 c = catalogueItem(QStringLiteral("Zásuvka"), 50.0);
    const qint64 customer = firm(QStringLiteral("Elektro Novák s.r.o."));

    auto card = openCard(OfferCardMode::New);
    ASSERT_TRUE(card);
    card->editHeader([](offers::OfferHeader& h) { h.Popis = QStringLiteral("Rozvody"); });

    test.navigator.answerWindow({NavigationStatus::Done, {customer}});
    card->chooseCustomer();
    const offers::OfferHeader& h = card->offer().header();
    EXPECT_EQ(h.AdrCislo, customer);
    EXPECT_EQ(h.AdrNazev, QStringLiteral("Elektro Novák s.r.o."));
    EXPECT_EQ(h.AdrKontakt, QStringLiteral("Malá Jana"));
    EXPECT_EQ(card->customerHint(), QStringLiteral("Výběr jiné firmy z adresáře (Alt+A)"));

    // Three picks, one after another; the catalogue comes back after each until it is closed.
    editor.quantities = {2.0, 10.0, 4.0};
    for (const qint64 id : {a, b, c})
        test.navigator.answerWindow({NavigationStatus::Done, {id}});
    test.navigator.answerWindow({NavigationStatus::Cancelled, {}});
    card->addCatalogueItems();
    EXPECT_EQ(test.navigator.count(QStringLiteral("pickCatalogueItems")), 4);
    ASSERT_EQ(card->itemCount(), 3);
    EXPECT_EQ(card->offer().items()[0].Popis, QStringLiteral("Jistič B16"));
    EXPECT_EQ(card->offer().items()[2].Popis, QStringLiteral("Zásuvka"));

    card->addFreeItem();
    ASSERT_EQ(card->itemCount(), 4);
    EXPECT_EQ(card->offer().items()[3].Popis, QStringLiteral("Montáž"));
    // 2×100 + 10×20 + 4×50 + 1000
    EXPECT_DOUBLE_EQ(card->offer().totals().totalNet, 1600.0);

    offers::OfferBulkOperations discount(card->offer(), card->marks(), ui);
    ASSERT_EQ(discount.applyValue(offers::BulkField::Discount, offers::BulkMode::Set, 10.0),
              offers::BulkOutcome::Done);
    card->itemsChanged();
    EXPECT_DOUBLE_EQ(card->offer().totals().totalNet, 1440.0);

    ASSERT_TRUE(card->confirm());
    const qint64 id = *card->savedId();
    card.reset();
    const QString number = value(QStringLiteral("SELECT Doklad FROM Nabidky WHERE ID = :ID"),
                                 {{QStringLiteral("ID"), id}})
                               .toString();
    EXPECT_EQ(number, QStringLiteral("NB00007"));
    EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM Akce WHERE ObjectID = :ID"),
                    {{QStringLiteral("ID"), id}})
                  .toInt(),
              1);

    offers::OfferListLogic list(test.context);
    ASSERT_TRUE(list.open());
    ASSERT_EQ(list.rows().rowCount(), 1);
    EXPECT_EQ(list.currentId(), id);
    EXPECT_DOUBLE_EQ(value(QStringLiteral("SELECT CelkemBDPH FROM Nabidky WHERE ID = :ID"),
                           {{QStringLiteral("ID"), id}})
                         .toDouble(),
                     1440.0);
    EXPECT_DOUBLE_EQ(value(QStringLiteral("SELECT Celkem FROM Nabidky WHERE ID = :ID"),
                           {{QStringLiteral("ID"), id}})
                         .toDouble(),
                     1742.0);

    // The copy: a new number, the same items, the customer still linked (no warning).
    auto copy = openCard(OfferCardMode::Copy, id);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->itemCount(), 4);
    ASSERT_TRUE(copy->confirm());
    const qint64 copied = *copy->savedId();
    copy.reset();
    EXPECT_NE(copied, id);
    EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM NabPolozky WHERE CisloNab = :ID"),
                    {{QStringLiteral("ID"), copied}})
                  .toInt(),
              4);

    // Locked, the offer opens read-only and cannot be confirmed.
    list.refresh();
    list.setCurrentRow(*list.rows().rowOfId(id));
    list.setLocked(true);
    ui.clear();
    auto locked = openCard(OfferCardMode::Existing, id);
    ASSERT_TRUE(locked);
    EXPECT_TRUE(locked->readOnly());
    EXPECT_FALSE(locked->confirm());
    locked.reset();
    list.setLocked(false);

    ui.answer(true); // "Vyjmutí dokladu je nevratná operace..."
    list.refresh();
    list.setCurrentRow(*list.rows().rowOfId(id));
    list.removeSelected();
    EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM NabPolozky WHERE CisloNab = :ID"),
                    {{QStringLiteral("ID"), id}})
                  .toInt(),
              0);
    EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM Nabidky")).toInt(), 1);
}

TEST_F(OfferCardTest, CatalogueItemsMarkedOrUnfinished) {
    const qint64 a = catalogueItem(QStringLiteral("A"), 10.0);
    const qint64 broken = catalogueItem(QStringLiteral("B"), 10.0, true);
    const qint64 c = catalogueItem(QStringLiteral("C"), 10.0);
    auto card = openCard(OfferCardMode::New);
    ASSERT_TRUE(card);

    // Three marked, the middle one unfinished: one warning, two items, no quantity asked in bulk.
    core::programState().settings.profil.hromadneVkladani = true;
    test.navigator.answerWindow({NavigationStatus::Done, {c, broken, a}});
    card->addCatalogueItems();
    EXPECT_EQ(ui.texts(Kind::Warning), QStringList{OfferCardLogic::unfinishedItemMessage()});
    ASSERT_EQ(card->itemCount(), 2);
    EXPECT_EQ(editor.shown, 0);
    EXPECT_DOUBLE_EQ(card->offer().items()[0].PocetMJ, 1.0);

    // A single pick whose card is cancelled adds nothing; the catalogue still comes back.
    editor.cancel = true;
    test.navigator.answerWindow({NavigationStatus::Done, {a}});
    test.navigator.answerWindow({NavigationStatus::Cancelled, {}});
    card->addCatalogueItems();
    EXPECT_EQ(card->itemCount(), 2);
    EXPECT_EQ(test.navigator.count(QStringLiteral("pickCatalogueItems")), 3);

    // An item deleted between the pick and its card: said, nothing added.
    ASSERT_TRUE(db().execute(QStringLiteral("DELETE FROM Zasoby WHERE ID = :ID"),
                             {{QStringLiteral("ID"), c}}));
    ui.clear();
    test.navigator.answerWindow({NavigationStatus::Done, {c}});
    test.navigator.answerWindow({NavigationStatus::Cancelled, {}});
    card->addCatalogueItems();
    EXPECT_EQ(ui.texts(Kind::Warning).size(), 1);
    EXPECT_EQ(card->itemCount(), 2);
}

TEST_F(OfferCardTest, ItemCommandsAtTheEdges) {
    auto card = openCard(OfferCardMode::New);
    ASSERT_TRUE(card);
    card->addFreeItem();
    card->addTextItem(true);
    card->addFreeItem();
    ASSERT_EQ(card->itemCount(), 3);

    // The first item up and the last down change nothing.
    card->setCurrent(0);
    const QString first = card->offer().items()[0].Popis;
    card->moveCurrent(true);
    EXPECT_EQ(card->offer().items()[0].Popis, first);
    card->setCurrent(2);
    card->moveCurrent(false);
    EXPECT_EQ(card->current(), std::optional<std::size_t>(2));
    card->setCurrent(1);
    card->moveCurrent(true);
    EXPECT_TRUE(card->offer().items()[0].Nadpisova);
    EXPECT_EQ(card->current(), std::optional<std::size_t>(0));
    EXPECT_EQ(card->offer().items()[0].Poradi, 1);

    // Marks follow a deletion; the label and the marked sums count what is left.
    card->markAll(true);
    EXPECT_EQ(card->marksLabel(), QStringLiteral(" Označeno 3 z 3 "));
    card->setCurrent(0);
    card->removeCurrent();
    EXPECT_EQ(card->marksLabel(), QStringLiteral(" Označeno 2 z 2 "));
    EXPECT_DOUBLE_EQ(card->markedSums().net, 2000.0);
    card->setMark(0, false);
    EXPECT_DOUBLE_EQ(card->markedSums().net, 1000.0);

    // Sorting an offer with title items asks first; No keeps the order.
    card->addTextItem(true);
    ui.answer(false);
    EXPECT_FALSE(card->sortBy(offers::ItemSortColumn::Popis));

    // Deleting every item leaves an empty offer with zero totals and no question.
    while (card->itemCount() > 0) {
        card->setCurrent(0);
        card->removeCurrent();
    }
    EXPECT_DOUBLE_EQ(card->offer().totals().totalGross, 0.0);
    EXPECT_FALSE(card->current());
}

TEST_F(OfferCardTest, ConfirmAndLeaveChecks) {
    // A copy of an offer with a customer typed by hand warns about the missing link; the saved
    // offer opened again does not.
    auto card = openCard(OfferCardMode::New);
    ASSERT_TRUE(card);
    card->editHeader([](offers::OfferHeader& h) { h.AdrNazev = QStringLiteral("Ručně s.r.o."); });
    ui.answer(true);
    ASSERT_TRUE(card->confirm());
    const qint64 id = *card->savedId();
    card.reset();

    auto copy = openCard(OfferCardMode::Copy, id);
    ASSERT_TRUE(copy);
    ui.clear();
    ui.answer(false);
    EXPECT_FALSE(copy->confirm());
    EXPECT_TRUE(ui.sawContaining(Kind::Question, QStringLiteral("nemá vazbu na adresář")));
    copy.reset();

    auto existing = openCard(OfferCardMode::Existing, id);
    ASSERT_TRUE(existing);
    ui.clear();
    // State 4 without a settlement date: No keeps the card open.
    existing->editHeader([](offers::OfferHeader& h) { h.IDStav = 4; });
    ui.answer(false);
    EXPECT_FALSE(existing->confirm());
    EXPECT_FALSE(ui.sawContaining(Kind::Question, QStringLiteral("nemá vazbu")));
    // State 1 clears a settlement date typed earlier.
    existing->editHeader([](offers::OfferHeader& h) {
        h.IDStav = 1;
        h.DatVyrizeni = QDateTime(QDate(2026, 1, 5), QTime());
    });
    ASSERT_TRUE(existing->confirm());
    EXPECT_TRUE(value(QStringLiteral("SELECT DatVyrizeni FROM Nabidky WHERE ID = :ID"),
                      {{QStringLiteral("ID"), id}})
                    .isNull());

    // Leaving: asked only when something changed and the profile wants it.
    EXPECT_TRUE(existing->mayLeave());
    existing->setChanged();
    ui.answer(false);
    EXPECT_FALSE(existing->mayLeave());
    core::programState().settings.profil.dotazPriOpusteni = false;
    EXPECT_TRUE(existing->mayLeave());
}

TEST_F(OfferCardTest, CustomerChangeAndPriceLevelQuestions) {
    const qint64 first =
        firm(QStringLiteral("První"), QString(), QStringLiteral("  Platí předem "));
    const qint64 second = firm(QStringLiteral("Druhá"));
    auto card = openCard(OfferCardMode::New);
    ASSERT_TRUE(card);

    // No items: no question about levels; the note is shown.
    test.navigator.answerWindow({NavigationStatus::Done, {first}});
    card->chooseCustomer();
    EXPECT_EQ(ui.texts(Kind::Information), QStringList{QStringLiteral("První\r\rPlatí předem")});
    EXPECT_TRUE(ui.texts(Kind::Question).isEmpty());

    // Another firm: first the question about the linked one; No keeps it.
    ui.answer(false);
    card->chooseCustomer();
    EXPECT_EQ(card->offer().header().AdrCislo, first);

    // With an item, the level question follows the new address.
    card->addFreeItem();
    ui.answer(true);  // drop the linked address
    ui.answer(false); // do not put the level onto the items
    test.navigator.answerWindow({NavigationStatus::Done, {second}});
    card->chooseCustomer();
    EXPECT_EQ(card->offer().header().AdrCislo, second);
    EXPECT_TRUE(ui.sawContaining(Kind::Question, QStringLiteral("Došlo ke změně adresy")));

    // A firm deleted while the card is open: said, the offer unlinked stays as it was.
    ASSERT_TRUE(db().execute(QStringLiteral("DELETE FROM Adresar WHERE ID = :ID"),
                             {{QStringLiteral("ID"), first}}));
    ui.answer(true);
    test.navigator.answerWindow({NavigationStatus::Done, {first}});
    card->chooseCustomer();
    EXPECT_EQ(card->offer().header().AdrCislo, 0);
    EXPECT_EQ(ui.texts(Kind::Warning).size(), 1);

    // The history of an offer not yet saved.
    card->showHistory();
    EXPECT_TRUE(ui.saw(Kind::Information,
                       QStringLiteral("Historie akcí je k dispozici až po uložení nabídky.")));
}

TEST_F(OfferCardTest, PriceLevelSwitchAsksOnlyWhenTheShownLevelChanges) {
    addLevel(QStringLiteral("VO"), testsupport::computed(0, 10.0));
    addRow(addGroup(QStringLiteral("ELEKTRO")), QStringLiteral("VO"),
           testsupport::computed(0, 10.0), true);
    const qint64 item =
        catalogueItem(QStringLiteral("Jistič"), 100.0, false, QStringLiteral("ELEKTRO"));
    const qint64 customer = firm(QStringLiteral("Velkoobchod"), QStringLiteral("VO"));
    auto card = openCard(OfferCardMode::New);
    ASSERT_TRUE(card);
    editor.quantities = {1.0};
    test.navigator.answerWindow({NavigationStatus::Done, {item}});
    test.navigator.answerWindow({NavigationStatus::Cancelled, {}});
    card->addCatalogueItems();
    ASSERT_EQ(card->itemCount(), 1);

    // Without a linked address both levels are empty: no question.
    card->setLevelFromAddress(false);
    EXPECT_TRUE(ui.texts(Kind::Question).isEmpty());
    // An own level: asked; No leaves the items but the header keeps the level.
    ui.answer(false);
    card->chooseOwnLevel(QStringLiteral("VO"));
    EXPECT_EQ(card->offer().header().CenHladina, QStringLiteral("VO"));
    EXPECT_EQ(card->shownLevel(), QStringLiteral("VO"));
    EXPECT_TRUE(card->offer().items()[0].CenHladina.isEmpty());
    EXPECT_TRUE(ui.sawContaining(Kind::Question, QStringLiteral("hladina \"VO\"")));

    // Back to the address, which has none: the shown level changes, asked again; Yes applies.
    ui.answer(true);
    card->setLevelFromAddress(true);
    EXPECT_TRUE(card->shownLevel().isEmpty());
    EXPECT_EQ(ui.texts(Kind::Question).size(), 2);

    // A customer whose level is VO while "z adresy" is on: the question of a changed address.
    ui.answer(true);
    test.navigator.answerWindow({NavigationStatus::Done, {customer}});
    card->chooseCustomer();
    EXPECT_EQ(card->shownLevel(), QStringLiteral("VO"));
    EXPECT_EQ(card->offer().items()[0].CenHladina, QStringLiteral("VO"));
    EXPECT_DOUBLE_EQ(card->offer().items()[0].PCBDPHMJ, 90.0);
}

} // namespace
