#include "catalogue/CatalogueAgenda.h"

#include "core/ProgramState.h"
#include "core/RtfCodec.h"
#include "offers/OfferItemCard.h"
#include "offers/SharedDocuments.h"
#include "services/ActionHistory.h"
#include "support/ModalDialogs.h"
#include "support/TestContext.h"
#include "ui/DocumentLinkDialog.h"
#include "ui/GridBinding.h"
#include "ui/offers/OfferCardWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTextEdit>

#include <gtest/gtest.h>

using namespace orvento;
using Kind = testsupport::ScriptedInteraction::Kind;

namespace {

// Free items of 100 at quantity 1; the other dialogs are not used here.
class FreeItems : public offers::OfferItemEditor {
public:
    explicit FreeItems(core::UserInteraction& ui)
        : m_ui(ui) {}
    bool editNew(offers::OfferWorkingCopy& offer, std::optional<std::size_t> current) override {
        offers::OfferItemCard card(core::programState().db->agenda, m_ui, offer,
                                   offers::currentAgendaRates());
        card.openNew(current);
        card.item().Popis = QStringLiteral("Položka %1").arg(offer.items().size() + 1);
        card.setProdCena(100.0);
        return card.confirm();
    }
    bool editFromCatalogue(offers::OfferWorkingCopy&, qint64, std::optional<std::size_t>) override {
        return false;
    }
    bool editExisting(offers::OfferWorkingCopy&, std::size_t, bool) override { return false; }
    bool editNewText(offers::OfferWorkingCopy&, bool, std::optional<std::size_t>) override {
        return false;
    }
    bool editExistingText(offers::OfferWorkingCopy&, std::size_t, bool) override { return false; }

private:
    core::UserInteraction& m_ui;
};

class OfferCardWindowTest : public testsupport::CatalogueAgenda {
protected:
    void SetUp() override {
        CatalogueAgenda::SetUp();
        if (HasFatalFailure())
            return;
        clearOffersWithNewSeries();
        if (HasFatalFailure())
            return;
        core::programState().settings.profil.dotazPriOpusteni = true;
    }

    std::unique_ptr<ui::OfferCardWindow> open(core::OfferCardMode mode, qint64 id = 0) {
        auto opened = offers::OfferCardLogic::open(test.context, mode, id);
        if (!opened)
            return nullptr;
        auto window =
            std::make_unique<ui::OfferCardWindow>(test.context, std::move(*opened), &editor);
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        return window;
    }

