#include "output/MailPasswords.h"

#include "core/RunSecrets.h"
#include "core/UserInteraction.h"

#include <QEventLoop>
#include <QTimer>

#include <qt6keychain/keychain.h>

namespace orvento::output {

namespace {

const QString kService = QStringLiteral("Orvento e-mail");
// A password store that does not answer (no session bus) must not hold the send up for long.
constexpr int kStoreWaitMs = 5000;

// Runs a job of the password store to its end while the interface keeps painting.
bool runJob(QKeychain::Job& job) {
    job.setAutoDelete(false);
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(kStoreWaitMs, &loop, &QEventLoop::quit);
    job.start();
    loop.exec();
    return job.error() == QKeychain::NoError;
}

} // namespace

MailPasswords::MailPasswords(core::RunSecrets& run)
    : m_run(run) {}

std::optional<QString> MailPasswords::readStore(const QString& key) const {
    if (!m_storeEnabled)
        return std::nullopt;
    QKeychain::ReadPasswordJob job(kService);
    job.setKey(key);
    if (!runJob(job))
        return std::nullopt;
    return job.textData();
}

bool MailPasswords::writeStore(const QString& key, const QString& password) const {
    if (!m_storeEnabled)
        return false;
    QKeychain::WritePasswordJob job(kService);
    job.setKey(key);
    job.setTextData(password);
    return runJob(job);
}

void MailPasswords::removeFromStore(const QString& key) const {
    if (!m_storeEnabled)
        return;
    QKeychain::DeletePasswordJob job(kService);
    job.setKey(key);
    runJob(job);
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
