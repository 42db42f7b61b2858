#pragma once

#include "output/MailConfig.h"
#include "output/MailHandOver.h"

#include <functional>
#include <optional>

namespace orvento::output {

// Sends the message itself to the mail server of Tovaro.ini (libcurl, its MIME API streaming
// the files from disk): STARTTLS once chosen is required, "none" sends no login; a copy goes
// blind to the sender. The transfer runs in the interface thread, polled between repaints of
// the wait window; "<zrušit>" drops it (discarded).
class MailSmtpHandOver : public MailHandOver {
public:
    // The password of the server's user; nothing when the person cancelled.
    using PasswordSource = std::function<std::optional<QString>(core::UserInteraction&)>;

    MailSmtpHandOver(MailConfig config, QString sender, PasswordSource password);

    MailResult send(const MailMessage& message, core::UserInteraction& ui) override;
    bool composesItself() const override { return true; }
    // Told when the server refused the login, so that the password is asked again next time.
    void setLoginRefused(std::function<void()> refused) { m_loginRefused = std::move(refused); }

    // A header value with letters beyond ASCII as RFC 2047 encoded words; as it is otherwise.
    static QByteArray encodedHeader(const QString& text);
    // The Content-Disposition of an attachment with its name as the mail programs read it.
    static QByteArray attachmentDisposition(const QString& fileName);

private:
    MailConfig m_config;
    QString m_sender;
    PasswordSource m_password;
    std::function<void()> m_loginRefused;
};

} // namespace orvento::output
