#include "output/MailProgramHandOver.h"
#include "output/MailOffer.h"

#include "support/ScriptedInteraction.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using namespace orvento;
using output::MailOutcome;
using testsupport::ScriptedInteraction;

namespace {

// A stand-in mail program first on PATH: it writes its arguments one per line and exits with
// the code given in the environment, after the pause given there.
class FakeMailProgram {
public:
    explicit FakeMailProgram(const QString& name = QStringLiteral("xdg-email")) {
        QFile script(m_dir.filePath(name));
        script.open(QIODevice::WriteOnly);
        script.write("#!/bin/sh\n"
                     "sleep \"${FAKE_MAIL_PAUSE:-0}\"\n"
                     "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$FAKE_MAIL_ARGS\"\n"
                     "exit \"${FAKE_MAIL_EXIT:-0}\"\n");
        script.close();
        script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
        m_oldPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(m_dir.path()) + ":" + m_oldPath);
        qputenv("FAKE_MAIL_ARGS", QFile::encodeName(argsFile()));
        exitWith(0);
        qputenv("FAKE_MAIL_PAUSE", "0");
    }
    ~FakeMailProgram() {
        qputenv("PATH", m_oldPath);
        qunsetenv("FAKE_MAIL_ARGS");
        qunsetenv("FAKE_MAIL_EXIT");
        qunsetenv("FAKE_MAIL_PAUSE");
    }
    void exitWith(int code) { qputenv("FAKE_MAIL_EXIT", QByteArray::number(code)); }
    void pause(const char* seconds) { qputenv("FAKE_MAIL_PAUSE", seconds); }
    QString argsFile() const { return m_dir.filePath(QStringLiteral("args.txt")); }
    QStringList arguments() const {
        QFile f(argsFile());
        if (!f.open(QIODevice::ReadOnly))
            return {};
        QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
        lines.removeLast();
        return lines;
    }
    QString folder() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QByteArray m_oldPath;
};

output::MailMessage messageWith(const QStringList& files) {
    output::MailMessage m;
    m.to = QStringLiteral(" jan.novák@firma.cz ");
    m.attachments = files;
    return m;
}

} // namespace

// The desktop's mail program gets the files and the one recipient as separate arguments, with
// no shell between; 0 is sent, 3 (no mail program set up) and a missing program point to SMTP,
// another code is told with the code.
TEST(MailProgramHandOverTest, DesktopMailProgramAndItsExitCodes) {
    FakeMailProgram fake;
    const QStringList files{QStringLiteral("/tmp/nabídka s mezerou.pdf"),
                            QStringLiteral("/tmp/$(touch x);`id`.pdf")};
    ScriptedInteraction ui;
    output::MailProgramHandOver desktop;
    EXPECT_EQ(desktop.send(messageWith(files), ui).outcome, MailOutcome::Sent);
    EXPECT_EQ(fake.arguments(), QStringList({QStringLiteral("--utf8"), QStringLiteral("--attach"),
                                             files[0], QStringLiteral("--attach"), files[1],
                                             QStringLiteral("mailto:jan.nov%C3%A1k@firma.cz")}));

    fake.exitWith(output::MailProgramHandOver::kNoMailProgram);
    auto r = desktop.send(messageWith(files), ui);
    EXPECT_EQ(r.outcome, MailOutcome::Failed);
    EXPECT_EQ(r.error, output::noMailProgramMessage());

    fake.exitWith(4);
    r = desktop.send(messageWith(files), ui);
    EXPECT_EQ(r.outcome, MailOutcome::Failed);
    EXPECT_TRUE(r.error.contains(QStringLiteral("kódem 4"))) << r.error.toStdString();

    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", "/nonexistent");
    r = desktop.send(messageWith(files), ui);
    qputenv("PATH", path);
    EXPECT_EQ(r.outcome, MailOutcome::Failed);
    EXPECT_EQ(r.error, output::noMailProgramMessage());
}

// A mail program that still runs when the hand-over time is up (it waits for the mail client it
// started) counts as handed over, and goes on running: it is not this program's child.
TEST(MailProgramHandOverTest, StillRunningCountsAsHandedOverAndIsNotKilled) {
    FakeMailProgram fake;
    fake.pause("1");
    ScriptedInteraction ui;
    output::MailProgramHandOver desktop;
    desktop.setHandOverTime(std::chrono::milliseconds(200));
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(desktop.send(messageWith({}), ui).outcome, MailOutcome::Sent);
    EXPECT_LT(clock.elapsed(), 900);
    EXPECT_FALSE(QFile::exists(fake.argsFile()));
    for (int i = 0; i < 60 && !QFile::exists(fake.argsFile()); ++i)
        QThread::msleep(50);
    EXPECT_EQ(fake.arguments().size(), 2);
}

// The firm's own command: %TO% inside its argument, %ATTACHMENTS% one argument per file.
TEST(MailProgramHandOverTest, FirmCommand) {
    FakeMailProgram fake(QStringLiteral("posta"));
    ScriptedInteraction ui;
    output::MailProgramHandOver command(
        QStringLiteral("posta --to=%TO% \"--file=%ATTACHMENTS%\" --compose"));
    const QStringList files{QStringLiteral("/a/b c.pdf"), QStringLiteral("/d/e.pdf")};
    EXPECT_EQ(command.send(messageWith(files), ui).outcome, MailOutcome::Sent);
    EXPECT_EQ(
        fake.arguments(),
        QStringList({QStringLiteral("--to=jan.novák@firma.cz"), QStringLiteral("--file=/a/b c.pdf"),
                     QStringLiteral("--file=/d/e.pdf"), QStringLiteral("--compose")}));
    EXPECT_EQ(output::MailProgramHandOver(QStringLiteral("chybi-program %TO%"))
                  .send(messageWith(files), ui)
                  .outcome,
              MailOutcome::Failed);
}

// An address is one recipient or nothing: whatever would add recipients, headers or files to a
// mail URL or a command line gets the warning, and so do blanks alone.
TEST(MailProgramHandOverTest, OnlyOneRecipientPasses) {
    for (const char* bad :
         {"", "   ", "firma.cz", "a@@firma.cz", "a@b@firma.cz", "@firma.cz", "jan@",
          "jan@firma.cz,eva@jinde.cz", "jan@firma.cz;eva@jinde.cz", "Jan <jan@firma.cz>",
          "jan@firma.cz?attach=/etc/passwd", "jan@firma.cz&bcc=eva@jinde.cz", "jan novak@firma.cz",
          "jan@firma.cz\nBcc: eva@jinde.cz", "jan@firma.cz%0Abcc", "'jan'@firma.cz"}) {
        ScriptedInteraction ui;
        output::MailForm form;
        form.address = QString::fromUtf8(bad);
        EXPECT_FALSE(output::acceptMailForm(form, ui)) << bad;
        EXPECT_TRUE(ui.saw(ScriptedInteraction::Kind::Warning,
                           QStringLiteral("Zadejte platnou e-mailovou adresu.")))
            << bad;
    }
    ScriptedInteraction ui;
    output::MailForm form;
    form.address = QStringLiteral("  jan.novák+nabidky@firma.cz ");
    EXPECT_TRUE(output::acceptMailForm(form, ui));
}
