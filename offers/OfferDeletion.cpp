#include "offers/OfferDeletion.h"

#include "core/Database.h"
#include "core/UserInteraction.h"
#include "services/ActionHistory.h"

namespace orvento::offers {

bool deleteOfferRecords(core::Database& db, qint64 offerId, core::UserInteraction& ui) {
    // The message waits until the unit is rolled back: no write lock is held while it shows.
    const QString failedTable = [&]() -> QString {
        core::Transaction unit(db);
        const core::SqlParams id = {{QStringLiteral("ID"), offerId}};
        const core::SqlParams offer = {{QStringLiteral("CisloNab"), offerId}};
        if (!unit.isActive() ||
            !db.execute(QStringLiteral("DELETE FROM Nabidky WHERE ID = :ID"), id))
            return QStringLiteral("Nabidky");
        if (!db.execute(QStringLiteral("DELETE FROM NabPolozky WHERE CisloNab = :CisloNab"), offer))
            return QStringLiteral("NabPolozky");
        if (!db.execute(QStringLiteral("DELETE FROM DokumentyNab WHERE CisloNab = :CisloNab"),
                        offer))
            return QStringLiteral("DokumentyNab");
        if (!services::deleteOfferHistory(db, offerId))
            return QStringLiteral("Akce");
        return unit.commit() ? QString() : QStringLiteral("Nabidky");
    }();
    if (failedTable.isEmpty())
        return true;
    ui.error(core::saveFailedMessage(failedTable));
    return false;
}

QString lockedOfferDeleteMessage() {
    return QStringLiteral("Uzamčený doklad není možné smazat.");
}

} // namespace orvento::offers
