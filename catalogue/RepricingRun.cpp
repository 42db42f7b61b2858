#include "catalogue/RepricingRun.h"

#include "catalogue/ItemCard.h"
#include "catalogue/LevelConsistency.h"
#include "catalogue/RepricingBatches.h"
#include "core/Database.h"
#include "core/SqlDialect.h"
#include "core/UserInteraction.h"
#include "services/ChangeStamps.h"

#include <unordered_map>
#include <utility>

namespace orvento::catalogue {

namespace {

constexpr int kPriceDecimals = 4;
constexpr int kPercentDecimals = 2;
// About a millisecond of phase I's unit.
constexpr int kRowsBetweenStopLooks = 256;

const QString kSalePriceLeading =
    QStringLiteral("(CASE WHEN SDPH <> 0 THEN PrCenaSDPH ELSE PrCenaBDPH END)");

// The new value of a column: the value typed, or the stored one raised or multiplied by it, at
// the column's precision.
QString valueExpression(const core::SqlDialect& dialect, const QString& stored,
                        const QString& parameter, ValueAction action, int decimals) {
    switch (action) {
    case ValueAction::Set:
        return QLatin1Char(':') + parameter;
    case ValueAction::Increase:
        return dialect.roundedSql(QStringLiteral("%1 + :%2").arg(stored, parameter), decimals);
    case ValueAction::Multiply:
        return dialect.roundedSql(QStringLiteral("%1 * :%2").arg(stored, parameter), decimals);
    }
    return QLatin1Char(':') + parameter;
}

core::SqlParams phaseOneParams(const RepricingSettings& s, const QDateTime& mark) {
    core::SqlParams p{{QStringLiteral("Znacka"), mark}, {QStringLiteral("Chyba"), true}};
    if (s.rateOn)
        p.emplace_back(QStringLiteral("SazbaDPH"), static_cast<double>(s.rate));
    if (s.purchasePrice.on)
        p.emplace_back(QStringLiteral("NakCena"), s.purchasePrice.value);
    if (s.margin.on)
        p.emplace_back(QStringLiteral("Marze"), s.margin.value);
    if (s.rabat.on)
        p.emplace_back(QStringLiteral("Rabat"), s.rabat.value);
    if (s.salePrice.on)
        p.emplace_back(QStringLiteral("PrCena"), s.salePrice.value);
    if (s.priceGroupOn && !s.salePriceRelative())
        p.emplace_back(QStringLiteral("CenSkupina"), s.priceGroup);
    if (s.roundingOn)
        p.emplace_back(QStringLiteral("Zaok"), s.rounding);
    if (s.priceTypeOn && !s.salePriceRelative())
        p.emplace_back(QStringLiteral("SDPH"), s.withVat);
    if (s.recomputeOn) {
        p.emplace_back(QStringLiteral("Prepocitat"), s.recompute);
        p.emplace_back(QStringLiteral("TypHodnoty"), s.valueType);
    }
    return p;
}

} // namespace

RepricingRun::RepricingRun(core::Database& db, core::UserInteraction& ui, RunDisplay display)
    : m_db(db)
    , m_ui(ui)
    , m_display(std::move(display)) {}

void RepricingRun::phase(const QString& text) const {
    if (m_display.phase)
        m_display.phase(text);
}

void RepricingRun::group(const QString& text) const {
    if (m_display.group)
        m_display.group(text);
}

QString RepricingRun::phaseOneSql(const RepricingSettings& s) {
    return phaseOneSql(s, core::sqliteDialect());
}

QString RepricingRun::phaseOneSql(const RepricingSettings& s, const core::SqlDialect& dialect) {
    QString sql = QStringLiteral("UPDATE Zasoby SET Znacka = :Znacka, Chyba = :Chyba");
    if (s.rateOn)
        sql += QStringLiteral(", SazbaDPH = :SazbaDPH");
    if (s.purchasePrice.on)
        sql += QStringLiteral(", NakCena = ") +
               valueExpression(dialect, QStringLiteral("NakCena"), QStringLiteral("NakCena"),
                               s.purchasePrice.action, kPriceDecimals);
    // Margin and rabat are only set or raised.
    if (s.margin.on)
        sql += QStringLiteral(", Marze = ") +
               valueExpression(dialect, QStringLiteral("Marze"), QStringLiteral("Marze"),
                               s.margin.action == ValueAction::Set ? ValueAction::Set
                                                                   : ValueAction::Increase,
                               kPercentDecimals);
    if (s.rabat.on)
        sql += QStringLiteral(", Rabat = ") +
               valueExpression(dialect, QStringLiteral("Rabat"), QStringLiteral("Rabat"),
                               s.rabat.action == ValueAction::Set ? ValueAction::Set
                                                                  : ValueAction::Increase,
                               kPercentDecimals);
    if (s.salePrice.on) {
        // Both members from the leading one; the recomputation derives the other afterwards.
        const QString price = valueExpression(dialect, kSalePriceLeading, QStringLiteral("PrCena"),
                                              s.salePrice.action, kPriceDecimals);
        sql +=
            QStringLiteral(", PrCenaSDPH = ") + price + QStringLiteral(", PrCenaBDPH = ") + price;
    }
    if (s.priceGroupOn && !s.salePriceRelative())
        sql += QStringLiteral(", CenSkupina = :CenSkupina");
    if (s.roundingOn)
        sql += QStringLiteral(", Zaok = :Zaok");
    if (s.priceTypeOn && !s.salePriceRelative())
        sql += QStringLiteral(", SDPH = :SDPH");
    if (s.recomputeOn)
        sql += QStringLiteral(", Prepocitat = :Prepocitat, TypHodnoty = :TypHodnoty");
    return sql + QStringLiteral(" WHERE ID = :ID");
}

std::optional<ItemSelection> RepricingRun::select(const RunSelection& selection, bool& failed) {
    core::ProgressScope scope(m_ui, m_display.progress,
                              static_cast<int>(selection.marked.groups.size()));
    auto items = readSelection(m_db, selection.mode, selection.scope, ScopeKind::Repricing,
                               selection.marked, scope, failed);
    if (failed)
        m_ui.error(core::readFailedMessage());
    return items;
}

RunEnd RepricingRun::run(const RunSelection& selection,
                         const std::optional<RepricingSettings>& settings) {
    group(QString());
    phase(QStringLiteral("Kontrola cenových hladin, prosím čekejte..."));
    if (!checkLevelConsistency(m_db, m_ui))
        return RunEnd::Refused;
    const std::optional<PriceGroupData> groups = PriceGroupData::load(m_db);
    if (!groups) {
        m_ui.error(core::readFailedMessage());
        return RunEnd::Failed;
    }
    FailedItems failures;
    RunEnd end = RunEnd::Finished;
    {
        const services::SuppressedStamps stamps(
            {core::StampedTable::Zasoby, core::StampedTable::Skupiny});
        m_mark = QDateTime::currentDateTime();
        phase(QStringLiteral("Přepočet cen"));
        if (settings)
            phase(QStringLiteral("I. fáze: nastavení údajů na položkách"));
        bool failed = false;
        const std::optional<ItemSelection> items = select(selection, failed);
        if (!items) {
            end = failed ? RunEnd::Failed : RunEnd::Interrupted;
            if (!failed && settings)
                m_ui.information(interruptedMessage());
        } else if (settings) {
            bool stopAsked = false;
            end = phaseOne(*items, *settings, stopAsked);
            group(QString());
            if (end == RunEnd::Finished) {
                phase(QStringLiteral("II. fáze: přepočet cen aktualizovaných položek [počkejte "
                                     "prosím na dokončení...]"));
                end = phaseTwo(*groups, stopAsked);
            }
        } else {
            end = recomputeSelection(*items, *groups, failures);
            group(QString());
        }
    }
    if (!failures.lines().isEmpty())
        m_ui.showProblems(bulkProblemsHeading(), failures.lines());
    if (end == RunEnd::Finished)
        m_ui.information(finishedMessage());
    return end;
}

RunEnd RepricingRun::phaseOne(const ItemSelection& selection, const RepricingSettings& settings,
                              bool& stopAsked) {
    const int total = static_cast<int>(selection.size());
    core::ProgressScope scope(m_ui, m_display.progress, total);
    core::SqlParams params = phaseOneParams(settings, m_mark);
    params.emplace_back(QStringLiteral("ID"), qint64{0});
    QVariant& id = params.back().second;
    // A stop asked for while the selection was read still changes nothing.
    if (!scope.step(0)) {
        scope.end();
        m_ui.information(interruptedMessage());
        return RunEnd::Interrupted;
    }
    // One short unit: another workstation sees all of the settings or none of them, and a
    // failure or a stop leaves every price as it was. While it holds the write lock only
    // "Přerušit" is let through, every few hundred rows.
    bool stopped = false;
    const bool written = [&] {
        core::Statement update(m_db, phaseOneSql(settings, m_db.dialect()));
        core::Transaction unit(m_db);
        if (!unit.isActive())
            return false;
        int done = 0;
        for (const SelectionPart& part : selection.parts)
            for (const qint64 itemId : part.ids) {
                id = itemId;
                if (!update.exec(params))
                    return false;
                if (++done % kRowsBetweenStopLooks == 0 && !scope.stepInUnit(done)) {
                    stopped = true;
                    return false;
                }
            }
        return unit.commit();
    }();
    if (written) {
        // A stop pressed in the last rows of the unit is seen now, and asked about before
        // phase II.
        stopAsked = !scope.step(total);
        return RunEnd::Finished;
    }
    scope.end();
    if (stopped) {
        m_ui.information(interruptedMessage());
        return RunEnd::Interrupted;
    }
    m_ui.error(core::saveFailedMessage(QStringLiteral("Zasoby")) + QStringLiteral("\n\n") +
               failedMessage());
    return RunEnd::Failed;
}

RunEnd RepricingRun::phaseTwo(const PriceGroupData& groups, bool stopAsked) {
    core::SqlParams marked{{QStringLiteral("Znacka"), m_mark}};
    const auto total = m_db.scalar(
        QStringLiteral("SELECT COUNT(*) FROM Zasoby WHERE Chyba <> 0 AND Znacka = :Znacka"),
        marked);
    if (!total) {
        m_ui.error(core::readFailedMessage() + QStringLiteral("\n\n") + unfinishedMessage());
        return RunEnd::Failed;
    }
    core::ProgressScope scope(m_ui, m_display.progress, total->toInt());
    if (stopAsked && m_ui.question(stopQuestion()))
        return RunEnd::Interrupted;
    RecomputedItemWriter store(m_db);
    qint64 last = 0;
    int done = 0;
    int inUnit = 0;
    // Read, computed and written in one unit, so no other workstation's change made in between
    // is overwritten; recomputed items leave the selection, so each batch starts after the last.
    const auto batch = [&] {
        core::SqlParams params = marked;
        params.emplace_back(QStringLiteral("Posledni"), last);
        params.emplace_back(QStringLiteral("Okno"), kBatchRows);
        const auto rows = readPriceRows(
            m_db,
            QStringLiteral("Chyba <> 0 AND Znacka = :Znacka AND ID > :Posledni ORDER BY ID "
                           "LIMIT :Okno"),
            params);
        if (!rows)
            return BatchStep::Failed;
        std::vector<ItemRecord> recomputed;
        recomputed.reserve(rows->size());
        for (const ItemRecord& row : *rows)
            recomputed.push_back(ItemCard::recomputedSilently(row, groups));
        if (!store.storeAll(recomputed))
            return BatchStep::Failed;
        if (!rows->empty())
            last = rows->back().ID;
        inUnit += static_cast<int>(rows->size());
        return rows->size() < static_cast<std::size_t>(kBatchRows) ? BatchStep::Last
                                                                   : BatchStep::More;
    };
    const auto committed = [&](bool lastUnit) {
        done += std::exchange(inUnit, 0);
        if (scope.step(done) || lastUnit)
            return true;
        if (m_ui.question(stopQuestion()))
            return false;
        scope.resume();
        return true;
    };
    switch (runInUnits(m_db, batch, committed)) {
    case BatchesEnd::Done:
        return RunEnd::Finished;
    case BatchesEnd::Stopped:
        return RunEnd::Interrupted;
    case BatchesEnd::Failed:
        break;
    }
    scope.end();
    m_ui.error(core::saveFailedMessage(QStringLiteral("Zasoby")) + QStringLiteral("\n\n") +
               unfinishedMessage());
    return RunEnd::Failed;
}

RunEnd RepricingRun::recomputeSelection(const ItemSelection& selection,
                                        const PriceGroupData& groups, FailedItems& failures) {
    core::ProgressScope scope(m_ui, m_display.progress, static_cast<int>(selection.size()));
    RecomputedItemWriter store(m_db);
    int done = 0;
    for (const SelectionPart& part : selection.parts) {
        group(part.caption);
        std::size_t from = 0;
        std::size_t inUnit = 0;
        const auto batch = [&] {
            if (from >= part.ids.size())
                return BatchStep::Last;
            const std::size_t count = std::min<std::size_t>(kBatchRows, part.ids.size() - from);
            core::SqlParams params;
            const QString where = idListCondition(part.ids, from, count, params);
            const auto rows = readPriceRows(m_db, where, params);
            if (!rows)
                return BatchStep::Failed;
            std::unordered_map<qint64, const ItemRecord*> byId;
            for (const ItemRecord& row : *rows)
                byId.emplace(row.ID, &row);
            std::vector<ItemRecord> recomputed;
            recomputed.reserve(count);
            for (std::size_t i = from; i < from + count; ++i) {
                const auto found = byId.find(part.ids[i]);
                if (found == byId.end())
                    failures.add(part.ids[i]); // deleted meanwhile
                else
                    recomputed.push_back(ItemCard::recomputedSilently(*found->second, groups));
            }
            if (!store.storeAll(recomputed))
                return BatchStep::Failed;
            from += count;
            inUnit += count;
            return from < part.ids.size() ? BatchStep::More : BatchStep::Last;
        };
        const auto committed = [&](bool) {
            failures.tellFirst(m_ui);
            done += static_cast<int>(std::exchange(inUnit, 0));
            return scope.step(done);
        };
        switch (runInUnits(m_db, batch, committed)) {
        case BatchesEnd::Done:
            if (scope.cancelled() && &part != &selection.parts.back())
                return RunEnd::Interrupted;
            continue;
        case BatchesEnd::Stopped:
            return RunEnd::Interrupted;
        case BatchesEnd::Failed:
            scope.end();
            m_ui.error(core::saveFailedMessage(QStringLiteral("Zasoby")));
            return RunEnd::Failed;
        }
    }
    return RunEnd::Finished;
}

} // namespace orvento::catalogue
