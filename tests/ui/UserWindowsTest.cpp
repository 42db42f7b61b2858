#include "core/ProgramState.h"
#include "services/UserCard.h"
#include "services/UserDatabases.h"
#include "support/TestContext.h"
#include "ui/GridBinding.h"
#include "ui/MainWindow.h"
#include "ui/PrefilterDialog.h"
#include "ui/SplashWindow.h"
#include "ui/UserCardDialog.h"
#include "ui/UserListWindow.h"
#include "ui/WindowPlacementBinding.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

using namespace orvento;
using testsupport::ScriptedInteraction;
using Kind = ScriptedInteraction::Kind;

namespace {

template <class T> T* child(QWidget* parent, const char* name) {
    T* w = parent->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

// Runs `work` on the modal dialog that the next exec() opens.
void onNextModal(std::function<void(QWidget*)> work) {
    QTimer::singleShot(0, [work = std::move(work)] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        work(modal);
    });
}

class UserWindowsTest : public testsupport::UserDatabases {
protected:
    QVariant stored(int uzivId, const char* column) {
        return global()
            .scalar(
                QStringLiteral("SELECT %1 FROM Login WHERE UzivID = :U").arg(QLatin1String(column)),
                {{QStringLiteral("U"), uzivId}})
            .value_or(QVariant());
    }