    testsupport::TestContext test{ui};
    FreeItems editor{ui};
};

TEST_F(OfferCardWindowTest, NewOfferWithItemsAndFormattedTextIsSaved) {
    auto window = open(core::OfferCardMode::New);
    ASSERT_TRUE(window);
    EXPECT_EQ(window->objectName(), QStringLiteral("frmNabidkaKart"));
    EXPECT_EQ(window->field(QStringLiteral("Doklad"))->text(), offers::automaticNumberText());

    QTest::mouseClick(window->button(QStringLiteral("btnPridatPolozku")), Qt::LeftButton);
    QTest::keyClick(window.get(), Qt::Key_F2);
    ASSERT_EQ(window->itemGrid()->model()->rowCount(), 2);
    EXPECT_EQ(window->totalLabel(QStringLiteral("lblCelkemBezDPH"))->text(),
              QStringLiteral("200,00 ") + core::programState().settings.symbolMeny);
    // A letter typed in the grid finds the item whose description starts with it.
    window->itemGrid()->setFocus();
    window->itemGrid()->setCurrentIndex(window->itemGrid()->model()->index(0, 3));
    QTest::keyClick(window->itemGrid(), Qt::Key_P);
    auto* find = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_TRUE(find);
    find->insert(QStringLiteral("oložka 2"));
    EXPECT_EQ(window->itemGrid()->currentIndex().row(), 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    // "součet ozn." sums the marked items under their columns.
    QTest::keyClick(window->itemGrid(), Qt::Key_Space);
    window->findChild<QCheckBox*>(QStringLiteral("chkSoucetOzn"))->setChecked(true);
    auto* footer = window->findChild<ui::GridFooter*>();
    ASSERT_TRUE(footer);
    EXPECT_TRUE(footer->isVisible());
    EXPECT_EQ(footer->text(QStringLiteral("PCBDPHPOL")), QStringLiteral("100,00"));
    window->findChild<QCheckBox*>(QStringLiteral("chkSoucetOzn"))->setChecked(false);
    // Ctrl+Del on the grid takes the current item out at once.
    window->itemGrid()->setFocus();
    QTest::keyClick(window->itemGrid(), Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(window->itemGrid()->model()->rowCount(), 1);

    window->field(QStringLiteral("Popis"))->insert(QStringLiteral("Kuchyň"));
    QTextEdit* before = window->textBefore();
    window->findChild<QTabWidget*>()->setCurrentIndex(1);
    before->setFocus();
    before->textCursor().insertText(QStringLiteral("Vážený "));
    QTest::keyClick(before, 'b', Qt::ControlModifier);
    before->textCursor().insertText(QStringLiteral("zákazníku"));

    QTest::mouseClick(window->button(QStringLiteral("btnOK")), Qt::LeftButton);
    EXPECT_EQ(window->result(), QDialog::Accepted);
    const auto id = window->logic().savedId();
    ASSERT_TRUE(id);
    EXPECT_EQ(value(QStringLiteral("SELECT Popis FROM Nabidky WHERE ID = :ID"),
                    {{QStringLiteral("ID"), *id}})
                  .toString(),
              QStringLiteral("Kuchyň"));
    const QString stored = value(QStringLiteral("SELECT TextPred FROM Nabidky WHERE ID = :ID"),
                                 {{QStringLiteral("ID"), *id}})
                               .toString();
    EXPECT_TRUE(core::rtf::looksLikeRtf(stored));
    EXPECT_TRUE(stored.contains(QStringLiteral("\\b ")));
    EXPECT_EQ(core::rtf::plainText(stored), QStringLiteral("Vážený zákazníku"));

    // Opened again: the text comes back with its bold part, and leaving unchanged asks nothing.
    window.reset();
    auto again = open(core::OfferCardMode::Existing, *id);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->textBefore()->toPlainText(), QStringLiteral("Vážený zákazníku"));
    QTextCursor bold = again->textBefore()->document()->find(QStringLiteral("zákazníku"));
    EXPECT_EQ(bold.charFormat().fontWeight(), QFont::Bold);
    again->reject();
    EXPECT_FALSE(again->isVisible());
    EXPECT_TRUE(ui.texts(Kind::Question).isEmpty());
}

TEST_F(OfferCardWindowTest, EscapeAfterAChangeAsksAndStays) {
    auto window = open(core::OfferCardMode::New);
    ASSERT_TRUE(window);
    QTest::keyClicks(window->field(QStringLiteral("Popis")), QStringLiteral("x"));
    ui.answer(false);
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_TRUE(ui.saw(Kind::Question, QStringLiteral("Opustit doklad bez uložení ?")));
    EXPECT_TRUE(window->isVisible());
    // Ctrl+Q hides the profit and the purchase price (after its question).
    ASSERT_TRUE(window->totalLabel(QStringLiteral("lblZisk"))->isVisible());
    ui.answer(true);
    QTest::keyClick(window.get(), 'q', Qt::ControlModifier);
    EXPECT_FALSE(window->totalLabel(QStringLiteral("lblZisk"))->isVisible());
}

TEST_F(OfferCardWindowTest, DocumentLinkCopiedIntoTheOffersFolderOnSave) {
    const QString source = env.programFolder() + QStringLiteral("nabidka-podklady.txt");
    {
        QFile file(source);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("podklady");
    }
    auto window = open(core::OfferCardMode::New);
    ASSERT_TRUE(window);
    ui.chooseFile(source);
    testsupport::onNextModal([](QWidget* modal) {
        auto* link = qobject_cast<ui::DocumentLinkDialog*>(modal);
        ASSERT_NE(link, nullptr);
        EXPECT_EQ(link->windowTitle(), QStringLiteral("Přidat odkaz na dokument"));
        link->copy()->setChecked(true);
        link->accept();
    });
    window->button(QStringLiteral("btnPridatOdkaz"))->click();
    ASSERT_EQ(window->logic().offer().documents().size(), 1u);
    QTest::mouseClick(window->button(QStringLiteral("btnOK")), Qt::LeftButton);
    const auto id = window->logic().savedId();
    ASSERT_TRUE(id);
    const QString stored =
        value(QStringLiteral("SELECT Soubor FROM DokumentyNab WHERE CisloNab = :ID"),
              {{QStringLiteral("ID"), *id}})
            .toString();
    EXPECT_TRUE(offers::isSharedLink(stored)) << stored.toStdString();
    EXPECT_TRUE(QFileInfo::exists(
        offers::expandLink(stored, core::programState().offerDocumentsFolder(*id))));
}

} // namespace
