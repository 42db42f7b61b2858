#include "output/MailPasswords.h"

#include "core/Keyring.h"
#include "core/RunSecrets.h"
#include "core/UserInteraction.h"

namespace orvento::output {

namespace {

core::Keyring mailKeyring() {
    return core::Keyring(QStringLiteral("Orvento e-mail"));
}

} // namespace

MailPasswords::MailPasswords(core::RunSecrets& run)
    : m_run(run) {}

std::optional<QString> MailPasswords::readStore(const QString& key) const {
    if (!m_storeEnabled)
        return std::nullopt;
    return mailKeyring().read(key);
}

bool MailPasswords::writeStore(const QString& key, const QString& password) const {
    return m_storeEnabled && mailKeyring().write(key, password);
}

void MailPasswords::removeFromStore(const QString& key) const {
    if (m_storeEnabled)
        mailKeyring().remove(key);
}

std::optional<QString> MailPasswords::password(const MailConfig& config,
                                               core::UserInteraction& ui) {
    const QString key = config.passwordKey();
    if (std::optional<QString> kept = m_run.find(key))
        return kept;
    if (std::optional<QString> stored = readStore(key))
        return stored;
    std::optional<QString> typed =
        ui.inputPassword(QStringLiteral("Heslo k poštovnímu serveru"),
                         QStringLiteral("Heslo uživatele %1 k poštovnímu serveru %2:")
                             .arg(config.user, config.server));
    if (!typed)
        return std::nullopt;
    store(config, *typed);
    return typed;
}

bool MailPasswords::store(const MailConfig& config, const QString& password) {
    const QString key = config.passwordKey();
    if (writeStore(key, password)) {
        m_run.forget(key);
        return true;
    }
    m_run.keep(key, password);
    return false;
}

void MailPasswords::forget(const MailConfig& config) {
    const QString key = config.passwordKey();
    m_run.forget(key);
    removeFromStore(key);
}

} // namespace orvento::output
