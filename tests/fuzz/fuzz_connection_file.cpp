// The connection file `OrventoDB.ini` of a data folder, which an administrator may write by hand:
// read whenever a workstation opens the folder, and written again by the migration to the server.
#include "ServerRoundTrip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvento;
    static const QString read = fuzz::subFolder(QStringLiteral("read"));
    static const QString written = fuzz::subFolder(QStringLiteral("written"));
    fuzz::writeFile(QStringLiteral("read/") + QString::fromLatin1(core::kConnectionFileName),
                    fuzz::bytes(data, size));
    if (!core::hasConnectionFile(read))
        std::abort();
    QString problem;
    const auto server = core::readConnectionFile(read, &problem);
    if (!server) {
        if (problem.isEmpty()) // a refusal always tells what is wrong
            std::abort();
        return 0;
    }
    fuzz::checkRoundTrip(written, *server);
    return 0;
}
