#pragma once

#include <QHash>
#include <QString>

#include <optional>

namespace orvento::core {

// Secrets typed during this run where the desktop has no password store to keep them (a mail
// server's password): kept in memory only, by a key naming the account, and overwritten when
// the run ends. Never written to a file or a log.
class RunSecrets {
public:
    RunSecrets() = default;
    ~RunSecrets();
    RunSecrets(const RunSecrets&) = delete;
    RunSecrets& operator=(const RunSecrets&) = delete;

    std::optional<QString> find(const QString& key) const;
    void keep(const QString& key, const QString& secret);
    void forget(const QString& key);

private:
    QHash<QString, QString> m_secrets;
};

} // namespace orvento::core
