#include "output/MailSmtpHandOver.h"

#include "support/ScriptedInteraction.h"
#include "support/SmtpSink.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace orvento;
using output::MailConfig;
using output::MailOutcome;
using testsupport::ScriptedInteraction;
using testsupport::SmtpSink;

namespace {

const QString kSender = QStringLiteral("obchod@firma.cz");
const QString kPassword = QStringLiteral("tajné-heslo");

MailConfig configFor(const SmtpSink& sink, MailConfig::Security security,
                     const QString& user = QStringLiteral("obchod")) {
    MailConfig c;
    c.method = MailConfig::Method::Smtp;
    c.server = QStringLiteral("127.0.0.1");
    c.port = sink.port();
    c.security = security;
    c.user = user;
    c.caFile = sink.caFile();
    c.timeoutSeconds = 2;
    return c;
}

output::MailSmtpHandOver handOver(const MailConfig& config, int* asked = nullptr) {
    return output::MailSmtpHandOver(config, kSender, [asked](core::UserInteraction&) {
        if (asked)
            ++*asked;
        return std::optional(kPassword);
    });
}

// The parts of a received message that carry a file: the name as written and the bytes.
std::vector<std::pair<QByteArray, QByteArray>> attachmentsOf(const QByteArray& data) {
    const qsizetype at = data.indexOf("boundary=");
    std::vector<std::pair<QByteArray, QByteArray>> files;
    if (at < 0)
        return files;
    QByteArray boundary = data.mid(at + 9, data.indexOf("\r\n", at) - at - 9);
    boundary = boundary.split(';').front();
    boundary.replace("\"", "");
    qsizetype from = 0;
    const QByteArray marker = "--" + boundary;
    while ((from = data.indexOf(marker, from)) >= 0) {
        from += marker.size();
        const qsizetype next = data.indexOf(marker, from);
        if (next < 0)
            break;
        const QByteArray part = data.mid(from, next - from);
        const qsizetype bodyAt = part.indexOf("\r\n\r\n");
        const QByteArray headers = part.left(bodyAt);
        if (!headers.contains("attachment"))
            continue;
        const qsizetype nameAt = headers.indexOf("filename=\"");
        const QByteArray name =
            headers.mid(nameAt + 10, headers.indexOf('"', nameAt + 10) - nameAt - 10);
        files.emplace_back(name, QByteArray::fromBase64(part.mid(bodyAt + 4)));
    }
    return files;
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& content) {
    QFile f(dir.filePath(name));
    f.open(QIODevice::WriteOnly);
    f.write(content);
    return f.fileName();
}

} // namespace

// A message as the mail server gets it: over STARTTLS with a login, the recipient and the
// sender's blind copy, the Czech subject and file names encoded, each file byte for byte, and a
// text line that starts with a dot kept as it was typed.
TEST(MailSmtpTest, MessageArrivesWhole) {
    SmtpSink sink;
    ASSERT_TRUE(sink.ok());
    QTemporaryDir dir;
    QByteArray binary(70000, '\0');
    for (char& c : binary)
        c = static_cast<char>(QRandomGenerator::global()->bounded(256));
    const QString pdf = writeFile(dir, QStringLiteral("nabídka č. 7.pdf"), binary);
    const QString text = writeFile(dir, QStringLiteral("plan.txt"), "řádek\r\n.tečka\r\n");

    ScriptedInteraction ui;
    auto smtp = handOver(configFor(sink, MailConfig::Security::StartTls));
    output::MailMessage message;
    message.to = QStringLiteral("  zakaznik@example.cz ");
    message.subject = QStringLiteral("Nabídka NB-2026/007 – žluťoučký kůň");
    message.body = QStringLiteral("Dobrý den,\n.tento řádek začíná tečkou\n.\nS pozdravem");
    message.attachments = {pdf, text};
    const output::MailResult result = smtp.send(message, ui);
    ASSERT_EQ(result.outcome, MailOutcome::Sent) << result.error.toStdString();

    const SmtpSink::Received got = sink.received();
    EXPECT_TRUE(got.encrypted);
    EXPECT_EQ(got.recipients, QStringList({QStringLiteral("zakaznik@example.cz"), kSender}));
    const QByteArray headers = got.data.left(got.data.indexOf("\r\n\r\n"));
    EXPECT_FALSE(headers.contains("Bcc"));
    EXPECT_TRUE(got.data.contains("Date: "));
    EXPECT_TRUE(got.data.contains("Message-ID: <"));
    EXPECT_TRUE(got.data.contains(output::MailSmtpHandOver::encodedHeader(message.subject)));
    // A line of a lone dot would end the message early unless it is doubled on the way.
    EXPECT_TRUE(got.data.contains("\r\n.tento") || got.data.contains("\r\n=2Etento"));
    EXPECT_TRUE(got.data.contains("S pozdravem"));
    const auto files = attachmentsOf(got.data);
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].first,
              output::MailSmtpHandOver::encodedHeader(QStringLiteral("nabídka č. 7.pdf")));
    EXPECT_EQ(files[0].second, binary);
    EXPECT_EQ(files[1].second, QByteArray("řádek\r\n.tečka\r\n"));
    // The password is not in anything the person saw.
    for (const QString& shown : ui.allTexts())
        EXPECT_FALSE(shown.contains(kPassword));
}

