#include "catalogue/CatalogueAgenda.h"

#include "core/ProgramState.h"
#include "core/RtfCodec.h"
#include "offers/NoItemEditor.h"
#include "offers/OfferCardLogic.h"
#include "offers/OfferStore.h"
#include "offers/OfferTemplateCard.h"
#include "offers/OfferTemplateList.h"
#include "services/RecordLock.h"
#include "support/TestContext.h"

#include <gtest/gtest.h>

using namespace orvento;
using catalogue::CardOutcome;
using core::NavigationStatus;
using offers::OfferTemplate;
using offers::OfferTemplateCard;
using Kind = testsupport::ScriptedInteraction::Kind;

namespace {

const QString kExists = QStringLiteral("Zkratka \"%1\" již v seznamu existuje, zadejte jinou.");
const QString kSaveFailed =
    QStringLiteral("Při ukládání záznamu došlo k chybě: metoda \"Execute\" selhala.");

QString rtfOf(const QString& plain) {
    return QStringLiteral("{\\rtf1\\ansi {\\b %1}\\par}").arg(plain);
}

class OfferTemplateTest : public testsupport::CatalogueAgenda {
protected:
    void SetUp() override {
        CatalogueAgenda::SetUp();
        if (HasFatalFailure())
            return;
        clearOffersWithNewSeries();
        core::programState().settings.profil.vychoziSablona.clear();
    }
    void TearDown() override { core::programState().settings.profil.vychoziSablona.clear(); }

    qint64 addTemplate(const QString& code, const QString& title = QStringLiteral("Nabídka"),
                       const QString& before = {}, const QString& after = {}) {
        OfferTemplate row;
        row.Zkratka = code;
        row.Nazev = code + QStringLiteral(" název");
        row.Nadpis = title;
        row.TextPred = before;
        row.TextZa = after;
        EXPECT_TRUE(offers::templateMapping().insert(db(), row));
        return db().newRowId();
    }
    QString codeOf(qint64 id) {
        return value(QStringLiteral("SELECT Zkratka FROM NabSablony WHERE ID = :ID"),
                     {{QStringLiteral("ID"), id}})
            .toString();
    }
    qint64 templateCount() {
        return value(QStringLiteral("SELECT COUNT(*) FROM NabSablony")).toLongLong();
    }

    std::unique_ptr<offers::OfferCardLogic> openCard(core::OfferCardMode mode, qint64 id = 0) {
        auto opened = offers::OfferCardLogic::open(test.context, mode, id);
        if (!opened)
            return nullptr;
        return std::make_unique<offers::OfferCardLogic>(test.context, std::move(*opened), editor);
    }

    testsupport::TestContext test{ui};
    testsupport::NoItemEditor editor;
};

TEST_F(OfferTemplateTest, NewTemplateIsStoredWithTheAbbreviationTrimmed) {
    OfferTemplateCard card(db(), ui);
    card.startNew();
    card.record().Zkratka = QStringLiteral("  Servis ");
    card.record().Nazev = QStringLiteral("Servisní \"práce\" – účtování");
    card.record().TextPred = rtfOf(QStringLiteral("Vážený zákazníku"));
    ASSERT_EQ(card.confirm(), CardOutcome::Saved);
    ASSERT_GT(card.id(), 0);
    EXPECT_EQ(codeOf(card.id()), QStringLiteral("Servis"));
    const auto stored = offers::templateById(db(), card.id());
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->Nazev, QStringLiteral("Servisní \"práce\" – účtování"));
    EXPECT_EQ(stored->TextPred, rtfOf(QStringLiteral("Vážený zákazníku")));

    // Only blanks: nothing is written and the card stays open.
    OfferTemplateCard blank(db(), ui);
    blank.startNew();
    blank.record().Zkratka = QStringLiteral("   ");
    EXPECT_EQ(blank.confirm(), CardOutcome::StayOpen);
    EXPECT_TRUE(ui.saw(Kind::Warning, QStringLiteral("Musíte zadat zkratku.")));
    EXPECT_EQ(templateCount(), 1);
}

