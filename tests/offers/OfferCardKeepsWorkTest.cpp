#include "catalogue/CatalogueAgenda.h"

#include "core/ProgramState.h"
#include "offers/OfferCardLogic.h"
#include "offers/OfferItemCard.h"
#include "offers/SharedDocuments.h"
#include "offers/TextItemCard.h"
#include "support/ScriptedInteraction.h"
#include "support/TestContext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

// Item cards confirmed as they open: free items named one after another, catalogue items as the
// catalogue proposes them; `shown` counts the cards.
class ConfirmingEditor : public offers::OfferItemEditor {
public:
    explicit ConfirmingEditor(core::UserInteraction& ui)
        : m_ui(ui) {}

    int shown = 0;
    QStringList names = {QStringLiteral("Bod"), QStringLiteral("Čep"), QStringLiteral("Hák"),
                         QStringLiteral("Chlor"), QStringLiteral("Ihla")};

    bool editNew(OfferWorkingCopy& offer, std::optional<std::size_t> current) override {
        OfferItemCard card = makeCard(offer);
        card.openNew(current);
        card.item().Popis = names.isEmpty() ? QStringLiteral("Položka") : names.takeFirst();
        card.setProdCena(10.0);
        ++shown;
        return card.confirm();
    }
    bool editFromCatalogue(OfferWorkingCopy& offer, qint64 id,
                           std::optional<std::size_t> current) override {
        OfferItemCard card = makeCard(offer);
        card.openFromCatalogue(*catalogue::readItem(core::programState().db->agenda, id), current);
        ++shown;
        return card.confirm();
    }
    bool editExisting(OfferWorkingCopy& offer, std::size_t index, bool copy) override {
        OfferItemCard card = makeCard(offer);
        ++shown;
        return (copy ? card.openCopy(index) : card.openExisting(index)) && card.confirm();
    }
    bool editNewText(OfferWorkingCopy& offer, bool title,
                     std::optional<std::size_t> current) override {
        offers::TextItemCard card(m_ui, offer);
        card.openNew(title, current);
        card.text = QStringLiteral("Nadpis");
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

    core::UserInteraction& m_ui;
};

class OfferCardKeepsWorkTest : public testsupport::CatalogueAgenda {
protected:
    void SetUp() override {
        CatalogueAgenda::SetUp();
        if (HasFatalFailure())
            return;
        clearOffersWithNewSeries();
        if (HasFatalFailure())
            return;
        core::programState().settings.profil.hromadneVkladani = false;
        core::programState().settings.profil.dotazPriOpusteni = false;
    }

    qint64 catalogueItem(const QString& popis) {
        catalogue::ItemRecord item;
        item.Popis = popis;
        item.price.NakCena = 5.0;
        item.price.PrCenaBDPH = 10.0;
        item.price.PrCenaSDPH = 12.1;
        item.price.SazbaDPH = 21.0;
        return addItem(item);
    }

    std::unique_ptr<OfferCardLogic> openCard(OfferCardMode mode, qint64 id = 0) {
        auto opened = OfferCardLogic::open(test.context, mode, id);
        if (!opened)
            return nullptr;
        return std::make_unique<OfferCardLogic>(test.context, std::move(*opened), editor);
    }

    static QStringList descriptions(const OfferCardLogic& card) {
        QStringList list;
        for (const offers::OfferItem& item : card.offer().items())
            list << item.Popis;
        return list;
    }
    static QStringList markedDescriptions(const OfferCardLogic& card) {
        QStringList list;
        for (std::size_t i = 0; i < card.marks().size(); ++i)
            if (card.marks()[i])
                list << card.offer().items()[i].Popis;
        return list;
    }