    testsupport::TestContext test{ui};
};

TEST_F(UserWindowsTest, UserCardDrivenByKeyboardSavesTheNewUser) {
    services::UserCard card(global(), ui);
    card.startNew();
    ui::UserCardDialog dialog(card);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.objectName(), QStringLiteral("frmDetailUzivatele"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Uživatel"));

    auto* number = child<QSpinBox>(&dialog, "edtUzivID");
    EXPECT_TRUE(number->isEnabled());
    EXPECT_EQ(number->value(), 1);
    auto* cenik = child<QComboBox>(&dialog, "cbxCenik");
    EXPECT_EQ(cenik->count(), 4);
    EXPECT_EQ(cenik->currentIndex(), 0);
    auto* all = child<QCheckBox>(&dialog, "chckVsechnyNabidky");
    auto* prefilter = child<QPushButton>(&dialog, "btnPrefiltr");
    EXPECT_TRUE(all->isChecked());
    EXPECT_FALSE(prefilter->isEnabled());

    // Typed keys must be ASCII for the test library; the Czech name is put in directly.
    child<QLineEdit>(&dialog, "edtJmeno")->setText(QStringLiteral("Jana Nová"));
    QTest::keyClicks(child<QLineEdit>(&dialog, "edtKonfigurace"), QStringLiteral("obchod-praha"));
    EXPECT_EQ(child<QLineEdit>(&dialog, "edtKonfigurace")->text(), QStringLiteral("OBCHOD-PRA"));
    auto* password = child<QLineEdit>(&dialog, "edtHeslo");
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
    QTest::keyClicks(password, QStringLiteral("Tajne16znakuHeslo"));
    EXPECT_EQ(password->text(), QStringLiteral("Tajne16znakuHes"));
    QTest::keyClicks(child<QLineEdit>(&dialog, "edtPotvrzeniHesla"), QStringLiteral("jine"));
    cenik->setCurrentIndex(2);
    all->setChecked(false);
    EXPECT_TRUE(prefilter->isEnabled());

    // Mismatched passwords keep the card open.
    QTest::mouseClick(child<QPushButton>(&dialog, "btnOK"), Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(ui.texts(Kind::Warning).size(), 1);
    EXPECT_EQ(loginRows(), 0);

    auto* confirmation = child<QLineEdit>(&dialog, "edtPotvrzeniHesla");
    confirmation->clear();
    QTest::keyClicks(confirmation, QStringLiteral("Tajne16znakuHes"));
    QTest::keyClick(confirmation, Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(stored(1, "Jmeno").toString(), QStringLiteral("Jana Nová"));
    EXPECT_EQ(stored(1, "Konfigurace").toString(), QStringLiteral("OBCHOD-PRA"));
    EXPECT_EQ(stored(1, "Cenik_AR").toInt(), 2);
    EXPECT_EQ(stored(1, "VsechnyNabidky_AR").toInt(), 0);
    EXPECT_EQ(stored(1, "PrefiltrNabidkyVytvorID_AR").toString(), QStringLiteral("1"));
}

TEST_F(UserWindowsTest, ExistingUserKeepsHisNumberAndEditsHisPrefilterInTheChooser) {
    const int id = addUser(3, QStringLiteral("Malá"), QStringLiteral("m"));
    addUser(5, QStringLiteral("Velký"), QStringLiteral("v"));
    global().execute(QStringLiteral("UPDATE Login SET VsechnyNabidky_AR = 0, "
                                    "PrefiltrNabidkyVytvorID_AR = '3' WHERE ID = :ID"),
                     {{QStringLiteral("ID"), id}});
    services::UserCard card(global(), ui);
    ASSERT_TRUE(card.startExisting(id));
    ui::UserCardDialog dialog(card);
    dialog.show();
    EXPECT_FALSE(child<QSpinBox>(&dialog, "edtUzivID")->isEnabled());
    EXPECT_EQ(child<QLineEdit>(&dialog, "edtPotvrzeniHesla")->text(), QStringLiteral("m"));

    onNextModal([](QWidget* modal) {
        EXPECT_EQ(modal->objectName(), QStringLiteral("frmPrefiltrNabidky"));
        EXPECT_EQ(modal->windowTitle(), QStringLiteral("Prefiltr"));
        auto* list = child<QListWidget>(modal, "lstUzivatele");
        ASSERT_EQ(list->count(), 3);
        EXPECT_EQ(list->item(0)->text(), QStringLiteral("[uživatel bez jména]"));
        EXPECT_EQ(list->item(1)->checkState(), Qt::Checked);
        list->item(0)->setCheckState(Qt::Checked);
        list->item(2)->setCheckState(Qt::Checked);
        QTest::keyClick(modal, Qt::Key_Return);
    });
    QTest::mouseClick(child<QPushButton>(&dialog, "btnPrefiltr"), Qt::LeftButton);
    EXPECT_EQ(card.user().prefiltrNabidkyVytvorId, QStringLiteral("0;3;5"));

    onNextModal([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
    QTest::mouseClick(child<QPushButton>(&dialog, "btnPrefiltr"), Qt::LeftButton);
    EXPECT_EQ(card.user().prefiltrNabidkyVytvorId, QStringLiteral("0;3;5"));

    QTest::mouseClick(child<QPushButton>(&dialog, "btnOK"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(stored(3, "PrefiltrNabidkyVytvorID_AR").toString(), QStringLiteral("0;3;5"));
}

TEST_F(UserWindowsTest, UserListShowsUsersAndDeletesAfterTheQuestion) {
    addUser(1, QStringLiteral("Šéf"), QStringLiteral("a"), true, QStringLiteral("VEDENI"));
    addUser(2, QStringLiteral("Referent"), QStringLiteral("b"), false);
    core::programState().user.uzivId = 1;
    ui::UserListWindow window(test.context);
    window.show();
    EXPECT_EQ(window.objectName(), QStringLiteral("frmUzivatele"));
    QTableWidget* table = window.table();
    ASSERT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->horizontalHeaderItem(0)->text(), QStringLiteral("Jméno uživatele"));
    EXPECT_EQ(table->item(0, 1)->text(), QStringLiteral("VEDENI"));
    EXPECT_TRUE(child<QPushButton>(&window, "btnOpravit")->isEnabled());

    table->setCurrentCell(1, 0);
    ui.answer(true);
    QTest::mouseClick(child<QPushButton>(&window, "btnVyjmout"), Qt::LeftButton);
    EXPECT_EQ(table->rowCount(), 1);
    EXPECT_EQ(loginRows(), 1);

    global().execute(QStringLiteral("DELETE FROM Login"));
    window.editUser(); // finds the row gone
    EXPECT_TRUE(ui.sawContaining(Kind::Warning, QStringLiteral("smazán jiným uživatelem")));
    EXPECT_EQ(table->rowCount(), 0);
    EXPECT_FALSE(child<QPushButton>(&window, "btnOpravit")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(&window, "btnVyjmout")->isEnabled());
}

TEST_F(UserWindowsTest, MainWindowOpensTheUserListForAdministratorsOnly) {
    ui::MainWindow main(test.context);
    QAction* users = main.action(QStringLiteral("actUzivatele"));
    ASSERT_NE(users, nullptr);
    EXPECT_TRUE(users->isEnabled());
    core::programState().user.administrator = false;
    users->trigger();
    EXPECT_TRUE(ui.saw(Kind::Information, QStringLiteral("Litujeme, ale pro tuto funkci nemáte "
                                                         "potřebná přístupová práva.")));

    core::programState().user.administrator = true;
    bool opened = false;
    onNextModal([&opened](QWidget* modal) {
        opened = modal->objectName() == QStringLiteral("frmUzivatele");
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    users->trigger();
    EXPECT_TRUE(opened);
}

TEST(SplashLogin, AsksForThePasswordAndReturnsToWaiting) {
    ui::SplashWindow splash;
    splash.show();
    QTimer::singleShot(0, [&splash] {
        EXPECT_TRUE(splash.inLoginState());
        EXPECT_TRUE(splash.isModal());
        auto* field = child<QLineEdit>(&splash, "edtHeslo");
        EXPECT_EQ(field->echoMode(), QLineEdit::Password);
        QTest::keyClicks(field, QStringLiteral("Tajne"));
        QTest::mouseClick(child<QPushButton>(&splash, "btnOK"), Qt::LeftButton);
    });
    EXPECT_EQ(splash.askPassword(), std::optional<QString>(QStringLiteral("Tajne")));
    EXPECT_FALSE(splash.inLoginState());
    EXPECT_TRUE(splash.isVisible());
    EXPECT_FALSE(child<QLineEdit>(&splash, "edtHeslo")->isVisible());

    // A second round starts empty; Esc goes back.
    QTimer::singleShot(0, [&splash] {
        auto* field = child<QLineEdit>(&splash, "edtHeslo");
        EXPECT_TRUE(field->text().isEmpty());
        QTest::keyClick(field, Qt::Key_Escape);
    });
    EXPECT_EQ(splash.askPassword(), std::nullopt);
}

TEST_F(UserWindowsTest, GridBindingArrangesTheModelByTheLayoutAndHandsBackChanges) {
    QStandardItemModel model(2, 3);
    model.setHorizontalHeaderLabels(
        {QStringLiteral("Kod"), QStringLiteral("Interni"), QStringLiteral("Nazev")});
    services::ProfileSession session;
    session.rememberColumns(services::GridId::CatalogueGroups, {{QStringLiteral("Nazev"), 150}});
    QTableView view;
    auto* binding = new ui::GridBinding(&view, &model, session, services::GridId::CatalogueGroups);
    view.show();
    QHeaderView* header = view.horizontalHeader();

    EXPECT_TRUE(view.isColumnHidden(1));
    EXPECT_EQ(header->logicalIndex(0), 2); // Nazev first
    EXPECT_EQ(header->sectionSize(2), 150);
    EXPECT_EQ(header->sectionSize(0), 64);
    EXPECT_EQ(binding->proxy()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Název"));
    EXPECT_EQ(header->sortIndicatorSection(), 2);

    QStringList requested;
    QObject::connect(binding, &ui::GridBinding::sortRequested,
                     [&requested](const QString& f) { requested << f; });
    Q_EMIT header->sectionClicked(0);
    EXPECT_EQ(requested, QStringList{QStringLiteral("Kod")});
    binding->setSortField(QStringLiteral("Kod"));
    EXPECT_EQ(header->sortIndicatorSection(), 0);
    EXPECT_EQ(session.sortField(services::GridId::CatalogueGroups), QStringLiteral("Kod"));

    header->moveSection(header->visualIndex(0), 0);
    header->resizeSection(0, 99);
    view.hide();
    const auto& layout = session.gridLayout(services::GridId::CatalogueGroups);
    ASSERT_EQ(layout.columns.size(), 2u);
    EXPECT_EQ(layout.columns[0].field, QStringLiteral("Kod"));
    EXPECT_EQ(layout.columns[0].width, 99);
    EXPECT_EQ(layout.sortColumn, 0);

    // A model that is reset and filled again keeps the arrangement.
    view.show();
    header->resizeSection(2, 133);
    model.clear();
    model.setHorizontalHeaderLabels(
        {QStringLiteral("Nazev"), QStringLiteral("Kod"), QStringLiteral("Interni")});
    EXPECT_EQ(header->logicalIndex(0), 1);
    EXPECT_EQ(header->sectionSize(1), 99);
    EXPECT_EQ(header->sectionSize(0), 133);
    EXPECT_TRUE(view.isColumnHidden(2));
}

TEST_F(UserWindowsTest, MoneyColumnsAreColouredAndFooterHoldsSums) {
    QStandardItemModel model(1, 2);
    model.setHorizontalHeaderLabels({QStringLiteral("PCSDPHPOL"), QStringLiteral("Popis")});
    services::ProfileSession session;
    QTableView view;
    ui::GridBinding binding(&view, &model, session, services::GridId::OfferItems);
    const QVariant money = binding.proxy()->data(binding.proxy()->index(0, 0), Qt::BackgroundRole);
    EXPECT_TRUE(money.isValid());
    EXPECT_FALSE(binding.proxy()->data(binding.proxy()->index(0, 1), Qt::BackgroundRole).isValid());
    QWidget holder;
    ui::GridFooter* footer = binding.footer(&holder);
    EXPECT_EQ(binding.footer(&holder), footer);
    binding.setFooterText(QStringLiteral("PCSDPHPOL"), QStringLiteral("1 210.00"));
    EXPECT_EQ(footer->text(QStringLiteral("pcsdphpol")), QStringLiteral("1 210.00"));
}

TEST_F(UserWindowsTest, WindowTakesItsPlacementAndReportsWhereItWasLeft) {
    services::ProfileSession session;
    session.rememberPlacement(services::WindowId::AddressBook, {40, 50, 300, 500, false});
    QWidget window;
    ui::WindowPlacementBinding binding(&window, session, services::WindowId::AddressBook);
    binding.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_FALSE(window.isMaximized());
    EXPECT_EQ(window.width(), 500);
    EXPECT_EQ(window.height(), 300);
    window.setGeometry(60, 70, 320, 240);
    window.hide();
    const auto placement = session.placement(services::WindowId::AddressBook);
    EXPECT_EQ(placement.width, 320);
    EXPECT_EQ(placement.height, 240);
    EXPECT_FALSE(placement.maximised);
}

} // namespace
