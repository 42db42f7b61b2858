#pragma once

#include "catalogue/ItemRecord.h"
#include "core/Database.h"

#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace orvento::core {
class UserInteraction;
}

namespace orvento::catalogue {

// How many rows a bulk run reads, computes and writes in one go. A unit of work takes such
// batches until it has held the write lock for the slice budget (core/SlicedWrite.h), so another
// workstation's save waits only a moment between two units.
inline constexpr int kBatchRows = 250;
// The most batches one unit takes, however fast they go.
inline constexpr int kBatchesPerUnit = 8;

enum class BatchStep { More, Last, Failed };
enum class BatchesEnd { Done, Stopped, Failed };

// Runs units of work one after the other, a short pause between them; each unit calls `batch`
// (which reads, computes and writes one batch) until it answers Last or the unit has used its
// budget. After each commit `committed(last)` may answer false to stop (`last`: nothing is left). A
// failed batch or commit rolls its unit back and ends the run; the caller tells it, after the unit.
BatchesEnd runInUnits(core::Database& db, const std::function<BatchStep()>& batch,
                      const std::function<bool(bool last)>& committed);

// "ID IN (:I0, :I1, ...)" over ids[from, from + count), its values added to `params`.
QString idListCondition(const std::vector<qint64>& ids, std::size_t from, std::size_t count,
                        core::SqlParams& params);

// The price data of the items a condition selects (the text after WHERE, with any ORDER BY or
// LIMIT), as the silent recomputation needs them. Nothing when the read failed.
std::optional<std::vector<ItemRecord>> readPriceRows(core::Database& db, const QString& where,
                                                     const core::SqlParams& params);

// The items a bulk run could not write. The first is told at once with the save failure
// message, between units of work; the others are collected for the information window, so a
// run over many vanished items does not ask for a click on each.
class FailedItems {
public:
    // An item that was gone (deleted on another workstation) when its batch came.
    void add(qint64 id);
    // Tells the first failure not told yet; call only between units of work.
    void tellFirst(core::UserInteraction& ui);
    // The lines for the information window (every failure after the first).
    const QStringList& lines() const { return m_lines; }

private:
    QStringList m_lines;
    bool m_pending = false;
    bool m_told = false;
};

} // namespace orvento::catalogue

namespace orvento::catalogue {

// The heading of the information window a bulk run fills with what it could not do.
inline QString bulkProblemsHeading() {
    return QStringLiteral("Při hromadné operaci došlo k těmto chybám:");
}

} // namespace orvento::catalogue
