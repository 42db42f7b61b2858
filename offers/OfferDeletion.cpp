#include "offers/OfferDeletion.h"

#include "core/Database.h"
#include "services/ActionHistory.h"

namespace orvento::offers {

QString deleteOfferRows(core::Database& db, qint64 offerId) {
    const core::SqlParams id = {{QStringLiteral("ID"), offerId}};
    const core::SqlParams offer = {{QStringLiteral("CisloNab"), offerId}};
    if (!db.execute(QStringLiteral("DELETE FROM Nabidky WHERE ID = :ID"), id))
        return QStringLiteral("Nabidky");
    if (!db.execute(QStringLiteral("DELETE FROM NabPolozky WHERE CisloNab = :CisloNab"), offer))
        return QStringLiteral("NabPolozky");
    if (!db.execute(QStringLiteral("DELETE FROM DokumentyNab WHERE CisloNab = :CisloNab"), offer))
        return QStringLiteral("DokumentyNab");
    if (!services::deleteOfferHistory(db, offerId))
        return QStringLiteral("Akce");
    return {};
}

QString lockedOfferDeleteMessage() {
    return QStringLiteral("Uzamčený doklad není možné smazat.");
}

} // namespace orvento::offers