    testsupport::TestContext test{ui};
    ConfirmingEditor editor{ui};
};

TEST_F(OfferCardKeepsWorkTest, MarksStayOnTheirItemsThroughAddingMovingAndSorting) {
    auto card = openCard(OfferCardMode::New);
    ASSERT_TRUE(card);
    for (int i = 0; i < 4; ++i)
        card->addFreeItem();
    ASSERT_EQ(descriptions(*card), (QStringList{"Bod", "Čep", "Hák", "Chlor"}));
    card->setMark(1, true);
    card->setMark(3, true);

    // A new item after the first: the marks stay on "Čep" and "Chlor".
    card->setCurrent(0);
    card->addFreeItem();
    EXPECT_EQ(descriptions(*card), (QStringList{"Bod", "Ihla", "Čep", "Hák", "Chlor"}));
    EXPECT_EQ(markedDescriptions(*card), (QStringList{"Čep", "Chlor"}));
    EXPECT_EQ(card->marksLabel(), QStringLiteral(" Označeno 2 z 5 "));

    // A copy of a marked item arrives unmarked; its source keeps the mark.
    card->setCurrent(2);
    card->copyCurrent();
    EXPECT_EQ(card->markedCount(), 2);
    ASSERT_EQ(card->itemCount(), 6);
    EXPECT_EQ(card->offer().items()[3].Popis, QStringLiteral("Čep"));
    EXPECT_FALSE(card->marks()[3]);

    // Sorting by "Popis" goes in Czech order ("ch" after "h") and the marks go along.
    card->setCurrent(2);
    card->removeCurrent(); // the marked "Čep": its mark goes with it
    card->addTextItem(true);
    ui.answer(true); // the title items lose their places
    ASSERT_TRUE(card->sortBy(offers::ItemSortColumn::Popis));
    EXPECT_EQ(descriptions(*card), (QStringList{"Bod", "Čep", "Hák", "Chlor", "Ihla", "Nadpis"}));
    EXPECT_EQ(markedDescriptions(*card), QStringList{"Chlor"});

    // Moving an item takes its mark along too.
    card->setCurrent(3);
    card->moveCurrent(true);
    EXPECT_EQ(markedDescriptions(*card), QStringList{"Chlor"});
    EXPECT_TRUE(card->marks()[2]);
}

TEST_F(OfferCardKeepsWorkTest, MarkedCatalogueItemsArriveInCatalogueOrderAndMarksLeftAreTaken) {
    const qint64 first = catalogueItem(QStringLiteral("Zámek"));
    const qint64 second = catalogueItem(QStringLiteral("Anténa"));
    const qint64 third = catalogueItem(QStringLiteral("Lišta"));
    auto card = openCard(OfferCardMode::New);
    ASSERT_TRUE(card);
    card->addFreeItem();
    card->addFreeItem();
    card->setCurrent(0);

    // Marked in the catalogue, they come after the current item in the catalogue's order.
    test.navigator.answerWindow({NavigationStatus::Done, {third, first, second}, true});
    card->addCatalogueItems();
    EXPECT_EQ(descriptions(*card), (QStringList{"Bod", "Lišta", "Zámek", "Anténa", "Čep"}));
    EXPECT_EQ(editor.shown, 2 + 3);
    EXPECT_EQ(test.navigator.count(QStringLiteral("pickCatalogueItems")), 1);

    // One marked item is a marked item: with the bulk switch it comes in without its card, and
    // the catalogue is not shown again for another pick.
    core::programState().settings.profil.hromadneVkladani = true;
    test.navigator.answerWindow({NavigationStatus::Done, {second}, true});
    card->addCatalogueItems();
    EXPECT_EQ(card->itemCount(), 6);
    EXPECT_EQ(editor.shown, 5);
    EXPECT_EQ(test.navigator.count(QStringLiteral("pickCatalogueItems")), 2);

    // Marks the catalogue was closed with are taken at the next command, without showing it.
    test.navigator.answerWindow({NavigationStatus::Cancelled, {second, third}, true});
    card->addCatalogueItems();
    EXPECT_EQ(card->itemCount(), 6);
    card->addCatalogueItems();
    EXPECT_EQ(test.navigator.count(QStringLiteral("pickCatalogueItems")), 3);
    ASSERT_EQ(card->itemCount(), 8);
    const int at = static_cast<int>(*card->current());
    EXPECT_EQ(card->offer().items()[static_cast<std::size_t>(at - 1)].Popis,
              QStringLiteral("Anténa"));
    EXPECT_EQ(card->offer().items()[static_cast<std::size_t>(at)].Popis, QStringLiteral("Lišta"));
}

TEST_F(OfferCardKeepsWorkTest, AReadOnlyOfferTakesItemChangesButSavesNothing) {
    auto writable = openCard(OfferCardMode::New);
    ASSERT_TRUE(writable);
    writable->addFreeItem();
    writable->addTextItem(false);
    ASSERT_TRUE(writable->confirm());
    const qint64 id = *writable->savedId();
    writable.reset();
    ASSERT_TRUE(db().execute(QStringLiteral("UPDATE Nabidky SET Zamek = 1 WHERE ID = :ID"),
                             {{QStringLiteral("ID"), id}}));

    auto card = openCard(OfferCardMode::Existing, id);
    ASSERT_TRUE(card);
    EXPECT_TRUE(ui.sawContaining(Kind::Information, QStringLiteral("uzamčený")));
    ASSERT_TRUE(card->readOnly());
    const int before = editor.shown;
    card->addFreeItem();
    EXPECT_EQ(card->itemCount(), 3);
    // The text item's card takes its OK, too.
    ASSERT_TRUE(card->offer().items()[2].Textova);
    card->setCurrent(2);
    card->editCurrent();
    EXPECT_EQ(editor.shown, before + 2);
    EXPECT_TRUE(card->changed());
    EXPECT_FALSE(card->confirm());
    EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM NabPolozky WHERE CisloNab = :ID"),
                    {{QStringLiteral("ID"), id}})
                  .toInt(),
              2);
}

