#pragma once

#include "core/RecordMapping.h"
#include "offers/OfferWorkingCopy.h"
#include "services/RecordLock.h"

#include <optional>

namespace orvento::core {
class Database;
class UserInteraction;
} // namespace orvento::core

namespace orvento::offers {

// An offer ready for its card: the working copy and, for an existing writable offer, the hold on
// its lock file, which lasts as long as this object.
struct OpenedOffer {
    OfferWorkingCopy copy;
    services::RecordLock lock;
    // A copy whose VAT rates differ from the agenda's: the card opens the VAT-rate dialog at once.
    bool ratesDifferFromAgenda = false;
};

// Reads offers into working copies and writes them back, through the agenda connection.
class OfferStore {
public:
    explicit OfferStore(core::Database& agenda)
        : m_db(agenda) {}

    // Prepares a new offer, the offer `id` or a copy of it, with the rights checks, the lock file
    // and every message on the way. Nothing when the user lacks the right, the offer is gone or
    // its lock file cannot be created.
    std::optional<OpenedOffer> open(OfferMode mode, std::optional<qint64> id,
                                    core::UserInteraction& ui);

    // Reads the stored offer into `copy` as the mode wants it (ids kept for an existing offer,
    // dropped for a copy). False when the offer is not there or cannot be read.
    bool load(qint64 id, OfferWorkingCopy& copy);

    // Writes the working copy back as one unit of work: the number from the series, the header,
    // the items, the documents and the history row. Any failure is reported after the rollback,
    // the working copy unchanged. Then the documents marked for it are copied into the offer's
    // shared folder, outside the unit, and their links follow in a second one. On success the
    // copy holds what was stored (IDs, number, links into the shared folder) and counts as an
    // existing offer.
    bool save(OfferWorkingCopy& copy, core::UserInteraction& ui);

private:
    // Each gives the message of its failure, shown only after the unit was rolled back.
    std::optional<QString> writeHeader(OfferWorkingCopy& work, qint64& id);
    std::optional<QString> writeItems(OfferWorkingCopy& work, qint64 id);
    std::optional<QString> writeDocuments(OfferWorkingCopy& work, qint64 id);
    void copyDocuments(OfferWorkingCopy& work, qint64 id, core::UserInteraction& ui);

    core::Database& m_db;
};

// The statements that add a new offer, shared by every writer of new offers: the header with its
// author and lock (`VytvorID`, `Vytvoril`, `Zamek` as the header holds them) and one item of the
// offer `offerId`.
const QString& headerInsertSql();
core::SqlParams headerInsertParams(const OfferHeader& header);
const QString& itemInsertSql();
core::SqlParams itemInsertParams(const OfferItem& item, qint64 offerId);

// "Stav: <state>, Celkem s DPH: <total> <currency>"
QString historyDescription(int state, double totalWithVat, const QString& currency);

} // namespace orvento::offers
