#pragma once

#include "addressbook/AresRecord.h"

#include <QString>
#include <QUrl>

namespace orvento::core {
class IniFile;
class ProgressScope;
} // namespace orvento::core

namespace orvento::addressbook {

// Where the register is asked and how: section [ARES] of Tovaro.ini (Scheme, Host, Kind,
// Timeout in seconds); a missing or unusable key takes the register's own service.
struct AresService {
    enum class Kind { Rest, Xml };

    QString scheme = QStringLiteral("https");
    QString host = QStringLiteral("ares.gov.cz");
    Kind kind = Kind::Rest;
    int timeoutSeconds = 15;

    static AresService fromIni(const core::IniFile& ini);
    // The program's Tovaro.ini.
    static AresService configured();

    // The query of one firm by its eight-digit IČO; the host may carry a port.
    QUrl urlOf(const QString& ico) const;
};

// Asks the register for the firm with the IČO as typed. A number that cannot be in the
// register is not asked for. The query runs in the calling thread and keeps the interface
// alive through `wait` until the answer comes or the service's time-out passes; it never
// waits longer. The record's values are fitted to the card.
AresRecord queryAres(const AresService& service, const QString& typedIco,
                     core::ProgressScope& wait);

} // namespace orvento::addressbook
