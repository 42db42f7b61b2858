#include "catalogue/RepricingWizardLogic.h"
#include "catalogue/BulkItemUpdateWizardLogic.h"

#include "CatalogueAgenda.h"
#include "support/ScriptedNavigator.h"

using namespace orvento;
using namespace orvento::catalogue;
using orvento::testsupport::ScriptedInteraction;
using Kind = ScriptedInteraction::Kind;
using Page = BulkWizardPage;

namespace {

class RepricingWizardLogicTest : public testsupport::CatalogueAgenda {
protected:
    // The pages "Další >" walks through until the working page.
    static std::vector<Page> walk(BulkWizardLogic& logic) {
        std::vector<Page> pages{logic.page()};
        while (logic.page() != Page::Working && logic.next())
            pages.push_back(logic.page());
        return pages;
    }
    testsupport::ScriptedNavigator navigator;
};

TEST_F(RepricingWizardLogicTest, PagesFollowTheModeAndTheSettingsChoice) {
    RepricingWizardLogic plain(db(), ui, navigator, SelectionMode::WholeCatalogue, {});
    EXPECT_EQ(walk(plain),
              (std::vector<Page>{Page::Welcome, Page::Filter, Page::Confirm, Page::Working}));
    RepricingWizardLogic marked(db(), ui, navigator, SelectionMode::MarkedItems, {});
    marked.setWithSettings(true);
    EXPECT_TRUE(marked.showsTip());
    EXPECT_EQ(walk(marked),
              (std::vector<Page>{Page::Welcome, Page::Settings, Page::Confirm, Page::Working}));
    // "< Zpět" from the confirm page of the whole catalogue goes to the filter, then past the
    // skipped settings page to the welcome page.
    RepricingWizardLogic back(db(), ui, navigator, SelectionMode::WholeCatalogue, {});
    ASSERT_TRUE(back.next());
    ASSERT_TRUE(back.next());
    ASSERT_EQ(back.page(), Page::Confirm);
    EXPECT_TRUE(back.buttons().back);
    back.back();
    EXPECT_EQ(back.page(), Page::Filter);
    back.back();
    EXPECT_EQ(back.page(), Page::Welcome);
    EXPECT_FALSE(back.buttons().back);

    BulkItemUpdateWizardLogic bulk(db(), ui, navigator, SelectionMode::MarkedGroups, {});
    ASSERT_TRUE(bulk.next());
    ASSERT_TRUE(bulk.next());
    ASSERT_EQ(bulk.page(), Page::Confirm);
    bulk.back();
    EXPECT_EQ(bulk.page(), Page::Settings);
    ASSERT_TRUE(bulk.next());
    ASSERT_TRUE(bulk.next());
    EXPECT_EQ(bulk.page(), Page::Working);
    EXPECT_EQ(bulk.buttons().interrupt, true);
    EXPECT_FALSE(bulk.buttons().close);
}

TEST_F(RepricingWizardLogicTest,
       SettingsPageRefusesAForgottenCoefficientAndKeepsTypeWithRelativePrice) {
    RepricingWizardLogic logic(db(), ui, navigator, SelectionMode::MarkedItems, {});
    logic.setWithSettings(true);
    ASSERT_TRUE(logic.next());
    RepricingSettings s;
    s.priceTypeOn = true;
    s.priceGroupOn = true;
    s.salePrice = {true, ValueAction::Multiply, 0.0};
    logic.setSettings(s);
    EXPECT_FALSE(logic.settings().priceTypeOn);
    EXPECT_FALSE(logic.settings().priceGroupOn);
    EXPECT_FALSE(logic.priceTypeAndGroupEnabled());
    EXPECT_FALSE(logic.next());
    EXPECT_TRUE(ui.saw(Kind::Warning, RepricingWizardLogic::coefficientMessage()));
    EXPECT_EQ(logic.page(), Page::Settings);
    s.salePrice = {true, ValueAction::Set, 0.0};
    s.purchasePrice = {true, ValueAction::Multiply, -1.0};
    logic.setSettings(s);
    EXPECT_TRUE(logic.priceTypeAndGroupEnabled());
    EXPECT_FALSE(logic.next());
    s.purchasePrice.value = 1.1;
    logic.setSettings(s);
    EXPECT_TRUE(logic.next());
    EXPECT_EQ(logic.page(), Page::Confirm);
}

TEST_F(RepricingWizardLogicTest, FilterPageTellsWhatIsMissing) {
    RepricingWizardLogic logic(db(), ui, navigator, SelectionMode::WholeCatalogue, {});
    ASSERT_TRUE(logic.next());
    ASSERT_EQ(logic.page(), Page::Filter);
    EXPECT_FALSE(logic.scopeControls().sheetOn);
    logic.setEverything(false);
    EXPECT_TRUE(logic.scopeControls().groupOn);
    EXPECT_FALSE(logic.scopeControls().groupButton);
    logic.setGroupOn(true);
    EXPECT_FALSE(logic.next());
    EXPECT_TRUE(ui.saw(Kind::Information,
                       QStringLiteral("Nastavte správně filtr nebo jej vypněte (zaškrtněte "
                                      "\"Provést změny na všech položkách...\").")));
    logic.setSheetOn(true);
    EXPECT_FALSE(logic.next());
    EXPECT_TRUE(ui.saw(Kind::Information, QStringLiteral("Vyberte list nebo filtr vypněte.")));
    logic.chooseGroup();
    EXPECT_TRUE(ui.saw(Kind::Information, QStringLiteral("Nejprve vyberte list.")));
    navigator.answerWindow({core::NavigationStatus::Done, {sheet}});
    logic.chooseSheet();
    EXPECT_EQ(logic.scope().sheetName, QStringLiteral("List 1"));
    EXPECT_FALSE(logic.next());
    EXPECT_TRUE(ui.saw(Kind::Information, QStringLiteral("Vyberte skupinu nebo filtr vypněte.")));
    navigator.answerWindow({core::NavigationStatus::Done, {basicGroup}});
    logic.chooseGroup();
    EXPECT_EQ(logic.scope().groupName, QStringLiteral("# Nezařazeno #"));
    EXPECT_TRUE(logic.next());
    EXPECT_EQ(navigator.requests(), (QStringList{QStringLiteral("pickSheet"),
                                                 QStringLiteral("pickGroup %1").arg(sheet)}));
    // Ticking "všech položkách" again unticks the narrowing.
    logic.setEverything(true);
    EXPECT_FALSE(logic.scope().sheetOn);
    EXPECT_FALSE(logic.scope().groupOn);
}

TEST_F(RepricingWizardLogicTest, BulkUpdateNeedsIdentifiersToAddAndTheRights) {
    BulkItemUpdateWizardLogic logic(db(), ui, navigator, SelectionMode::MarkedItems, {});
    ASSERT_TRUE(logic.next());
    BulkUpdateSettings s;
    s.identifiersOn = true;
    s.identifierAction = IdentifierAction::Add;
    logic.setSettings(s);
    EXPECT_FALSE(logic.next());
    EXPECT_TRUE(ui.saw(Kind::Warning, BulkItemUpdateWizardLogic::noIdentifiersMessage()));
    core::NavigationResult edited{core::NavigationStatus::Done, {}};
    edited.code = QStringLiteral("_A_");
    navigator.answerWindow(edited);
    logic.editIdentifiers();
    EXPECT_TRUE(logic.next());

    core::programState().user.hromadneNastaveni = false;
    EXPECT_FALSE(BulkItemUpdateWizardLogic::mayOpen(ui));
    EXPECT_TRUE(RepricingWizardLogic::mayOpen(ui));
    core::programState().user.cenik = core::AccessLevel::ReadOnly;
    EXPECT_FALSE(RepricingWizardLogic::mayOpen(ui));
    EXPECT_EQ(ui.texts(Kind::Information).count(core::noRightsMessage()), 2);
}

} // namespace
