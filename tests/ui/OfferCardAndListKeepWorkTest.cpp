#include "core/ProgramState.h"
#include "core/RtfCodec.h"
#include "offers/NoItemEditor.h"
#include "offers/OfferCardLogic.h"
#include "offers/OfferListModel.h"
#include "offers/OfferWorkingCopy.h"
#include "support/ModalDialogs.h"
#include "support/OpenAgenda.h"
#include "support/ScriptedInteraction.h"
#include "support/TestContext.h"
#include "ui/addressbook/AddressBookWindow.h"
#include "ui/offers/OfferCardWindow.h"
#include "ui/offers/OfferFilterDialog.h"
#include "ui/offers/OfferListWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>

#include <gtest/gtest.h>

using namespace orvento;
using testsupport::onNextModal;
using testsupport::ScriptedInteraction;
using Kind = ScriptedInteraction::Kind;

namespace {

class OfferCardAndListKeepWorkTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.useDataFolder();
        ASSERT_TRUE(
            testsupport::openTestAgenda(env, QStringLiteral("0001.res"), QStringLiteral("FIRMA")));
        QDir().mkpath(core::programState().folders.lock);
        for (const char* table : {"Nabidky", "NabPolozky", "DokumentyNab"})
            ASSERT_TRUE(db().execute(QStringLiteral("DELETE FROM ") + QString::fromLatin1(table)));
        core::programState().settings.profil.dotazPriOpusteni = false;
    }
    void TearDown() override {
        core::programState().showPurchasePrices = true;
        core::programState().db->agenda.close();
    }

    static core::Database& db() { return core::programState().db->agenda; }

    std::unique_ptr<ui::OfferCardWindow> openNewCard() {
        auto opened = offers::OfferCardLogic::open(test.context, core::OfferCardMode::New, 0);
        if (!opened)
            return nullptr;
        auto window =
            std::make_unique<ui::OfferCardWindow>(test.context, std::move(*opened), &editor);
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        return window;
    }

    static QString plainText(const QString& rtf) {
        QTextDocument document;
        core::rtf::read(rtf, document);
        return document.toPlainText();
    }

    testsupport::TestEnvironment env;
    ScriptedInteraction ui;
    testsupport::TestContext test{ui};
    testsupport::NoItemEditor editor;
};

TEST_F(OfferCardAndListKeepWorkTest, TextsSurviveTheNumberFieldsCancelButton) {
    auto window = openNewCard();
    ASSERT_TRUE(window);
    window->textBefore()->setFocus();
    QTest::keyClicks(window->textBefore(), QStringLiteral("Dobry den,"));
    window->textAfter()->setFocus();
    QTest::keyClicks(window->textAfter(), QStringLiteral("S pozdravem"));

    ui.answer(true); // "Opravdu chcete zrušit automatické číslo dokladu ?"
    QTest::mouseClick(window->button(QStringLiteral("btnZrusitCislo")), Qt::LeftButton);
    EXPECT_TRUE(window->field(QStringLiteral("Doklad"))->text().isEmpty());
    EXPECT_EQ(window->textBefore()->toPlainText(), QStringLiteral("Dobry den,"));
    EXPECT_EQ(window->textAfter()->toPlainText(), QStringLiteral("S pozdravem"));
    const offers::OfferHeader& h = window->logic().offer().header();
    EXPECT_EQ(plainText(h.TextPred), QStringLiteral("Dobry den,"));
    EXPECT_EQ(plainText(h.TextZa), QStringLiteral("S pozdravem"));

    // The number takes ten characters, the title fifty.
    QLineEdit* number = window->field(QStringLiteral("Doklad"));
    number->setFocus();
    QTest::keyClicks(number, QStringLiteral("NB-2024-0001"));
    EXPECT_EQ(number->text(), QStringLiteral("NB-2024-00"));
    QLineEdit* title = window->field(QStringLiteral("Nadpis"));
    title->clear();
    title->setFocus();
    QTest::keyClicks(title, QString(60, QLatin1Char('N')));
    EXPECT_EQ(title->text().size(), 50);
    EXPECT_EQ(window->logic().offer().header().Nadpis.size(), 50);
}

