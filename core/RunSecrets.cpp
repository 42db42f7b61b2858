#include "core/RunSecrets.h"

namespace orvento::core {

namespace {

void wipe(QString& text) {
    text.fill(QLatin1Char('\0'));
}

} // namespace

RunSecrets::~RunSecrets() {
    for (QString& secret : m_secrets)
        wipe(secret);
}

std::optional<QString> RunSecrets::find(const QString& key) const {
    const auto it = m_secrets.constFind(key);
    if (it == m_secrets.constEnd())
        return std::nullopt;
    return *it;
}

void RunSecrets::keep(const QString& key, const QString& secret) {
    forget(key);
    m_secrets.insert(key, secret);
}

void RunSecrets::forget(const QString& key) {
    const auto it = m_secrets.find(key);
    if (it == m_secrets.end())
        return;
    wipe(*it);
    m_secrets.erase(it);
}

} // namespace orvento::core
