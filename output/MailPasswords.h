#pragma once

#include "output/MailConfig.h"

#include <QString>

#include <optional>

namespace orvento::core {
class RunSecrets;
class UserInteraction;
} // namespace orvento::core

namespace orvento::output {

// The password of the mail server's user. It lives in the desktop's password store and never in
// Tovaro.ini; without a store it is asked at the first send and kept for the run.
class MailPasswords {
public:
    explicit MailPasswords(core::RunSecrets& run);

    // The stored one, the one kept for the run, or the one the person types now (then stored,
    // or kept for the run); nothing when the person cancelled.
    std::optional<QString> password(const MailConfig& config, core::UserInteraction& ui);
    // Keeps a password typed in the settings dialog; false when there is no password store (it
    // is then kept for the run only).
    bool store(const MailConfig& config, const QString& password);
    // After the server refused the login: the next send asks again.
    void forget(const MailConfig& config);

    // Tests run without the desktop's password store.
    void setStoreEnabled(bool enabled) { m_storeEnabled = enabled; }

private:
    std::optional<QString> readStore(const QString& key) const;
    bool writeStore(const QString& key, const QString& password) const;
    void removeFromStore(const QString& key) const;

    core::RunSecrets& m_run;
    bool m_storeEnabled = true;
};

} // namespace orvento::output
