#pragma once

#include "core/FoldedKeyIndex.h"
#include "core/ProgressScope.h"
#include "import/ImportDefinition.h"
#include "import/PreparedItems.h"
#include "import/RunSource.h"
#include "import/SourceOpener.h"

#include <QDateTime>
#include <QHash>
#include <QString>

#include <optional>
#include <vector>

namespace orvento::core {
class Database;
class UserInteraction;
} // namespace orvento::core

namespace orvento::catalogue {
struct PriceGroupData;
}

namespace orvento::import {

class ImportProtocol;

// The run of one price-list definition. Phase I reads, converts and matches every source row in
// memory, with nothing written: an interruption or a bad value leaves the catalogue as it was.
// The rows then go into a temporary table and one short unit of work applies them all, every
// touched item marked unfinished with the run's mark. Phase II recomputes the marked items in
// short slices through the item card's silent run.
class PriceListImport {
public:
    enum Result : int { Ok = 0, Failed = -1, RecomputeFailed = -2 };
    using Counts = RunCounts;
    // How long each part took, in milliseconds (for the benchmark).
    struct Timings {
        qint64 phaseOne = 0; // reading, matching and the temporary table
        qint64 aside = 0;    // of which the temporary table
        qint64 unit = 0;     // the unit of work that applies the rows
        qint64 phaseTwo = 0;
    };

    PriceListImport(core::Database& agenda, core::UserInteraction& ui, ImportProtocol& protocol,
                    SourceOpener opener, core::ProgressScope::Display display);

    int run(const ImportDefinition& definition);
    bool interrupted() const { return m_interrupted; }
    const Counts& counts() const { return m_counts; }
    const Timings& timings() const { return m_timings; }
    const QDateTime& mark() const { return m_mark; }

private:
    struct Place {
        QString sheetName;
        QString groupName;
    };
    // The red line of a sheet (and group) that is gone or no longer belongs together.
    std::optional<Place> placeOf(qint64 sheet, std::optional<qint64> group);
    bool checkPlaces(const ImportDefinition& definition);
    // The reference column of the (filtered) catalogue, read once.
    bool readReferences(const ImportDefinition& definition, const QString& column);
    void addStartLines(const ImportDefinition& definition);
    // Phase I; Failed, or Ok with m_interrupted telling whether the person stopped it.
    int prepareRows(const ImportDefinition& definition, core::sources::SourceTable& table,
                    core::ProgressScope& scope);
    // The one unit of work that writes the prepared rows.
    int applyRows(const ImportDefinition& definition, PreparedItemsTable& prepared);
    int recompute(const catalogue::PriceGroupData& groups);
    bool askToStop(core::ProgressScope& scope, const QString& question);

    core::Database& m_db;
    core::UserInteraction& m_ui;
    ImportProtocol& m_protocol;
    SourceOpener m_opener;
    core::ProgressScope::Display m_display;

    QDateTime m_mark;
    Counts m_counts;
    Timings m_timings;
    bool m_interrupted = false;
    Place m_filterPlace;
    core::FoldedKeyIndex m_references;
    QHash<qint64, double> m_storedRates; // `SazbaDPH` of the items the reference read found
    std::vector<PreparedItem> m_rows;
    std::vector<ItemColumn> m_updatedColumns;
};

} // namespace orvento::import
