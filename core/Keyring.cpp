#include "core/Keyring.h"

#include <QEventLoop>
#include <QTimer>

#include <qt6keychain/keychain.h>

#include <utility>

namespace orvento::core {

namespace {

constexpr int kKeyringWaitMs = 5000;

bool runJob(QKeychain::Job& job) {
    job.setAutoDelete(false);
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(kKeyringWaitMs, &loop, &QEventLoop::quit);
    job.start();
    loop.exec();
    return job.error() == QKeychain::NoError;
}

} // namespace

Keyring::Keyring(QString service)
    : m_service(std::move(service)) {}

std::optional<QString> Keyring::read(const QString& key) const {
    QKeychain::ReadPasswordJob job(m_service);
    job.setKey(key);
    if (!runJob(job))
        return std::nullopt;
    return job.textData();
}

bool Keyring::write(const QString& key, const QString& secret) const {
    QKeychain::WritePasswordJob job(m_service);
    job.setKey(key);
    job.setTextData(secret);
    return runJob(job);
}

void Keyring::remove(const QString& key) const {
    QKeychain::DeletePasswordJob job(m_service);
    job.setKey(key);
    runJob(job);
}

} // namespace orvento::core
