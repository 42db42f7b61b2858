#pragma once

// What the connection harnesses share: a server that was read must go into a data folder's
// connection file and come back from it the same, or the workstations that open the folder
// afterwards would reach another server than the one that was read.
#include "FuzzSupport.h"

#include "core/ConnectionFile.h"

#include <QDir>

#include <cstdio>
#include <cstdlib>

namespace orvento::fuzz {

// A folder of the work folder, made once.
inline QString subFolder(const QString& name) {
    const QString folder = workFolder() + QLatin1Char('/') + name;
    QDir().mkpath(folder);
    return folder;
}

// Writes `server` as the connection file of `folder`, reads it back and stops the fuzzer when
// it differs. A file that cannot be written (the disk) is no fault of the reader.
inline void checkRoundTrip(const QString& folder, const core::ServerConnection& server) {
    QString problem;
    if (!core::writeConnectionFile(folder, server, &problem))
        return;
    const auto again = core::readConnectionFile(folder, &problem);
    if (again && again->host == server.host && again->port == server.port &&
        again->database == server.database && again->user == server.user &&
        again->sslMode == server.sslMode)
        return;
    std::fprintf(stderr, "fuzz: %s (user %s, %s) read back as %s\n", qPrintable(server.label()),
                 qPrintable(server.user), qPrintable(server.sslMode),
                 again ? qPrintable(again->label() + QLatin1Char(' ') + again->user)
                       : qPrintable(problem));
    std::abort();
}

} // namespace orvento::fuzz
