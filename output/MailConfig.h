#pragma once

#include <QString>

#include <memory>

namespace orvento::output {

class MailHandOver;

// The workstation's way of sending e-mail, kept in Tovaro.ini's section [MAIL]. The password
// of the mail server is never kept here: it lives in the desktop's password store.
struct MailConfig {
    enum class Method { Desktop, Command, Smtp };
    enum class Security { StartTls, Tls, None };

    static constexpr int kDefaultPort = 587;
    static constexpr int kDefaultTimeoutSeconds = 60;

    Method method = Method::Desktop;
    QString command; // the firm's own: %TO% and %ATTACHMENTS% are filled in
    QString server;
    int port = kDefaultPort;
    Security security = Security::StartTls;
    QString user; // empty: no login
    QString caFile;
    int timeoutSeconds = kDefaultTimeoutSeconds;

    // Reads the section; unknown or missing values give the defaults above.
    static MailConfig load(const QString& iniPath);
    // Writes the section, keeping everything else of the file; false when it could not be saved.
    bool save(const QString& iniPath) const;

    static QString methodName(Method method);
    static QString securityName(Security security);
    // The key under which the password of this server and user is kept in the password store.
    QString passwordKey() const;
};

} // namespace orvento::output
