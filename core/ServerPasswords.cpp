#include "core/Keyring.h"
#include "core/ServerStoreFactory.h"

namespace orvento::core {

namespace {

Keyring serverKeyring() {
    return Keyring(QStringLiteral("Orvento databáze"));
}

} // namespace

std::optional<QString> keyringPassword(const ServerConnection& server) {
    return serverKeyring().read(server.label());
}

bool keepInKeyring(const ServerConnection& server, const QString& password) {
    return serverKeyring().write(server.label(), password);
}

} // namespace orvento::core