TEST_F(OfferCardKeepsWorkTest, TheItemCardStoresTheFieldsAsTheyHoldThem) {
    OfferWorkingCopy offer(offers::OfferMode::New);
    offer.header().SazDPHZakl = 21.0;
    offer.header().SazDPHSniz = 12.0;
    const offers::OfferRates rates{21.0, 12.0, 0};
    const auto confirmed = [&](const std::function<void(OfferItemCard&)>& edit) {
        OfferWorkingCopy work = offer;
        OfferItemCard card(db(), ui, work, rates);
        card.openNew(std::nullopt);
        card.item().Popis = QStringLiteral("Položka");
        card.setNakCena(60.0);
        card.setZaok(1);
        card.setProdCena(100.0);
        edit(card);
        const offers::OfferItem shown = card.item();
        EXPECT_TRUE(card.confirm());
        EXPECT_EQ(work.items().size(), 1u);
        const offers::OfferItem stored =
            work.items().empty() ? offers::OfferItem{} : work.items()[0];
        // Whatever was edited last, the row holds what the fields showed.
        EXPECT_DOUBLE_EQ(stored.ProdCena, shown.ProdCena);
        EXPECT_DOUBLE_EQ(stored.ProdCenaPo, shown.ProdCenaPo);
        EXPECT_DOUBLE_EQ(stored.PCBDPHMJ, shown.PCBDPHMJ);
        EXPECT_DOUBLE_EQ(stored.PCSDPHMJ, shown.PCSDPHMJ);
        EXPECT_DOUBLE_EQ(stored.Marze, shown.Marze);
        EXPECT_DOUBLE_EQ(stored.Rabat, shown.Rabat);
        EXPECT_DOUBLE_EQ(stored.Sleva, shown.Sleva);
        EXPECT_DOUBLE_EQ(stored.ZiskPol, shown.ZiskPol);
        return stored;
    };
    // "Výsledná prod. cena" typed with rounding to whole units and no discount stays 99.50.
    const offers::OfferItem typed = confirmed([](OfferItemCard& c) { c.setProdCenaPo(99.5); });
    EXPECT_DOUBLE_EQ(typed.ProdCenaPo, 99.5);
    EXPECT_DOUBLE_EQ(typed.ProdCena, 99.5);
    EXPECT_DOUBLE_EQ(typed.PCBDPHMJ, 99.5);
    confirmed([](OfferItemCard& c) { c.setSleva(12.5); });
    confirmed([](OfferItemCard& c) { c.setMarze(33.0); });
    confirmed([](OfferItemCard& c) { c.setRabat(40.0); });
    confirmed([](OfferItemCard& c) { c.setPocetMJ(3.0); });
    confirmed([](OfferItemCard& c) { c.setSDPH(true); });
    confirmed([](OfferItemCard& c) {
        c.setSleva(10.0);
        c.setProdCenaPo(77.77);
    });
}

TEST_F(OfferCardKeepsWorkTest, ContactPersonAndTheAddressBookOnTheOldAddress) {
    ASSERT_TRUE(db().execute(QStringLiteral("INSERT INTO Adresar (Nazev) VALUES ('Alfa')")));
    const qint64 alfa = db().newRowId();
    ASSERT_TRUE(db().execute(
        QStringLiteral("INSERT INTO Kontakty (CisloAdr, TitulPred, Jmeno, Prijmeni, TitulZa, "
                       "Zobrazit) VALUES (:A, 'Ing.', 'Jan', 'Novák', 'Ph.D.', 1)"),
        {{QStringLiteral("A"), alfa}}));
    ASSERT_TRUE(db().execute(QStringLiteral("INSERT INTO Adresar (Nazev) VALUES ('Beta')")));
    const qint64 beta = db().newRowId();
    ASSERT_TRUE(db().execute(QStringLiteral("INSERT INTO Kontakty (CisloAdr, Jmeno, Prijmeni, "
                                            "Zobrazit) VALUES (:A, '', 'Malá', 1)"),
                             {{QStringLiteral("A"), beta}}));
    auto card = openCard(OfferCardMode::New);
    ASSERT_TRUE(card);
    test.navigator.answerWindow({NavigationStatus::Done, {alfa}});
    card->chooseCustomer();
    EXPECT_EQ(card->offer().header().AdrKontakt, QStringLiteral("Ing. Novák Jan Ph.D."));

    // After Yes to giving up the address, the address book opens on it.
    ui.answer(true);
    test.navigator.answerWindow({NavigationStatus::Done, {beta}});
    card->chooseCustomer();
    EXPECT_EQ(test.navigator.requests(),
              (QStringList{QStringLiteral("pickFirm"), QStringLiteral("pickFirm %1").arg(alfa)}));
    EXPECT_EQ(card->offer().header().AdrKontakt, QStringLiteral("Malá"));
}

