#include "catalogue/CatalogueAgenda.h"

#include "core/ProgramState.h"
#include "offers/OfferCardLogic.h"
#include "offers/OfferItemCard.h"
#include "offers/OfferItemsModel.h"
#include "support/ScriptedInteraction.h"
#include "support/TestContext.h"

#include <gtest/gtest.h>

using namespace orvento;
using core::NavigationStatus;
using offers::OfferCardLogic;
using offers::OfferWorkingCopy;
using Kind = testsupport::ScriptedInteraction::Kind;

namespace {

// Catalogue items taken at quantity 1 as the catalogue gives them; nothing else is asked for.
class CatalogueItemsOnly : public offers::OfferItemEditor {
public:
    explicit CatalogueItemsOnly(core::UserInteraction& ui)
        : m_ui(ui) {}
    bool editNew(OfferWorkingCopy&, std::optional<std::size_t>) override { return false; }
    bool editFromCatalogue(OfferWorkingCopy& offer, qint64 id,
                           std::optional<std::size_t> current) override {
        offers::OfferItemCard card(core::programState().db->agenda, m_ui, offer,
                                   offers::currentAgendaRates());
        card.openFromCatalogue(*catalogue::readItem(core::programState().db->agenda, id), current);
        return card.confirm();
    }
    bool editExisting(OfferWorkingCopy&, std::size_t, bool) override { return false; }
    bool editNewText(OfferWorkingCopy&, bool, std::optional<std::size_t>) override { return false; }
    bool editExistingText(OfferWorkingCopy&, std::size_t, bool) override { return false; }

private:
    core::UserInteraction& m_ui;
};

class OfferCardBulkMenuTest : public testsupport::CatalogueAgenda {
protected:
    void SetUp() override {
        CatalogueAgenda::SetUp();
        if (HasFatalFailure())
            return;
        for (const char* table : {"Nabidky", "NabPolozky", "DokumentyNab", "Akce"})
            ASSERT_TRUE(db().execute(QStringLiteral("DELETE FROM ") + QString::fromLatin1(table)));
        core::programState().settings.profil.hromadneVkladani = false;
    }

    qint64 catalogueItem(const QString& popis, double net) {
        catalogue::ItemRecord item;
        item.CenSkupina = QStringLiteral("ELEKTRO");
        item.Sklad = sheet;
        item.Skupina = basicGroup;
        item.Popis = popis;
        item.price.NakCena = net / 2;
        item.price.PrCenaBDPH = net;
        item.price.PrCenaSDPH = net * 1.21;
        item.price.SazbaDPH = 21.0;
        return addItem(item);
    }

    // A new card with the catalogue items, picked one by one.
    std::unique_ptr<OfferCardLogic> cardWith(const std::vector<qint64>& items) {
        auto opened = OfferCardLogic::open(test.context, core::OfferCardMode::New, 0);
        if (!opened)
            return nullptr;
        auto card = std::make_unique<OfferCardLogic>(test.context, std::move(*opened), editor);
        for (const qint64 item : items)
            test.navigator.answerWindow({NavigationStatus::Done, {item}});
        test.navigator.answerWindow({NavigationStatus::Cancelled, {}});
        card->addCatalogueItems();
        return card;
    }

    testsupport::TestContext test{ui};
    CatalogueItemsOnly editor{ui};
};

TEST_F(OfferCardBulkMenuTest, LevelAndCatalogueRefreshAskFirstAndKeepToTheMarkedItems) {
    addLevel(QStringLiteral("VO"), testsupport::computed(0, 10.0));
    addRow(addGroup(QStringLiteral("ELEKTRO")), QStringLiteral("VO"),
           testsupport::computed(0, 10.0), true);
    const qint64 breaker = catalogueItem(QStringLiteral("Jistič"), 100.0);
    const qint64 socket = catalogueItem(QStringLiteral("Zásuvka"), 50.0);
    auto card = cardWith({breaker, socket});
    ASSERT_TRUE(card);
    ASSERT_EQ(card->itemCount(), 2);
    // The card's own level, not yet put on the items.
    card->setLevelFromAddress(false);
    ui.answer(false);
    card->chooseOwnLevel(QStringLiteral("VO"));
    ASSERT_TRUE(card->offer().items()[0].CenHladina.isEmpty());

    // "Ne" changes nothing.
    ui.answer(false);
    card->setShownLevelOnItems();
    EXPECT_TRUE(ui.sawContaining(Kind::Question, QStringLiteral("hladina \"VO\"")));
    EXPECT_DOUBLE_EQ(card->offer().items()[0].PCBDPHMJ, 100.0);

    // With one item marked only that one takes the level, and the totals follow.
    card->setMark(0, true);
    ui.answer(true);
    card->setShownLevelOnItems();
    EXPECT_EQ(card->offer().items()[0].CenHladina, QStringLiteral("VO"));
    EXPECT_DOUBLE_EQ(card->offer().items()[0].PCBDPHMJ, 90.0);
    EXPECT_TRUE(card->offer().items()[1].CenHladina.isEmpty());
    EXPECT_DOUBLE_EQ(card->offer().totals().totalNet, 140.0);
    EXPECT_TRUE(card->changed());

    // The catalogue's price changes; the refresh reads it for every item once nothing is marked,
    // keeping each item's level.
    ASSERT_TRUE(db().execute(
        QStringLiteral("UPDATE Zasoby SET PrCenaBDPH = 200, PrCenaSDPH = 242 WHERE ID = :ID"),
        {{QStringLiteral("ID"), breaker}}));
    card->markAll(false);
    ui.answer(false);
    card->refreshPricesFromCatalogue();
    EXPECT_DOUBLE_EQ(card->offer().items()[0].PCBDPHMJ, 90.0);
    ui.answer(true);
    card->refreshPricesFromCatalogue();
    EXPECT_DOUBLE_EQ(card->offer().items()[0].PCBDPHMJ, 180.0);
    EXPECT_DOUBLE_EQ(card->offer().totals().totalNet, 230.0);
}

TEST_F(OfferCardBulkMenuTest, QuickFindMatchesTheStartOfTheShownTextInAnyCase) {
    auto card = cardWith({catalogueItem(QStringLiteral("Kabel"), 10.0),
                          catalogueItem(QStringLiteral("kabelový žlab"), 20.0),
                          catalogueItem(QStringLiteral("Čidlo pohybu"), 30.0)});
    ASSERT_TRUE(card);
    offers::OfferItemsModel model(*card);
    const int popis = offers::OfferItemsModel::columnOf(QStringLiteral("Popis"));
    EXPECT_EQ(model.findRow(popis, QStringLiteral("KAB")), 0);
    EXPECT_EQ(model.findRow(popis, QStringLiteral("KABELO")), 1);
    EXPECT_EQ(model.findRow(popis, QStringLiteral("čid")), 2);
    EXPECT_EQ(model.findRow(popis, QStringLiteral("žlab")), std::nullopt);

    // Only the description, the catalogue number and the order re-sort the items.
    EXPECT_EQ(OfferCardLogic::sortColumnOf(QStringLiteral("Katalog")),
              offers::ItemSortColumn::Katalog);
    EXPECT_EQ(OfferCardLogic::sortColumnOf(QStringLiteral("PCBDPHPOL")), std::nullopt);
}

} // namespace
