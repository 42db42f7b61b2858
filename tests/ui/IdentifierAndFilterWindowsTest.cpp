#include "catalogue/CatalogueRecords.h"
#include "catalogue/IdentifierRecords.h"
#include "catalogue/ItemCard.h"
#include "catalogue/ItemRecord.h"
#include "catalogue/NamedSettings.h"
#include "core/AgendaInit.h"
#include "core/ProgramState.h"
#include "services/ProfileSession.h"
#include "support/ModalDialogs.h"
#include "support/OpenAgenda.h"
#include "support/ScriptedInteraction.h"
#include "support/TestEnvironment.h"
#include "ui/catalogue/CatalogueWindow.h"
#include "ui/catalogue/ItemCardDialog.h"
#include "ui/catalogue/NamedSettingWindows.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace orvento;
using testsupport::child;
using testsupport::onNextModal;

namespace {

class IdentifierWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.useDataFolder();
        ASSERT_TRUE(
            testsupport::openTestAgenda(env, QStringLiteral("0001.res"), QStringLiteral("FIRMA")));
        QDir().mkpath(core::programState().folders.lock);
        core::ensureFirstSheet(db(), ui);
        sheet = catalogue::readSheets(db()).front().id;
        basic = catalogue::basicGroupOf(db(), sheet);
    }
    void TearDown() override { core::programState().db->agenda.close(); }

    static core::Database& db() { return core::programState().db->agenda; }
    void addItem(const QString& popis, const QString& identif = {}) {
        EXPECT_TRUE(db().execute(QStringLiteral("INSERT INTO Zasoby (Sklad, Skupina, Popis, "
                                                "Identif) VALUES (:Sklad, :Skupina, :Popis, "
                                                ":Identif)"),
                                 {{QStringLiteral("Sklad"), sheet},
                                  {QStringLiteral("Skupina"), basic},
                                  {QStringLiteral("Popis"), popis},
                                  {QStringLiteral("Identif"), identif}}));
    }
    static void clickOk(QWidget* window) {
        QTest::mouseClick(child<QPushButton>(window, "btnOK"), Qt::LeftButton);
    }

    testsupport::TestEnvironment env;
    testsupport::ScriptedInteraction ui;
    services::ProfileSession session;
    qint64 sheet = 0;
    qint64 basic = 0;
};

TEST_F(IdentifierWindowsTest, FilterFromTheCatalogueWindowNarrowsTheItemsAndMarksTheButton) {
    for (const char* name : {"Chladič", "chladnička", "Cihla", "Hadice"})
        addItem(QString::fromUtf8(name));
    ui::CatalogueWindow window(ui, session, catalogue::CatalogueMode::Browse);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.toggleGroups(); // every item of the sheet
    auto* filter = child<QPushButton>(&window, "btnFiltr");
    ASSERT_EQ(window.itemsView()->model()->rowCount(), 4);

    // "jen část" with nothing typed is refused and the dialog stays; then "chlad" in part.
    onNextModal([&](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Filtr"));
        auto* byDescription = child<QCheckBox>(dialog, "chckPopis");
        auto* text = child<QLineEdit>(dialog, "edtPopis");
        EXPECT_FALSE(text->isEnabled());
        byDescription->click();
        EXPECT_TRUE(text->isEnabled());
        child<QCheckBox>(dialog, "chckPopisCast")->click();
        clickOk(dialog);
        EXPECT_TRUE(dialog->isVisible());
        QTest::keyClicks(text, QStringLiteral("CHLAD"));
        clickOk(dialog);
    });
    QTest::mouseClick(filter, Qt::LeftButton);
    EXPECT_TRUE(ui.saw(testsupport::ScriptedInteraction::Kind::Warning,
                       catalogue::filterPartEmptyMessage()));
    EXPECT_EQ(window.itemsView()->model()->rowCount(), 2);
    EXPECT_EQ(filter->text(), QStringLiteral("Filtr !"));
    EXPECT_TRUE(filter->font().bold());

    // The entries are kept; "filtr aktivní" is ticked again, and unticking it removes the filter.
    onNextModal([&](QWidget* dialog) {
        EXPECT_EQ(child<QLineEdit>(dialog, "edtPopis")->text(), QStringLiteral("CHLAD"));
        auto* active = child<QCheckBox>(dialog, "chckAktivni");
        EXPECT_TRUE(active->isChecked());
        active->click();
        clickOk(dialog);
    });
    QTest::mouseClick(filter, Qt::LeftButton);
    EXPECT_EQ(window.itemsView()->model()->rowCount(), 4);
    EXPECT_EQ(filter->text(), QStringLiteral("Filtr"));
    EXPECT_FALSE(filter->font().bold());
}

