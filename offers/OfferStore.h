#pragma once

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
    // the items, the documents and the history row. Any failure is reported and rolls everything
    // back, the working copy unchanged; on success the copy holds what was stored (IDs, number,
    // links into the shared folder) and counts as an existing offer.
    bool save(OfferWorkingCopy& copy, core::UserInteraction& ui);

private:
    bool writeHeader(OfferWorkingCopy& work, qint64& id, core::UserInteraction& ui);
    bool writeItems(OfferWorkingCopy& work, qint64 id, core::UserInteraction& ui);
    bool writeDocuments(OfferWorkingCopy& work, qint64 id, core::UserInteraction& ui);

    core::Database& m_db;
};

// "Stav: <state>, Celkem s DPH: <total> <currency>"
QString historyDescription(int state, double totalWithVat, const QString& currency);

} // namespace orvento::offers
