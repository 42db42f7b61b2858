// The connection string of `--migrate-to-postgresql`, in both of the forms the server's own tools
// write (keywords and values, or a postgresql:// URI), which the migration then puts into the data
// folder's connection file.
#include "ServerRoundTrip.h"

#include "core/ConnectionString.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvento;
    static const QString folder = fuzz::subFolder(QStringLiteral("string"));
    QString problem;
    const auto server =
        core::parseConnectionString(QString::fromUtf8(fuzz::bytes(data, size)), &problem);
    if (!server) {
        if (problem.isEmpty()) // a refusal always tells what is wrong
            std::abort();
        return 0;
    }
    // Another workstation must be given the same server, so none of these may be left to guess.
    if (server->host.isEmpty() || server->database.isEmpty() || server->user.isEmpty())
        std::abort();
    fuzz::checkRoundTrip(folder, *server);
    return 0;
}
