#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <map>

namespace orvento::core::sources {

// Changes a zip file in place: the entries in `replaced` get the new contents (added when
// missing), the entries in `removed` go, every other entry is kept as it was stored. False, with
// a Czech message in `error`, when the file cannot be opened or written; the caller works on a
// copy, so a failure leaves nothing that matters.
bool updateZip(const QString& path, const std::map<QString, QByteArray>& replaced,
               const QStringList& removed, QString& error);

} // namespace orvento::core::sources
