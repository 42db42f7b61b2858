#pragma once

#include "catalogue/RepricingSelection.h"
#include "catalogue/RepricingSettings.h"
#include "core/ProgressScope.h"

#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>

namespace orvento::core {
class Database;
class SqlDialect;
class UserInteraction;
} // namespace orvento::core

namespace orvento::catalogue {

struct PriceGroupData;
class FailedItems;

// The working page of a bulk wizard: the phase, the group being worked on, the progress bar.
struct RunDisplay {
    std::function<void(const QString&)> phase;
    std::function<void(const QString&)> group;
    core::ProgressScope::Display progress;
};

// Where a bulk run should take its items from.
struct RunSelection {
    SelectionMode mode = SelectionMode::WholeCatalogue;
    CatalogueScope scope;
    MarkedRows marked;
};

enum class RunEnd {
    Finished,
    Interrupted, // stopped by "Přerušit"; what was committed stays
    Failed,      // a read or write failed (told)
    Refused,     // the price-group setup is inconsistent (its report told); nothing changed
};

// The repricing of a selection. Without settings every item is recomputed in batches. With
// settings, phase I first writes them on every item in one short unit of work, computed from the
// stored values so that nothing read earlier is written back, with the unfinished mark; a stop
// before it or a failure in it leaves every item as it was. Phase II then recomputes the marked
// items batch by batch, so an interruption keeps the recomputed ones and leaves the rest marked.
class RepricingRun {
public:
    RepricingRun(core::Database& db, core::UserInteraction& ui, RunDisplay display);

    RunEnd run(const RunSelection& selection, const std::optional<RepricingSettings>& settings);

    // The phase I statement for these settings.
    static QString phaseOneSql(const RepricingSettings& settings);
    static QString phaseOneSql(const RepricingSettings& settings, const core::SqlDialect& dialect);
    // The run mark of the last run.
    const QDateTime& mark() const { return m_mark; }

    static QString finishedMessage() { return QStringLiteral("Přecenění položek bylo dokončeno."); }
    static QString interruptedMessage() {
        return QStringLiteral("Přecenění bylo přerušeno, ceny položek zůstaly beze změny.");
    }
    static QString failedMessage() {
        return QStringLiteral("Přecenění se nezdařilo, ceny položek zůstaly beze změny.");
    }
    // After a failed phase II: what phase I changed stays, with the mark on what was not
    // recomputed.
    static QString unfinishedMessage() {
        return QStringLiteral("Položky, jejichž ceny se nepodařilo přepočítat, zůstaly označeny "
                              "jako nedokončené (v ceníku jsou přeškrtnuté). Do nabídky je lze "
                              "použít až po jejich opravě otevřením a přeuložením nebo po novém "
                              "přepočtu cen.");
    }
    static QString stopQuestion() {
        return QStringLiteral("Opravdu chcete přerušit přepočet ? Varování: aktualizované, ale "
                              "nepřepočtené záznamy nebude možné použít!");
    }

private:
    RunEnd phaseOne(const ItemSelection& selection, const RepricingSettings& settings,
                    bool& stopAsked);
    RunEnd phaseTwo(const PriceGroupData& groups, bool stopAsked);
    RunEnd recomputeSelection(const ItemSelection& selection, const PriceGroupData& groups,
                              FailedItems& failures);
    std::optional<ItemSelection> select(const RunSelection& selection, bool& failed);
    void phase(const QString& text) const;
    void group(const QString& text) const;

    core::Database& m_db;
    core::UserInteraction& m_ui;
    RunDisplay m_display;
    QDateTime m_mark;
};

} // namespace orvento::catalogue