TEST_F(OfferCardKeepsWorkTest, DocumentsSortAndFindByDescription) {
    auto card = openCard(OfferCardMode::New);
    ASSERT_TRUE(card);
    card->storeDocument(std::nullopt, QStringLiteral("Výkres"), QStringLiteral("/x/v.pdf"), false);
    card->storeDocument(std::nullopt, QStringLiteral("chladič"), QStringLiteral("/x/c.pdf"), false);
    card->storeDocument(std::nullopt, QStringLiteral("Hák"), QStringLiteral("/x/h.pdf"), false);
    card->sortDocuments();
    QStringList order;
    for (const auto& d : card->offer().documents())
        order << d.Popis;
    EXPECT_EQ(order, (QStringList{"Hák", "chladič", "Výkres"}));
    EXPECT_EQ(card->findDocument(QStringLiteral("CH")), std::optional<std::size_t>(1));
    EXPECT_EQ(card->findDocument(QStringLiteral("vý")), std::optional<std::size_t>(2));
    EXPECT_FALSE(card->findDocument(QStringLiteral("kres")));
    EXPECT_EQ(card->documentPath(0), QStringLiteral("/x/h.pdf"));
}

TEST_F(OfferCardKeepsWorkTest, TheSaveAsksAndReportsOnlyOutsideItsUnitOfWork) {
    // (The scripted person fails the test for any message while a unit of work is open.)
    const QString sources = env.dataFolder() + QStringLiteral("zdroje/");
    ASSERT_TRUE(QDir().mkpath(sources + QStringLiteral("jiny")));
    for (const QString& name : {QStringLiteral("plan.pdf"), QStringLiteral("jiny/plan.pdf")}) {
        QFile file(sources + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(name.toUtf8());
    }
    auto card = openCard(OfferCardMode::New);
    ASSERT_TRUE(card);
    card->storeDocument(std::nullopt, QStringLiteral("Plán"), sources + QStringLiteral("plan.pdf"),
                        true);
    ASSERT_TRUE(card->confirm());
    const qint64 id = *card->savedId();
    card.reset();
    const QString folder = core::programState().offerDocumentsFolder(id);
    EXPECT_TRUE(QFileInfo::exists(folder + QStringLiteral("plan.pdf")));
    EXPECT_EQ(value(QStringLiteral("SELECT Soubor FROM DokumentyNab WHERE CisloNab = :ID"),
                    {{QStringLiteral("ID"), id}})
                  .toString(),
              offers::sharedLink(QStringLiteral("plan.pdf")));

    // A second file of that name: asked whether to overwrite; No keeps the link where it was.
    card = openCard(OfferCardMode::Existing, id);
    ASSERT_TRUE(card);
    const QString other = sources + QStringLiteral("jiny/plan.pdf");
    card->storeDocument(std::nullopt, QStringLiteral("Jiný plán"), other, true);
    ui.answer(false);
    ASSERT_TRUE(card->confirm());
    EXPECT_TRUE(ui.sawContaining(Kind::Question, QStringLiteral("opravdu ho chcete přepsat ?")));
    EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM DokumentyNab WHERE Soubor = :S"),
                    {{QStringLiteral("S"), other}})
                  .toInt(),
              1);

    // An offer deleted elsewhere meanwhile: the failure is reported once the unit is rolled
    // back, and nothing of the card is written.
    ASSERT_TRUE(db().execute(QStringLiteral("DELETE FROM Nabidky WHERE ID = :ID"),
                             {{QStringLiteral("ID"), id}}));
    card->addFreeItem();
    EXPECT_FALSE(card->confirm());
    EXPECT_TRUE(ui.saw(Kind::Error, core::saveFailedMessage(QStringLiteral("Nabidky"))));
    EXPECT_EQ(value(QStringLiteral("SELECT COUNT(*) FROM NabPolozky WHERE CisloNab = :ID"),
                    {{QStringLiteral("ID"), id}})
                  .toInt(),
              0);
}

} // namespace
