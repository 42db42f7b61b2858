#pragma once

#include "core/ServerConnection.h"

#include <QString>

#include <optional>

namespace orvento::core {

// A connection to a database server as PostgreSQL's own tools write it: the keyword/value form
// ("host=db.firma.cz port=5432 dbname=orvento user=orvento", values quoted with '...' and
// backslash escapes) or a URI ("postgresql://orvento@db.firma.cz:5432/orvento?sslmode=require",
// percent-escapes decoded). The host, the database and the user must be given: another
// workstation would otherwise fill them in differently. A password in it is kept in
// `password` (for this run only; it is never written to the connection file). Nothing when the
// text cannot be used; `problem` says why, in Czech.
std::optional<ServerConnection> parseConnectionString(const QString& text, QString* problem);

} // namespace orvento::core
