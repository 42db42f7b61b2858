#pragma once

#include <QString>

#include <optional>

namespace orvento::core {

// The person's password store on the desktop (the keyring), under one service name per kind of
// secret. Every call waits for the keyring's answer while the interface keeps painting, and
// gives up after a few seconds, so that a desktop without a keyring (no session bus) holds
// nothing up for long.
class Keyring {
public:
    explicit Keyring(QString service);

    // Nothing when there is no such entry or no keyring.
    std::optional<QString> read(const QString& key) const;
    // False when there is no keyring to keep it in.
    bool write(const QString& key, const QString& secret) const;
    void remove(const QString& key) const;

private:
    QString m_service;
};

} // namespace orvento::core