TEST_F(OfferCardAndListKeepWorkTest, DocumentGridShowsIconsSortsFindsAndOpens) {
    auto window = openNewCard();
    ASSERT_TRUE(window);
    const QString present = env.dataFolder() + QStringLiteral("nabidka.txt");
    {
        QFile file(present);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("text");
    }
    const QString missing = env.dataFolder() + QStringLiteral("zmizel.pdf");
    offers::OfferCardLogic& logic = window->logic();
    logic.storeDocument(std::nullopt, QStringLiteral("Výkres"), missing, false);
    logic.storeDocument(std::nullopt, QStringLiteral("Ceník"), present, false);
    auto* grid = window->findChild<QTableWidget*>(QStringLiteral("grDokumenty"));
    ASSERT_TRUE(grid);
    // A click on "Popis" sorts; a file that is there shows the icon of its type, a missing one
    // none.
    grid->horizontalHeader()->show();
    QTest::mouseClick(grid->horizontalHeader()->viewport(), Qt::LeftButton, {},
                      QPoint(grid->horizontalHeader()->sectionViewportPosition(1) + 5,
                             grid->horizontalHeader()->height() / 2));
    ASSERT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->item(0, 1)->text(), QStringLiteral("Ceník"));
    EXPECT_FALSE(grid->item(0, 0)->icon().isNull());
    EXPECT_TRUE(grid->item(1, 0)->icon().isNull());

    // A letter typed in the grid finds the document by its description; Enter opens it.
    window->findChild<QTabWidget*>()->setCurrentIndex(3);
    grid->setFocus();
    grid->setCurrentCell(0, 1);
    QTest::keyClick(grid, Qt::Key_V);
    EXPECT_EQ(grid->currentRow(), 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_TRUE(ui.sawContaining(Kind::Warning, QStringLiteral("zmizel.pdf")) ||
                ui.sawContaining(Kind::Error, QStringLiteral("zmizel.pdf")));
}

TEST_F(OfferCardAndListKeepWorkTest, TheAddressBookPickedFromAModalCardTakesInput) {
    ASSERT_TRUE(db().execute(QStringLiteral("INSERT INTO Adresar (Nazev) VALUES ('Alfa')")));
    const qint64 alfa = db().newRowId();
    QDialog card;
    card.setModal(true);
    card.show();
    bool pickable = false;
    QTimer::singleShot(0, &card, [&] {
        onNextModal([&](QWidget*) {
            // The address book is the modal window now, not blocked by the card under it.
            auto* book = qobject_cast<ui::AddressBookWindow*>(QApplication::activeModalWidget());
            ASSERT_NE(book, nullptr);
            pickable = true;
            book->reject();
        });
        ui::AddressBookWindow::open(test.context, addressbook::AddressBookMode::Pick, nullptr,
                                    alfa);
        card.reject();
    });
    card.exec();
    EXPECT_TRUE(pickable);
}

class OfferListKeepsWorkTest : public OfferCardAndListKeepWorkTest {
protected:
    void addOffer(const QString& doklad, double celkem) {
        EXPECT_TRUE(db().execute(
            QStringLiteral("INSERT INTO Nabidky (Doklad, AdrNazev, IDStav, Celkem, CelkemBDPH, "
                           "Zisk, Zamek) VALUES (:Doklad, 'Firma', 0, :Celkem, :Celkem, 5, 0)"),
            {{QStringLiteral("Doklad"), doklad}, {QStringLiteral("Celkem"), celkem}}));
    }
    static int columnOf(QTableView* grid, const QString& field) {
        for (int c = 0; c < grid->model()->columnCount(); ++c)
            if (offers::OfferListModel::fields().at(c) == field)
                return c;
        return -1;
    }
};

