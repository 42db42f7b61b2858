#pragma once

#include "core/Database.h"
#include "services/MemTableText.h"

#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

namespace orvento::core {
class Database;
} // namespace orvento::core

namespace orvento::services {

// How much the agenda records (setting 19): nothing, the rows, the rows with snapshots.
namespace HistoryLevel {
inline constexpr int Off = 0;
inline constexpr int Basic = 1;
inline constexpr int Detailed = 2;
} // namespace HistoryLevel

enum class ActionType { Created = 0, Changed = 1 };
// "Přidání", "Změna", empty for other values.
QString actionTypeText(int actionType);

// Writes the history row of an offer just saved: at the detailed level with snapshots of its
// `Nabidky` row and its `NabPolozky` rows in `Poradi` order, read back from the database (inside
// the caller's unit of work they show what the unit wrote). Nothing at level 0. A failed insert
// gives false; it does not undo the offer's save, and the caller reports it with
// historyFailedMessage() once its unit of work has ended.
bool recordOfferSave(core::Database& db, qint64 offerId, ActionType type,
                     const QString& description, int level);
QString historyFailedMessage();

// The history goes with the offer it belongs to.
bool deleteOfferHistory(core::Database& db, qint64 offerId);

struct ActionRow {
    qint64 id = 0;
    int actionType = 0;
    QString userName;
    QDateTime actionDate;
    QString description;
};

// The rows of one offer, oldest first; nothing when the query fails.
std::optional<std::vector<ActionRow>> offerHistory(core::Database& db, qint64 offerId);

// The snapshots of one row; a missing, empty or unreadable snapshot is nothing.
struct ActionSnapshots {
    std::optional<MemTable> offer;
    std::optional<MemTable> items;
};
ActionSnapshots readSnapshots(core::Database& db, qint64 actionId);

// The rows of a query over one agenda table, with all its columns typed as the schema types them.
std::optional<MemTable> snapshotOfQuery(core::Database& db, const QString& table,
                                        const QString& sql, const core::SqlParams& params);

} // namespace orvento::services