// Abbreviations match ignoring letter case, Czech letters included, which the engine's own
// comparison does not do; the template's own row never counts against it.
TEST_F(OfferTemplateTest, AbbreviationOfAnotherTemplateIsRefusedItsOwnIsNot) {
    const qint64 shortOne = addTemplate(QStringLiteral("KRÁTKÁ"));
    const qint64 standard = addTemplate(QStringLiteral("std"));

    OfferTemplateCard fresh(db(), ui);
    fresh.startNew();
    fresh.record().Zkratka = QStringLiteral("krátká");
    EXPECT_EQ(fresh.confirm(), CardOutcome::StayOpen);
    EXPECT_TRUE(ui.saw(Kind::Information, kExists.arg(QStringLiteral("krátká"))));
    EXPECT_EQ(templateCount(), 2);

    OfferTemplateCard rename(db(), ui);
    ASSERT_TRUE(rename.startExisting(standard));
    rename.record().Zkratka = QStringLiteral("Krátká ");
    EXPECT_EQ(rename.confirm(), CardOutcome::StayOpen);
    EXPECT_EQ(codeOf(standard), QStringLiteral("std"));
    // Entered values stay in the card: written in other letters, its own abbreviation is fine.
    EXPECT_EQ(rename.record().Zkratka, QStringLiteral("Krátká"));
    rename.record().Zkratka = QStringLiteral("STD");
    EXPECT_EQ(rename.confirm(), CardOutcome::Saved);
    EXPECT_EQ(codeOf(standard), QStringLiteral("STD"));
    // Saved again unchanged.
    rename.record().Nazev = QStringLiteral("Standardní");
    EXPECT_EQ(rename.confirm(), CardOutcome::Saved);
    EXPECT_EQ(codeOf(shortOne), QStringLiteral("KRÁTKÁ"));
    EXPECT_EQ(ui.texts(Kind::Information).size(), 2);
}

TEST_F(OfferTemplateTest, TemplateDeletedElsewhereIsNotTakenAsSaved) {
    const qint64 id = addTemplate(QStringLiteral("STD"));
    OfferTemplateCard card(db(), ui);
    ASSERT_TRUE(card.startExisting(id));
    ASSERT_TRUE(db().execute(QStringLiteral("DELETE FROM NabSablony WHERE ID = :ID"),
                             {{QStringLiteral("ID"), id}}));
    card.record().Nazev = QStringLiteral("Změněno");
    EXPECT_EQ(card.confirm(), CardOutcome::SaveFailed);
    EXPECT_TRUE(ui.saw(Kind::Error, kSaveFailed));
    EXPECT_EQ(templateCount(), 0);
}

TEST_F(OfferTemplateTest, TemplateLockedElsewhereOpensReadOnlyAndCannotBeDeleted) {
    const qint64 first = addTemplate(QStringLiteral("A"));
    const qint64 second = addTemplate(QStringLiteral("B"));
    const qint64 third = addTemplate(QStringLiteral("C"));
    services::RecordLock elsewhere;
    ASSERT_EQ(services::RecordLock::take(QStringLiteral("NabSablony"), second, ui, elsewhere),
              services::RecordLock::State::Held);

    OfferTemplateCard card(db(), ui);
    ASSERT_TRUE(card.startExisting(second));
    EXPECT_FALSE(card.editable());
    EXPECT_TRUE(ui.sawContaining(Kind::Information,
                                 QStringLiteral("Záznam je právě používán jiným uživatelem")));
    card.record().Zkratka = QStringLiteral("X");
    EXPECT_EQ(card.confirm(), CardOutcome::StayOpen);
    EXPECT_EQ(codeOf(second), QStringLiteral("B"));

    offers::OfferTemplateList list(db(), ui);
    ASSERT_TRUE(list.reload());
    ASSERT_TRUE(list.locate(second));
    EXPECT_FALSE(list.removeCurrent());
    EXPECT_TRUE(ui.saw(Kind::Warning, QStringLiteral("Záznam není možné smazat - je právě "
                                                     "používán jiným uživatelem.")));
    EXPECT_EQ(templateCount(), 3);

    // Unlocked, it goes without a question and the list moves to the one that followed.
    elsewhere.release();
    EXPECT_TRUE(list.removeCurrent());
    EXPECT_EQ(list.currentId(), third);
    // The last one: the list moves to the one before it.
    EXPECT_TRUE(list.removeCurrent());
    EXPECT_EQ(list.currentId(), first);
    EXPECT_TRUE(ui.texts(Kind::Question).isEmpty());

    // Gone meanwhile: the warning, nothing deleted.
    ASSERT_TRUE(db().execute(QStringLiteral("DELETE FROM NabSablony")));
    addTemplate(QStringLiteral("D"));
    EXPECT_FALSE(list.removeCurrent());
    EXPECT_TRUE(ui.sawContaining(Kind::Warning, QStringLiteral("smazán jiným uživatelem")));
    EXPECT_EQ(templateCount(), 1);
}

