#include "core/ServerStoreFactory.h"

#include "core/PostgresStore.h"

namespace orvento::core {

ServerStoreFactory builtInServerStoreFactory() {
    return [](const ServerConnection& server, const QString& programFolder) {
        return std::make_unique<PostgresStore>(server, programFolder);
    };
}

} // namespace orvento::core
