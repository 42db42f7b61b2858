#include "ui/addressbook/AresVerificationDialog.h"
#include "addressbook/AresFakeRegister.h"
#include "addressbook/FirmCard.h"
#include "core/CurrentUser.h"
#include "core/ProgramState.h"
#include "support/ModalDialogs.h"
#include "support/OpenAgenda.h"
#include "support/ScriptedInteraction.h"
#include "support/TestContext.h"
#include "support/TestEnvironment.h"
#include "ui/addressbook/FirmCardDialog.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>

using namespace orvento;
using addressbook::AresVerification;
using addressbook::FirmCardMode;
using Field = AresVerification::Field;
using testsupport::child;

namespace {

// Runs `answer` on the comparison window once it opens: the query before it keeps the interface
// alive, so a plain zero timer would fire before the window is there.
void onComparison(QWidget* owner, std::function<void(ui::AresVerificationDialog*)> answer) {
    constexpr int kLookEveryMs = 20;
    auto* timer = new QTimer(owner);
    QObject::connect(timer, &QTimer::timeout, owner, [timer, answer = std::move(answer)] {
        auto* comparison =
            qobject_cast<ui::AresVerificationDialog*>(QApplication::activeModalWidget());
        if (!comparison)
            return;
        timer->stop();
        timer->deleteLater();
        answer(comparison);
    });
    timer->start(kLookEveryMs);
}

bool drawnAsDifferent(const QLabel* label) {
    return label->font().bold() && label->palette().color(QPalette::WindowText) == Qt::red;
}

class AresVerificationWindow : public ::testing::Test {
protected:
    void SetUp() override {
        env.useDataFolder();
        ASSERT_TRUE(testsupport::openEmptyAgendaAndGlobal(env, QStringLiteral("FIRMA")));
        server.writeIni(core::programState().folders.iniFile, QStringLiteral("REST"));
        server.answer(200, R"({"ico":"25596641","obchodniJmeno":"Kun s.r.o.",
            "sidlo":{"nazevObce":"Praha","nazevUlice":"Dlouha","cisloDomovni":12,"psc":11000}})");
    }
    void TearDown() override { core::resetProgramState(); }

    // A new card with the firm typed in as a person would, the place differing from the
    // register's; its ARES button pressed, and the comparison window handled by `answer`.
    void verifyTypedFirm(ui::FirmCardDialog& dialog,
                         std::function<void(ui::AresVerificationDialog*)> answer) {
        QTest::keyClicks(dialog.field(QStringLiteral("Nazev")), QStringLiteral("Kun s.r.o."));
        QTest::keyClicks(dialog.field(QStringLiteral("Ulice")), QStringLiteral("Dlouha 12"));
        QTest::keyClicks(dialog.field(QStringLiteral("Psc")), QStringLiteral("11000"));
        QTest::keyClicks(dialog.field(QStringLiteral("Misto")), QStringLiteral("Brno"));
        QTest::keyClicks(dialog.field(QStringLiteral("ICO")), QStringLiteral("25596641"));
        onComparison(&dialog, std::move(answer));
        child<QToolButton>(&dialog, "btnAres")->click();
    }

    testsupport::TestEnvironment env;
    testsupport::ScriptedInteraction ui;
    testsupport::TestContext test{ui};
    testsupport::FakeRegister server;
};

} // namespace

