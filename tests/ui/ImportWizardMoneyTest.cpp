#include "core/ProgramState.h"
#include "import/ImportDefinitionStore.h"
#include "import/ImportWizardLogic.h"
#include "import/MoneyImportSettings.h"
#include "support/ModalDialogs.h"
#include "support/OpenAgenda.h"
#include "support/TestContext.h"
#include "support/TestEnvironment.h"
#include "ui/import/ImportWizard.h"
#include "ui/import/ProtocolView.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace orvento;
using testsupport::child;
using testsupport::ScriptedInteraction;
using Kind = ScriptedInteraction::Kind;

namespace {

class ImportWizardMoneyTest : public ::testing::Test {
protected:
    void SetUp() override {
        core::resetProgramState();
        ASSERT_TRUE(testsupport::openEmptyAgendaAndGlobal(env, QStringLiteral("FIRMA")));
        wizard = std::make_unique<ui::ImportWizard>(test.context);
        wizard->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(wizard.get()));
    }
    void TearDown() override { core::resetProgramState(); }

    QString page() const {
        return child<QStackedWidget>(wizard.get(), "pgcMain")->currentWidget()->objectName();
    }
    QStringList shownButtons() const {
        QStringList shown;
        for (const char* name : {"btnZpet", "btnDalsi", "btnZavrit", "btnPrerusit"})
            if (child<QPushButton>(wizard.get(), name)->isVisible())
                shown << child<QPushButton>(wizard.get(), name)->text();
        return shown;
    }
    void press(const char* button) {
        QTest::mouseClick(child<QPushButton>(wizard.get(), button), Qt::LeftButton);
    }
    QAction* moneyEntry() const {
        const auto actions = child<QPushButton>(wizard.get(), "btnPridat")->menu()->actions();
        return actions.size() > 2 ? actions.at(2) : nullptr;
    }
    QStringList listed() const {
        QStringList names;
        auto* list = child<QTreeWidget>(wizard.get(), "grDefinice");
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            names << list->topLevelItem(i)->text(0);
        return names;
    }

    testsupport::TestEnvironment env;
    ScriptedInteraction ui;
    testsupport::TestContext test{ui};
    std::unique_ptr<ui::ImportWizard> wizard;
};

TEST_F(ImportWizardMoneyTest, ANewAgendasMoneyDefinitionRunsFromItsStartPageToTheProtocol) {
    press("btnDalsi");
    ASSERT_EQ(page(), QStringLiteral("tsVyberDef"));
    // New agendas hold the definition, so "Přidat" does not offer it.
    EXPECT_EQ(listed(), QStringList{import::moneyDefinitionName()});
    ASSERT_NE(moneyEntry(), nullptr);
    EXPECT_FALSE(moneyEntry()->isVisible());

    press("btnDalsi");
    EXPECT_TRUE(ui.waitTexts().contains(QStringLiteral("Příprava importu, prosím čekejte ...")));
    ASSERT_EQ(page(), QStringLiteral("tsMoneyBeforeStart"));
    const QString text = child<QLabel>(wizard.get(), "lblMoneyStart")->text();
    EXPECT_TRUE(
        text.contains(QStringLiteral("<span style=\"color: red;\">Důležité upozornění:</span>")))
        << text.toStdString();
    EXPECT_TRUE(
        text.startsWith(QStringLiteral("Nyní je vše připraveno na import dat z ekonomického "
                                       "systému Money.")));
    EXPECT_EQ(shownButtons(), (QStringList{QStringLiteral("< Zpět"), QStringLiteral("Další >"),
                                           QStringLiteral("Zavřít")}));

    // Its folders are still empty: the run stops at the first file with its red line.
    press("btnDalsi");
    EXPECT_EQ(page(), QStringLiteral("tsProtocol"));
    const auto& lines = wizard->logic().protocol().lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_TRUE(lines.front().text.startsWith(QStringLiteral("Import dat z Money - Start ")));
    EXPECT_EQ(lines.back().text, QStringLiteral("!CHYBA - soubor ObSezObj.dat neexistuje"));
    EXPECT_TRUE(child<QLabel>(wizard.get(), "lblChyba")->isVisible());
    EXPECT_EQ(shownButtons(), (QStringList{QStringLiteral("Zavřít"), QStringLiteral("Přerušit")}));
    EXPECT_TRUE(ui.texts(Kind::Question).isEmpty());
}

TEST_F(ImportWizardMoneyTest, PridatOffersTheMoneyDefinitionOnlyWhileTheAgendaHasNone) {
    ASSERT_TRUE(core::programState().db->agenda.execute(QStringLiteral("DELETE FROM Import")));
    press("btnDalsi");
    ASSERT_TRUE(listed().isEmpty());
    ASSERT_TRUE(moneyEntry()->isVisible());
    EXPECT_EQ(moneyEntry()->text(), QStringLiteral("Import z účetního systému Money"));
    moneyEntry()->trigger();
    EXPECT_EQ(listed(), QStringList{import::moneyDefinitionName()});
    EXPECT_FALSE(moneyEntry()->isVisible());
    QString error;
    const auto rows = import::ImportDefinitionStore(core::programState().db->agenda).list(error);
    ASSERT_TRUE(rows && rows->size() == 1);
    const auto stored = import::ImportDefinitionStore(core::programState().db->agenda)
                            .read(rows->front().id, error);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->kind, import::DefinitionKind::Money);
    EXPECT_EQ(stored->rawText, import::moneyDefinitionText());

    // A run into offers needs the offers' bulk right.
    core::programState().user.nabidky = core::AccessLevel::ReadOnly;
    press("btnDalsi");
    EXPECT_TRUE(ui.saw(Kind::Information, core::noRightsMessage()));
    EXPECT_EQ(page(), QStringLiteral("tsVyberDef"));
}

} // namespace