// What a server may refuse ends as a failure with a Czech message naming the cause, never as
// sent: a wrong password (asked again next time), an unknown recipient, no STARTTLS (then no
// login is sent in the clear), a server that stays silent.
TEST(MailSmtpTest, RefusalsFail) {
    output::MailMessage message;
    message.to = QStringLiteral("zakaznik@example.cz");
    {
        SmtpSink sink(SmtpSink::Mode::RefuseLogin);
        ASSERT_TRUE(sink.ok());
        ScriptedInteraction ui;
        auto smtp = handOver(configFor(sink, MailConfig::Security::StartTls));
        bool forgotten = false;
        smtp.setLoginRefused([&] { forgotten = true; });
        const auto r = smtp.send(message, ui);
        EXPECT_EQ(r.outcome, MailOutcome::Failed);
        EXPECT_TRUE(r.error.contains(QStringLiteral("odmítl přihlášení"))) << r.error.toStdString();
        EXPECT_FALSE(r.error.contains(kPassword));
        EXPECT_TRUE(forgotten);
    }
    {
        SmtpSink sink(SmtpSink::Mode::RefuseRecipient);
        ASSERT_TRUE(sink.ok());
        ScriptedInteraction ui;
        const auto r = handOver(configFor(sink, MailConfig::Security::StartTls)).send(message, ui);
        EXPECT_EQ(r.outcome, MailOutcome::Failed);
        EXPECT_TRUE(r.error.contains(QStringLiteral("odmítl adresáta"))) << r.error.toStdString();
        EXPECT_TRUE(sink.received().data.isEmpty());
    }
    {
        SmtpSink sink(SmtpSink::Mode::NoStartTls);
        ASSERT_TRUE(sink.ok());
        ScriptedInteraction ui;
        const auto r = handOver(configFor(sink, MailConfig::Security::StartTls)).send(message, ui);
        EXPECT_EQ(r.outcome, MailOutcome::Failed);
        EXPECT_TRUE(r.error.contains(QStringLiteral("STARTTLS"))) << r.error.toStdString();
        EXPECT_FALSE(sink.received().authSeen);
        EXPECT_FALSE(sink.received().commands.contains(QStringLiteral("AUTH")));
    }
    {
        SmtpSink sink(SmtpSink::Mode::Silent);
        ASSERT_TRUE(sink.ok());
        ScriptedInteraction ui;
        const auto r = handOver(configFor(sink, MailConfig::Security::StartTls)).send(message, ui);
        EXPECT_EQ(r.outcome, MailOutcome::Failed);
        EXPECT_TRUE(r.error.contains(QStringLiteral("neodpověděl"))) << r.error.toStdString();

        // "<zrušit>" drops the transfer at once: discarded, nothing told.
        ScriptedInteraction cancelling;
        cancelling.cancelAtStep(0);
        QElapsedTimer clock;
        clock.start();
        const auto dropped =
            handOver(configFor(sink, MailConfig::Security::StartTls)).send(message, cancelling);
        EXPECT_EQ(dropped.outcome, MailOutcome::Discarded);
        EXPECT_LT(clock.elapsed(), 1500);
    }
}

// "none" sends no login and asks for no password; a certificate the CA file does not vouch for
// stops the message before anything is sent.
TEST(MailSmtpTest, NoEncryptionSendsNoLoginAndABadCertificateStops) {
    output::MailMessage message;
    message.to = QStringLiteral("zakaznik@example.cz");
    {
        SmtpSink sink(SmtpSink::Mode::NoStartTls);
        ASSERT_TRUE(sink.ok());
        ScriptedInteraction ui;
        int asked = 0;
        const auto r =
            handOver(configFor(sink, MailConfig::Security::None), &asked).send(message, ui);
        EXPECT_EQ(r.outcome, MailOutcome::Sent) << r.error.toStdString();
        EXPECT_EQ(asked, 0);
        EXPECT_FALSE(sink.received().authSeen);
    }
    {
        SmtpSink sink;
        SmtpSink other;
        ASSERT_TRUE(sink.ok() && other.ok());
        ScriptedInteraction ui;
        MailConfig c = configFor(sink, MailConfig::Security::StartTls);
        c.caFile = other.caFile();
        const auto r = handOver(c).send(message, ui);
        EXPECT_EQ(r.outcome, MailOutcome::Failed);
        EXPECT_TRUE(r.error.contains(QStringLiteral("certifikát"))) << r.error.toStdString();
        EXPECT_FALSE(sink.received().authSeen);
        EXPECT_TRUE(sink.received().data.isEmpty());
    }
}
