#include "catalogue/CatalogueAgenda.h"

#include "offers/NoItemEditor.h"
#include "offers/OfferCardLogic.h"
#include "offers/OfferItemImport.h"
#include "support/ModalDialogs.h"
#include "support/TestContext.h"
#include "ui/offers/OfferCardWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>
#include <xlsxwriter.h>

using namespace orvento;
using testsupport::child;
using Kind = testsupport::ScriptedInteraction::Kind;

namespace {

class OfferItemImportDialogTest : public testsupport::CatalogueAgenda {
protected:
    void SetUp() override {
        CatalogueAgenda::SetUp();
        if (HasFatalFailure())
            return;
        clearOffersWithNewSeries();
        addCatalogue(QStringLiteral("KAB-01"), QStringLiteral("Kabel CYKY"), 100.0);
        addCatalogue(QStringLiteral("ZÁS-ŽLUTÁ"), QStringLiteral("Zásuvka"), 50.0);
        auto opened = offers::OfferCardLogic::open(test.context, core::OfferCardMode::New, 0);
        ASSERT_TRUE(opened);
        window = std::make_unique<ui::OfferCardWindow>(test.context, std::move(*opened), &editor);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    void addCatalogue(const QString& katalog, const QString& popis, double net) {
        catalogue::ItemRecord item;
        item.Katalog = katalog;
        item.Popis = popis;
        item.price.PrCenaBDPH = net;
        item.price.PrCenaSDPH = net * 1.21;
        item.price.SazbaDPH = 21.0;
        addItem(item);
    }

    // The bulk menu's command, with `work` done on the dialog it opens.
    void importWith(const std::function<void(QWidget*)>& work) {
        auto* menu = child<QMenu>(window.get(), "mnuHromadne");
        ASSERT_NE(menu, nullptr);
        QAction* command = menu->findChild<QAction*>(QStringLiteral("actImport"));
        ASSERT_NE(command, nullptr);
        ASSERT_TRUE(command->isEnabled());
        testsupport::onNextModal(work);
        command->trigger();
    }

    static void typeInto(QWidget* dialog, const char* combo, const QString& text) {
        auto* field = child<QComboBox>(dialog, combo);
        field->lineEdit()->clear();
        QTest::keyClicks(field->lineEdit(), text);
    }

    QString shownTotal() const { return child<QLabel>(window.get(), "lblCelkemBezDPH")->text(); }

    testsupport::TestContext test{ui};
    testsupport::NoItemEditor editor;
    std::unique_ptr<ui::OfferCardWindow> window;
};

TEST_F(OfferItemImportDialogTest, ClipboardKeysAndQuantitiesAreAddedToTheOpenOffer) {
    QGuiApplication::clipboard()->setText(
        QStringLiteral("Kód\tPočet\r\nkab-01\t3\r\nNIC\t1\r\nzás-žlutá\t2,5\r\n"));
    bool stayedOpen = false;
    importWith([&](QWidget* dialog) {
        EXPECT_EQ(dialog->objectName(), QStringLiteral("frmItemsImportFileParser"));
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Hromadné přidání položek z ceníku"));
        auto* source = child<QComboBox>(dialog, "cbxZdroj");
        EXPECT_EQ(source->itemText(2), QStringLiteral("Schránka"));
        source->setCurrentIndex(2);
        EXPECT_FALSE(child<QLineEdit>(dialog, "edtSoubor")->isEnabled());
        auto* quantityColumn = child<QComboBox>(dialog, "cbxSloupecPocet");
        EXPECT_FALSE(quantityColumn->isVisibleTo(dialog));
        QTest::mouseClick(child<QCheckBox>(dialog, "chckPocet1"), Qt::LeftButton, {}, QPoint(5, 5));
        EXPECT_TRUE(quantityColumn->isVisibleTo(dialog));
        // OK without the columns: the message, and the dialog stays.
        QTest::mouseClick(child<QPushButton>(dialog, "btnOK"), Qt::LeftButton);
        stayedOpen = dialog->isVisible();
        EXPECT_TRUE(
            ui.saw(Kind::Error, QStringLiteral("Určete všechna přiřazení sloupců ve zdroji dat.")));
        typeInto(dialog, "cbxSloupecKlic", QStringLiteral("1"));
        typeInto(dialog, "cbxSloupecPocet", QStringLiteral("2"));
        QTest::mouseClick(child<QPushButton>(dialog, "btnOK"), Qt::LeftButton);
    });
    EXPECT_TRUE(stayedOpen);
    offers::OfferCardLogic& logic = window->logic();
    ASSERT_EQ(logic.itemCount(), 2);
    EXPECT_DOUBLE_EQ(logic.offer().items()[0].PocetMJ, 3.0);
    EXPECT_DOUBLE_EQ(logic.offer().items()[1].PocetMJ, 2.5);
    EXPECT_DOUBLE_EQ(logic.offer().totals().totalNet, 425.0);
    EXPECT_EQ(shownTotal(), offers::OfferCardLogic::totalText(425.0));
    EXPECT_EQ(ui.problemLines(),
              QStringList{"• záznam č. 2 - podle spojovacího klíče \"NIC\" nebyla nalezena "
                          "žádná položka v ceníku"});
}

TEST_F(OfferItemImportDialogTest, AnXlsxChosenWithTheBrowseButtonAddsItsKeysAtQuantityOne) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("objednavka.xlsx"));
    lxw_workbook* book = workbook_new(QFile::encodeName(path).constData());
    lxw_worksheet* list = workbook_add_worksheet(book, "List1");
    worksheet_write_string(list, 0, 0, "Počet", nullptr);
    worksheet_write_string(list, 0, 1, "Kód", nullptr);
    worksheet_write_number(list, 1, 0, 7, nullptr);
    worksheet_write_string(list, 1, 1, "ZÁS-ŽLUTÁ", nullptr);
    worksheet_write_number(list, 2, 0, 9, nullptr);
    worksheet_write_string(list, 2, 1, "kab-01 ", nullptr);
    ASSERT_EQ(workbook_close(book), LXW_NO_ERROR);

    ui.chooseFile(path);
    importWith([&](QWidget* dialog) {
        EXPECT_EQ(child<QComboBox>(dialog, "cbxZdroj")->currentIndex(), 0);
        QTest::mouseClick(child<QPushButton>(dialog, "btnSoubor"), Qt::LeftButton);
        EXPECT_EQ(child<QLineEdit>(dialog, "edtSoubor")->text(), path);
        typeInto(dialog, "cbxSloupecKlic", QStringLiteral("2"));
        QTest::mouseClick(child<QPushButton>(dialog, "btnOK"), Qt::LeftButton);
    });
    offers::OfferCardLogic& logic = window->logic();
    ASSERT_EQ(logic.itemCount(), 2);
    EXPECT_EQ(logic.offer().items()[0].Popis, QStringLiteral("Zásuvka"));
    EXPECT_DOUBLE_EQ(logic.offer().items()[0].PocetMJ, 1.0);
    EXPECT_DOUBLE_EQ(logic.offer().items()[1].PocetMJ, 1.0);
    EXPECT_EQ(shownTotal(), offers::OfferCardLogic::totalText(150.0));
    EXPECT_TRUE(ui.problemLines().isEmpty());
    // The choices come back the next time.
    EXPECT_EQ(offers::ItemImportSettings::load().fileName, path);
    EXPECT_EQ(offers::ItemImportSettings::load().keyColumn, QStringLiteral("2"));
}

} // namespace