TEST(AresVerificationDialogTest, TheRegistersDifferingValuesAreBoldRedAndEscAnswersNo) {
    addressbook::AresRecord card;
    card.name = QStringLiteral("ACME s.r.o.");
    card.street = QStringLiteral("Dlouha 12");
    card.place = QStringLiteral("Praha");
    addressbook::AresRecord found = card;
    found.name = QStringLiteral("Acme s.r.o.");
    found.psc = QStringLiteral("11000");
    const AresVerification verification(QStringLiteral("25596641"), card, found);

    ui::AresVerificationDialog dialog(verification);
    EXPECT_EQ(dialog.objectName(), QStringLiteral("frmAresOvereni"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Ověření dle registru ARES"));
    EXPECT_EQ(child<QLabel>(&dialog, "lblNadpis")->text(),
              QStringLiteral("Výsledek ověření IČ 25596641"));
    EXPECT_EQ(dialog.registerLabel(Field::Name)->text(), QStringLiteral("Acme s.r.o."));
    EXPECT_EQ(dialog.cardLabel(Field::Name)->text(), QStringLiteral("ACME s.r.o."));
    EXPECT_TRUE(drawnAsDifferent(dialog.registerLabel(Field::Name)));
    EXPECT_TRUE(drawnAsDifferent(dialog.registerLabel(Field::Psc)));
    EXPECT_FALSE(drawnAsDifferent(dialog.registerLabel(Field::Street)));
    EXPECT_FALSE(drawnAsDifferent(dialog.registerLabel(Field::Place)));
    EXPECT_FALSE(drawnAsDifferent(dialog.cardLabel(Field::Name))) << "the card's side stays plain";
    EXPECT_TRUE(dialog.yesButton()->isDefault());

    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST_F(AresVerificationWindow, AnsweringAnoFillsTheCardAndNeLeavesIt) {
    addressbook::FirmCard card(core::programState().db->agenda, core::programState().db->global,
                               ui);
    ASSERT_TRUE(card.open(FirmCardMode::New));
    ui::FirmCardDialog dialog(test.context, card);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));

    bool placeMarked = false;
    verifyTypedFirm(dialog, [&](ui::AresVerificationDialog* comparison) {
        placeMarked = drawnAsDifferent(comparison->registerLabel(Field::Place)) &&
                      !drawnAsDifferent(comparison->registerLabel(Field::Name));
        QTest::keyClick(comparison, Qt::Key_Escape);
    });
    EXPECT_TRUE(placeMarked);
    EXPECT_EQ(dialog.field(QStringLiteral("Misto"))->text(), QStringLiteral("Brno"));

    dialog.field(QStringLiteral("Misto"))->clear();
    dialog.field(QStringLiteral("ICO"))->clear();
    for (const char* column : {"Nazev", "Ulice", "Psc"})
        dialog.field(QString::fromLatin1(column))->clear();
    verifyTypedFirm(dialog, [](ui::AresVerificationDialog* comparison) {
        QTest::keyClick(comparison, Qt::Key_Return);
    });
    EXPECT_EQ(dialog.field(QStringLiteral("Misto"))->text(), QStringLiteral("Praha"));
    EXPECT_EQ(dialog.field(QStringLiteral("Nazev"))->text(), QStringLiteral("Kun s.r.o."));
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(AresVerificationWindow, ACardThatCannotSaveOffersNoRegister) {
    addressbook::FirmCard editable(core::programState().db->agenda, core::programState().db->global,
                                   ui);
    ASSERT_TRUE(editable.open(FirmCardMode::New));
    ui::FirmCardDialog open(test.context, editable);
    EXPECT_TRUE(child<QToolButton>(&open, "btnAres")->isEnabled());

    ASSERT_TRUE(core::programState().db->agenda.execute(
        QStringLiteral("INSERT INTO Adresar (Nazev, ICO) VALUES ('Alfa', '25596641')")));
    const qint64 firm = core::programState().db->agenda.newRowId();
    core::programState().user.adresar = core::AccessLevel::ReadOnly;
    addressbook::FirmCard readOnly(core::programState().db->agenda, core::programState().db->global,
                                   ui);
    ASSERT_TRUE(readOnly.open(FirmCardMode::Edit, firm));
    ui::FirmCardDialog shown(test.context, readOnly);
    EXPECT_FALSE(child<QToolButton>(&shown, "btnAres")->isEnabled());
    core::programState().user.adresar = core::AccessLevel::Full;
    EXPECT_EQ(server.requests(), 0);
}
