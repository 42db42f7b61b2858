#include "core/ServerStoreFactory.h"

namespace orvento::core {

ServerStoreFactory builtInServerStoreFactory() {
    // No server store in this build yet: a folder with a connection file is refused.
    return {};
}

} // namespace orvento::core
