#include "ui/output/SendMailDialog.h"
#include "ui/output/PrintWindow.h"

#include "core/ProgramState.h"
#include "output/MailSmtpHandOver.h"
#include "support/ModalDialogs.h"
#include "support/OpenAgenda.h"
#include "support/ScriptedInteraction.h"
#include "support/SmtpSink.h"
#include "support/TestContext.h"
#include "support/TestEnvironment.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace orvento;
using testsupport::child;
using testsupport::ScriptedInteraction;

namespace {

// Runs `work` on the modal window of that name once it is shown.
void whenModal(const char* name, std::function<void(QWidget*)> work) {
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, name, work = std::move(work)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal->objectName() != QLatin1String(name))
            return;
        poll->stop();
        poll->deleteLater();
        work(modal);
    });
    poll->start(20);
}

class SendMailDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.useDataFolder();
        ASSERT_TRUE(
            testsupport::openTestAgenda(env, QStringLiteral("0001.res"), QStringLiteral("FIRMA")));
        ASSERT_TRUE(env.copyTemplate(QStringLiteral("0002.res"), QStringLiteral("Global.MDB")));
        ASSERT_TRUE(
            core::programState().db->global.open(env.dataFolder() + QStringLiteral("Global.MDB")));
        QDir().mkpath(core::programState().folders.print);
        QFile frx(core::programState().folders.print + QStringLiteral("_NABKSP.FRX"));
        ASSERT_TRUE(frx.open(QIODevice::WriteOnly));
        frx.write("[body]\n");
    }
    void TearDown() override { core::resetProgramState(); }

    testsupport::TestEnvironment env;
    ScriptedInteraction ui;
    testsupport::TestContext test{ui};
};

// Enter on an empty address warns and keeps the window open; a typed address is taken with
// Enter; Esc closes it with nothing taken.
TEST_F(SendMailDialogTest, EnterNeedsAnAddressAndEscCancels) {
    output::MailForm form;
    ui::SendMailDialog dialog(test.context, form);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Odeslat e-mail"));
    auto* address = child<QLineEdit>(&dialog, "edtEmailAdresa");
    EXPECT_TRUE(address->hasFocus());
    EXPECT_FALSE(child<QCheckBox>(&dialog, "chckPripojDoc")->isChecked());
    EXPECT_EQ(dialog.findChild<QLineEdit*>(QStringLiteral("edtPredmet")), nullptr);
    QTest::keyClicks(address, QStringLiteral("   "));
    QTest::keyClick(address, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(ui.saw(ScriptedInteraction::Kind::Warning,
                       QStringLiteral("Zadejte platnou e-mailovou adresu.")));
    QTest::keyClicks(address, QStringLiteral("eva@example.cz"));
    QTest::keyClick(address, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(form.address.trimmed(), QStringLiteral("eva@example.cz"));

    output::MailForm other;
    ui::SendMailDialog second(test.context, other);
    second.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&second));
    QTest::keyClicks(child<QLineEdit>(&second, "edtEmailAdresa"), QStringLiteral("x@y.cz"));
    QTest::keyClick(&second, Qt::Key_Escape);
    EXPECT_EQ(second.result(), QDialog::Rejected);
    EXPECT_TRUE(other.address.isEmpty());
}

// The link "zde" of the print window: the e-mail window of a message sent by this program shows
// the subject and a text to write, and the message reaches the mail server with the PDF.
TEST_F(SendMailDialogTest, TheLinkSendsToTheMailServer) {
    testsupport::SmtpSink sink;
    ASSERT_TRUE(sink.ok());
    core::Database& agenda = core::programState().db->agenda;
    ASSERT_TRUE(agenda.execute(
        QStringLiteral("INSERT INTO Nabidky (Doklad, IDStav, Zamek, SazDPHZakl, SazDPHSniz) "
                       "VALUES ('NB7', 3, 0, 21, 12)")));
    const qint64 offer = agenda.newRowId();
    const QString root = env.dataFolder() + QStringLiteral("posta");
    const QString runner = env.dataFolder() + QStringLiteral("runner.sh");
    {
        QFile script(runner);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(QStringLiteral("#!/bin/sh\nd=$(ls -td '%1'/zprava-* | head -n 1)\n"
                                    "printf PDF-sink > \"$d/nabidka.pdf\"\n")
                         .arg(root)
                         .toUtf8());
        script.close();
        script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    }
    ui::PrintRequest request = ui::PrintRequest::savedOffer(offer);
    request.runner = runner;
    ui::PrintWindow window(test.context, request, [] { return output::PrinterList{}; });
    output::MailConfig config;
    config.server = QStringLiteral("127.0.0.1");
    config.port = sink.port();
    config.security = output::MailConfig::Security::None;
    config.timeoutSeconds = 5;
    window.logic().setMailHandOver(std::make_unique<output::MailSmtpHandOver>(
        config, QStringLiteral("obchod@firma.cz"), nullptr));
    window.logic().setMailFolderRoot(root);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto* link = child<QLabel>(&window, "lblZde");
    ASSERT_TRUE(link->isVisible());
    // The e-mail window comes after the runner has ended, so it is waited for by its name.
    whenModal("frmPoslatMail", [](QWidget* modal) {
        EXPECT_EQ(child<QLineEdit>(modal, "edtPredmet")->text(), QStringLiteral("Nabídka NB7"));
        QTest::keyClicks(child<QPlainTextEdit>(modal, "memText"), QStringLiteral("Dobry den"));
        auto* address = child<QLineEdit>(modal, "edtEmailAdresa");
        QTest::keyClicks(address, QStringLiteral("zakaznik@example.cz"));
        QTest::keyClick(address, Qt::Key_Return);
    });
    emit link->linkActivated(QStringLiteral("#"));
    const testsupport::SmtpSink::Received got = sink.received();
    EXPECT_TRUE(got.recipients.contains(QStringLiteral("zakaznik@example.cz")));
    EXPECT_TRUE(got.data.contains(QByteArray("PDF-sink").toBase64()));
    EXPECT_TRUE(got.data.contains("Dobry den"));
    EXPECT_TRUE(ui.texts(ScriptedInteraction::Kind::Error).isEmpty());
}

} // namespace
