#include "core/AppContext.h"
#include "core/ProgramState.h"
#include "support/ScriptedInteraction.h"
#include "support/TestContext.h"
#include "ui/ProgramNavigator.h"
#include "ui/QtUserInteraction.h"
#include "ui/WorkingWindow.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

using namespace orvento;

namespace {

// Looks at the message box the next question opens, then presses `key` in it.
void answerNextBox(Qt::Key key, QStringList* buttons, QString* defaultButton) {
    QTimer::singleShot(0, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        for (QAbstractButton* b : box->buttons())
            buttons->append(b->text());
        buttons->sort();
        *defaultButton = box->defaultButton() ? box->defaultButton()->text() : QString();
        QTest::keyClick(box, key);
    });
}

TEST(QtInteraction, QuestionShowsTheNamedButtonsAndDefaultAndEscapeCancels) {
    ui::QtUserInteraction interaction;
    QStringList buttons;
    QString defaultButton;
    answerNextBox(Qt::Key_Escape, &buttons, &defaultButton);
    EXPECT_EQ(interaction.ask(QStringLiteral("Opustit nabídku bez uložení?"),
                              core::Buttons::YesNoCancel, core::Answer::Cancel),
              core::Answer::Cancel);
    EXPECT_EQ(buttons,
              (QStringList{QStringLiteral("Ano"), QStringLiteral("Ne"), QStringLiteral("Storno")}));
    EXPECT_EQ(defaultButton, QStringLiteral("Storno"));

    buttons.clear();
    answerNextBox(Qt::Key_Return, &buttons, &defaultButton);
    EXPECT_EQ(
        interaction.ask(QStringLiteral("Uložit?"), core::Buttons::YesNoCancel, core::Answer::No),
        core::Answer::No);
    EXPECT_EQ(defaultButton, QStringLiteral("Ne"));

    buttons.clear();
    answerNextBox(Qt::Key_Escape, &buttons, &defaultButton);
    EXPECT_FALSE(interaction.question(QStringLiteral("Pokračovat?"))) << "Esc answers No";
    EXPECT_EQ(buttons, (QStringList{QStringLiteral("Ano"), QStringLiteral("Ne")}));
    EXPECT_EQ(defaultButton, QStringLiteral("Ano"));
}

// While long work keeps the interface alive, a click meant for another window goes nowhere,
// "<zrušit>" is heard, and the events are processed at most every few tens of milliseconds.
TEST(QtInteraction, KeepingAliveLetsInputReachOnlyTheWaitWindow) {
    core::resetProgramState();
    ui::QtUserInteraction interaction;
    QPushButton other(QStringLiteral("Ceník"));
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    int clicked = 0;
    QObject::connect(&other, &QPushButton::clicked, [&] { ++clicked; });

    interaction.showWait(QStringLiteral("Přeceňuji\nprosím čekejte..."), true);
    interaction.showProgress(3, 10);
    ui::WorkingWindow* wait = interaction.workingWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(wait));
    EXPECT_TRUE(wait->progressBar()->isVisible());
    EXPECT_EQ(wait->progressBar()->value(), 3);

    QThread::msleep(ui::WorkingWindow::kKeepAliveMs + 10);
    QTest::mouseClick(&other, Qt::LeftButton); // delivered at once: the gate is not up
    EXPECT_EQ(clicked, 1);
    const QPoint centre = other.rect().center();
    QCoreApplication::postEvent(&other, new QMouseEvent(QEvent::MouseButtonPress, centre,
                                                        other.mapToGlobal(centre), Qt::LeftButton,
                                                        Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(&other, new QMouseEvent(QEvent::MouseButtonRelease, centre,
                                                        other.mapToGlobal(centre), Qt::LeftButton,
                                                        Qt::NoButton, Qt::NoModifier));
    interaction.keepAlive();
    EXPECT_EQ(clicked, 1) << "the click during the work was dropped";

    int delivered = 0;
    QTimer::singleShot(0, [&] { ++delivered; });
    interaction.keepAlive(); // right after the previous one: nothing is processed yet
    EXPECT_EQ(delivered, 0);
    QThread::msleep(ui::WorkingWindow::kKeepAliveMs + 10);
    interaction.keepAlive();
    EXPECT_EQ(delivered, 1);

    auto* cancel = wait->findChild<QLabel*>(QStringLiteral("lblZrusit"));
    ASSERT_NE(cancel, nullptr);
    EXPECT_TRUE(cancel->isVisible());
    Q_EMIT cancel->linkActivated(QStringLiteral("cancel"));
    EXPECT_TRUE(core::programState().cancelRequested);
    interaction.showProgress(0, 0);
    interaction.hideWait();
    EXPECT_FALSE(wait->isVisible());
    core::resetProgramState();
}

namespace {
void postClick(QWidget& target) {
    const QPoint centre = target.rect().center();
    QCoreApplication::postEvent(&target, new QMouseEvent(QEvent::MouseButtonPress, centre,
                                                         target.mapToGlobal(centre), Qt::LeftButton,
                                                         Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(&target, new QMouseEvent(QEvent::MouseButtonRelease, centre,
                                                         target.mapToGlobal(centre), Qt::LeftButton,
                                                         Qt::NoButton, Qt::NoModifier));
}
} // namespace

// Inside a unit of work only the stop of the window the work runs in is heard: no other window's
// click and no timer (a list's reload would run statements in the middle of the unit).
TEST(QtInteraction, LookingAtTheStopInsideAUnitHearsOnlyTheWorkingWindow) {
    core::resetProgramState();
    ui::QtUserInteraction interaction;
    QPushButton other(QStringLiteral("Ceník"));
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    int otherClicked = 0;
    QObject::connect(&other, &QPushButton::clicked, [&] { ++otherClicked; });
    QDialog wizard;
    wizard.setWindowModality(Qt::ApplicationModal);
    auto* stop = new QPushButton(QStringLiteral("Přerušit"), &wizard);
    QObject::connect(stop, &QPushButton::clicked,
                     [] { core::programState().cancelRequested = true; });
    wizard.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&wizard));
    int ticks = 0;
    QTimer reload;
    QObject::connect(&reload, &QTimer::timeout, [&] { ++ticks; });
    reload.start(1);

    postClick(other);
    postClick(*stop);
    QThread::msleep(ui::WorkingWindow::kKeepAliveMs + 10);
    interaction.keepStopAlive();
    EXPECT_TRUE(core::programState().cancelRequested);
    EXPECT_EQ(otherClicked, 0);
    EXPECT_EQ(ticks, 0);

    core::programState().cancelRequested = false;
    postClick(*stop);
    interaction.keepStopAlive(); // right after the previous look: nothing is served yet
    EXPECT_FALSE(core::programState().cancelRequested);
    reload.stop();
    core::resetProgramState();
}

TEST(ProgramNavigator, AFirmCardThatCannotOpenAnswersAtOnce) {
    testsupport::ScriptedInteraction scripted;
    testsupport::TestContext test(scripted);
    ui::ProgramNavigator navigator(test.context, nullptr);
    const auto firm = navigator.openFirmCard(3);
    ASSERT_TRUE(firm->answered());
    EXPECT_EQ(firm->result().status, core::NavigationStatus::Cancelled);
    EXPECT_TRUE(scripted.saw(testsupport::ScriptedInteraction::Kind::Warning,
                             QStringLiteral("Detail nelze zobrazit - adresa již byla smazána z "
                                            "adresáře.")));
    EXPECT_EQ(navigator.askPassword(), std::nullopt) << "no splash window, no prompt";
}

} // namespace
