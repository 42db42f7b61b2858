#include "core/ServerStoreFactory.h"

#include <QEventLoop>
#include <QTimer>

#include <qt6keychain/keychain.h>

namespace orvento::core {

namespace {

const QString kService = QStringLiteral("Orvento databáze");
// A keyring that does not answer (no session bus) must not hold the start up for long.
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

std::optional<QString> keyringPassword(const ServerConnection& server) {
    QKeychain::ReadPasswordJob job(kService);
    job.setKey(server.label());
    if (!runJob(job))
        return std::nullopt;
    return job.textData();
}

bool keepInKeyring(const ServerConnection& server, const QString& password) {
    QKeychain::WritePasswordJob job(kService);
    job.setKey(server.label());
    job.setTextData(password);
    return runJob(job);
}

} // namespace orvento::core