TEST_F(IdentifierWindowsTest, F3OnTheItemCardAddsTwoCodesFromTheList) {
    for (const char* code : {"SW", "HW"}) {
        catalogue::Identifier identifier;
        identifier.Zkratka = QString::fromLatin1(code);
        ASSERT_TRUE(catalogue::identifierMapping().insert(db(), identifier));
    }
    catalogue::ItemCard card(db(), ui);
    ASSERT_TRUE(card.open(catalogue::ItemCardMode::New, 0, sheet, basic));
    ui::ItemCardDialog dialog(card, ui);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    // The list, sorted by code: HW, SW. Each pick is one "Přidat" in the editor.
    const auto pick = [](int row) {
        return [row](QWidget* list) {
            EXPECT_EQ(list->objectName(), QStringLiteral("frmSezIdentif"));
            list->findChild<QTableWidget*>()->setCurrentCell(row, 0);
            clickOk(list);
        };
    };
    bool editorSeen = false;
    onNextModal([&](QWidget* editor) {
        editorSeen = true;
        EXPECT_EQ(editor->windowTitle(), QStringLiteral("Editor položek"));
        EXPECT_FALSE(child<QPushButton>(editor, "btnVyjmout")->isEnabled());
        auto* add = child<QPushButton>(editor, "btnPridat");
        onNextModal(pick(0));
        QTest::mouseClick(add, Qt::LeftButton);
        onNextModal(pick(1));
        QTest::mouseClick(add, Qt::LeftButton);
        EXPECT_TRUE(child<QPushButton>(editor, "btnVyjmout")->isEnabled());
        clickOk(editor);
    });
    QTest::keyClick(&dialog, Qt::Key_F3);
    ASSERT_TRUE(editorSeen);
    EXPECT_EQ(child<QLineEdit>(&dialog, "edtIdentif")->text(), QStringLiteral("_HW_SW_"));
    child<QLineEdit>(&dialog, "edtPopis")->setText(QStringLiteral("Počítač"));
    clickOk(&dialog);
    ASSERT_EQ(dialog.result(), QDialog::Accepted) << ui.allTexts().join(u'|').toStdString();
    EXPECT_EQ(catalogue::readItem(db(), card.id())->Identif, QStringLiteral("_HW_SW_"));
}

TEST_F(IdentifierWindowsTest, TheChooserDeletesASettingAfterTheQuestion) {
    for (const char* name : {"Alfa", "Beta"}) {
        catalogue::NamedSetting setting;
        setting.IDModulu = catalogue::SettingModule::PriceListOutput;
        setting.Nazev = QString::fromLatin1(name);
        ASSERT_TRUE(catalogue::insertNamedSetting(db(), setting));
    }
    ui::NamedSettingChooserWindow window(ui, catalogue::SettingModule::PriceListOutput);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Výběr nastavení"));
    ASSERT_EQ(window.table()->rowCount(), 2);
    window.table()->setCurrentCell(1, 0);
    ui.answer(true);
    QTest::mouseClick(child<QPushButton>(&window, "btnVyjmout"), Qt::LeftButton);
    ASSERT_EQ(window.table()->rowCount(), 1);
    EXPECT_EQ(window.table()->item(0, 0)->text(), QStringLiteral("Alfa"));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM Filtry"))->toInt(), 1);
    ui.answer(true);
    QTest::mouseClick(child<QPushButton>(&window, "btnVyjmout"), Qt::LeftButton);
    EXPECT_EQ(window.table()->rowCount(), 0);
    EXPECT_FALSE(child<QPushButton>(&window, "btnOK")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(&window, "btnVyjmout")->isEnabled());
}

} // namespace