// The default template of a new offer is found whatever letter case the profile has it in; one
// that is not there leaves the texts empty and the usual title.
TEST_F(OfferTemplateTest, NewOfferTakesTheDefaultTemplateOrNothing) {
    addTemplate(QStringLiteral("ŠKOLA"), QStringLiteral("Nabídka pro školu"),
                rtfOf(QStringLiteral("Úvod")), rtfOf(QStringLiteral("Závěr")));
    core::programState().settings.profil.vychoziSablona = QStringLiteral("škola");
    offers::OfferStore store(db());
    auto taken = store.open(offers::OfferMode::New, std::nullopt, ui);
    ASSERT_TRUE(taken);
    EXPECT_EQ(taken->copy.header().TextPred, rtfOf(QStringLiteral("Úvod")));
    EXPECT_EQ(taken->copy.header().TextZa, rtfOf(QStringLiteral("Závěr")));
    EXPECT_EQ(taken->copy.header().Nadpis, QStringLiteral("Nabídka pro školu"));

    core::programState().settings.profil.vychoziSablona = QStringLiteral("ZRUŠENÁ");
    auto none = store.open(offers::OfferMode::New, std::nullopt, ui);
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->copy.header().TextPred.isEmpty());
    EXPECT_TRUE(none->copy.header().TextZa.isEmpty());
    EXPECT_EQ(none->copy.header().Nadpis, QStringLiteral("Nabídka"));
}

TEST_F(OfferTemplateTest, CardAsksOnceBeforeATemplateOverwritesTexts) {
    const qint64 plain = addTemplate(QStringLiteral("PRAZDNY"), QString());
    const qint64 full = addTemplate(QStringLiteral("PLNY"), QStringLiteral("Cenová nabídka"),
                                    rtfOf(QStringLiteral("Před")), rtfOf(QStringLiteral("Za")));
    auto card = openCard(core::OfferCardMode::New);
    ASSERT_TRUE(card);
    card->editHeader([](offers::OfferHeader& h) {
        h.Popis = QStringLiteral("Rozvody");
        h.TextPred = rtfOf(QStringLiteral("Vlastní text"));
    });

    // The texts hold something: the question, answered No, keeps them.
    core::NavigationResult pickFull{NavigationStatus::Done, {full}};
    test.navigator.answerWindow(pickFull);
    ui.answer(false);
    EXPECT_FALSE(card->chooseTemplate());
    EXPECT_EQ(card->offer().header().TextPred, rtfOf(QStringLiteral("Vlastní text")));
    // Asked once whatever the answer: the next choice applies at once.
    test.navigator.answerWindow(pickFull);
    EXPECT_TRUE(card->chooseTemplate());
    EXPECT_EQ(card->offer().header().TextZa, rtfOf(QStringLiteral("Za")));
    EXPECT_EQ(card->offer().header().Nadpis, QStringLiteral("Cenová nabídka"));
    EXPECT_EQ(ui.texts(Kind::Question), QStringList{offers::OfferCardLogic::templateQuestion()});

    // An empty title and empty texts replace the offer's too; the offer is saved as "Nabídka".
    test.navigator.answerWindow({NavigationStatus::Done, {plain}});
    EXPECT_TRUE(card->chooseTemplate());
    EXPECT_TRUE(card->offer().header().Nadpis.isEmpty());
    EXPECT_TRUE(card->offer().header().TextPred.isEmpty());
    EXPECT_TRUE(card->changed());
    ASSERT_TRUE(card->confirm());
    ASSERT_TRUE(card->savedId());
    EXPECT_EQ(value(QStringLiteral("SELECT Nadpis FROM Nabidky WHERE ID = :ID"),
                    {{QStringLiteral("ID"), *card->savedId()}})
                  .toString(),
              QStringLiteral("Nabídka"));

    // A template deleted between the choice and its use: the warning, the offer unchanged.
    auto other = openCard(core::OfferCardMode::New);
    ASSERT_TRUE(other);
    test.navigator.answerWindow({NavigationStatus::Done, {full + 100}});
    EXPECT_FALSE(other->chooseTemplate());
    EXPECT_TRUE(ui.sawContaining(Kind::Warning, QStringLiteral("smazán jiným uživatelem")));
    EXPECT_EQ(other->offer().header().Nadpis, QStringLiteral("Nabídka"));
}

TEST_F(OfferTemplateTest, CardWithEmptyTextsAsksNothing) {
    const qint64 full = addTemplate(QStringLiteral("PLNY"), QStringLiteral("Cenová nabídka"),
                                    rtfOf(QStringLiteral("Před")));
    auto card = openCard(core::OfferCardMode::New);
    ASSERT_TRUE(card);
    // A text with nothing but blanks in it counts as empty.
    card->editHeader([](offers::OfferHeader& h) { h.TextZa = rtfOf(QStringLiteral("  ")); });
    test.navigator.answerWindow({NavigationStatus::Done, {full}});
    EXPECT_TRUE(card->chooseTemplate());
    test.navigator.answerWindow({NavigationStatus::Cancelled, {}});
    EXPECT_FALSE(card->chooseTemplate());
    EXPECT_EQ(core::rtf::plainText(card->offer().header().TextPred), QStringLiteral("Před"));
    EXPECT_TRUE(ui.texts(Kind::Question).isEmpty());
    EXPECT_EQ(test.navigator.count(QStringLiteral("pickOfferTemplate")), 2);
}

} // namespace