TEST_F(OfferListKeepsWorkTest, ProfitColumnFilterValuesAndAmountFind) {
    addOffer(QStringLiteral("NB1"), 99.0);
    addOffer(QStringLiteral("NB2"), 1234.5);
    addOffer(QStringLiteral("NB3"), 12.0);
    test.navigator.setOfferCardAvailable(false);
    core::programState().showPurchasePrices = false;
    ui::OfferListWindow window(test.context);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTableView* grid = window.grid();
    const int profit = columnOf(grid, QStringLiteral("Zisk"));
    ASSERT_GE(profit, 0);
    EXPECT_TRUE(grid->isColumnHidden(profit));

    // The quick find in an amount column matches the amount as the grid writes it.
    window.logic().sortBy(QStringLiteral("Celkem"));
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_1);
    ASSERT_TRUE(window.findBox()->isVisible());
    QTest::keyClicks(window.findBox(), QStringLiteral(" 234,50"));
    const int total = columnOf(grid, QStringLiteral("Celkem"));
    EXPECT_EQ(grid->model()->index(grid->currentIndex().row(), total).data().toString(),
              QStringLiteral("1 234,50"));
    window.findBox()->setText(QString());
    QTest::keyClicks(window.findBox(), QStringLiteral("12,"));
    EXPECT_EQ(grid->model()->index(grid->currentIndex().row(), total).data().toString(),
              QStringLiteral("12,00"));
    QTest::keyClick(window.findBox(), Qt::Key_Tab);

    // Values typed into the filter and left with "Storno" are there at the next opening.
    onNextModal([](QWidget* dialog) {
        auto* filter = qobject_cast<ui::OfferFilterDialog*>(dialog);
        ASSERT_NE(filter, nullptr);
        filter->checkBox(QStringLiteral("chckPopis"))->setChecked(true);
        QTest::keyClicks(filter->textField(QStringLiteral("edtPopis")), QStringLiteral("rozvod"));
        filter->reject();
    });
    window.showFilter();
    EXPECT_EQ(grid->model()->rowCount(), 3);
    onNextModal([](QWidget* dialog) {
        auto* filter = qobject_cast<ui::OfferFilterDialog*>(dialog);
        ASSERT_NE(filter, nullptr);
        EXPECT_TRUE(filter->checkBox(QStringLiteral("chckPopis"))->isChecked());
        EXPECT_EQ(filter->textField(QStringLiteral("edtPopis"))->text(), QStringLiteral("rozvod"));
        filter->reject();
    });
    window.showFilter();

    // Shown again, the profit column comes back.
    core::programState().showPurchasePrices = true;
    Q_EMIT test.context.events().purchasePricesDisplayChanged(true);
    EXPECT_FALSE(grid->isColumnHidden(profit));
    window.reject();
}

// The sort column stands first; the list must not open scrolled past it.
TEST_F(OfferListKeepsWorkTest, AListSortedByAColumnMovedFirstShowsThatColumn) {
    addOffer(QStringLiteral("NB1"), 99.0);
    test.navigator.setOfferCardAvailable(false);
    test.profile.rememberColumns(services::GridId::OfferList,
                                 {{QStringLiteral("Celkem"), 118},
                                  {QStringLiteral("Doklad"), 77},
                                  {QStringLiteral("AdrNazev"), 190},
                                  {QStringLiteral("Popis"), 190},
                                  {QStringLiteral("DatVystaveni"), 95},
                                  {QStringLiteral("DatPlatnosti"), 102},
                                  {QStringLiteral("CelkemBDPH"), 135},
                                  {QStringLiteral("Zisk"), 116},
                                  {QStringLiteral("Zamek"), 33},
                                  {QStringLiteral("Vytvoril"), 150}});
    test.profile.setSortField(services::GridId::OfferList, QStringLiteral("CELKEM"));
    ui::OfferListWindow window(test.context);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTableView* grid = window.grid();
    const int total = columnOf(grid, QStringLiteral("Celkem"));
    EXPECT_FALSE(grid->isColumnHidden(total));
    EXPECT_EQ(grid->horizontalHeader()->visualIndex(total), 0);
    EXPECT_EQ(grid->horizontalHeader()->sectionViewportPosition(total), 0);
    window.reject();
}
} // namespace
