#include "catalogue/BulkItemUpdateRun.h"

#include "catalogue/IdentifierCodes.h"
#include "catalogue/ItemRecord.h"
#include "catalogue/RepricingBatches.h"
#include "core/Database.h"
#include "core/UserInteraction.h"
#include "services/ChangeStamps.h"

#include <QSqlError>
#include <QSqlQuery>

#include <array>
#include <unordered_map>
#include <utility>

namespace orvento::catalogue {

namespace {

const std::array<const char*, 6> kAvailabilityLetters{"", "S", "O", "N", "P", "X"};

struct TextColumn {
    const char* column;
    BulkUpdateSettings::Text BulkUpdateSettings::*field;
    int width; // 0: a memo without a width
};

const std::array<TextColumn, 7> kTextColumns{{
    {"Popis", &BulkUpdateSettings::popis, ItemWidth::Popis},
    {"Katalog", &BulkUpdateSettings::katalog, ItemWidth::Katalog},
    {"BarCode", &BulkUpdateSettings::barCode, ItemWidth::BarCode},
    {"PLU", &BulkUpdateSettings::plu, ItemWidth::PLU},
    {"Zkratka", &BulkUpdateSettings::zkratka, ItemWidth::Zkratka},
    {"TextMJ", &BulkUpdateSettings::textMJ, ItemWidth::TextMJ},
    {"Poznamka", &BulkUpdateSettings::poznamka, 0},
}};

struct StoredTexts {
    QString popis;
    QString identif;
};

} // namespace

BulkItemUpdateRun::BulkItemUpdateRun(core::Database& db, core::UserInteraction& ui,
                                     RunDisplay display)
    : m_db(db)
    , m_ui(ui)
    , m_display(std::move(display)) {}

QString BulkItemUpdateRun::availabilityLetter(int index) {
    if (index < 0 || index >= static_cast<int>(kAvailabilityLetters.size()))
        return QString();
    return QString::fromLatin1(kAvailabilityLetters[static_cast<std::size_t>(index)]);
}

QString BulkItemUpdateRun::updateSql(const BulkUpdateSettings& s) {
    QString sql = QStringLiteral("UPDATE Zasoby SET Znacka = :Znacka");
    for (const TextColumn& c : kTextColumns)
        if ((s.*c.field).on)
            sql += QStringLiteral(", %1 = :%1").arg(QLatin1String(c.column));
    if (s.identifiersOn)
        sql += QStringLiteral(", Identif = :Identif");
    if (s.availabilityOn)
        sql += QStringLiteral(", Dostupnost = :Dostupnost");
    return sql + QStringLiteral(" WHERE ID = :ID");
}

std::optional<QString> BulkItemUpdateRun::identifiersFor(const QString& itemList,
                                                         const BulkUpdateSettings& s) {
    QString list;
    switch (s.identifierAction) {
    case IdentifierAction::Set:
        list = s.identifiers;
        break;
    case IdentifierAction::Add:
        list = addIdentifiers(itemList, s.identifiers);
        break;
    case IdentifierAction::Remove:
        list = removeIdentifiers(itemList, s.identifiers);
        break;
    }
    if (!fitsIdentifierColumn(list))
        return std::nullopt;
    return list;
}

RunEnd BulkItemUpdateRun::run(const RunSelection& selection, const BulkUpdateSettings& s) {
    const auto group = [this](const QString& text) {
        if (m_display.group)
            m_display.group(text);
    };
    group(QString());
    FailedItems failures;
    QStringList problems;
    RunEnd end = RunEnd::Finished;
    {
        const services::SuppressedStamps stamps(
            {core::StampedTable::Zasoby, core::StampedTable::Skupiny});
        m_mark = QDateTime::currentDateTime();
        bool failed = false;
        std::optional<ItemSelection> items;
        {
            core::ProgressScope reading(m_ui, m_display.progress,
                                        static_cast<int>(selection.marked.groups.size()));
            items = readSelection(m_db, selection.mode, selection.scope, ScopeKind::BulkUpdate,
                                  selection.marked, reading, failed);
        }
        if (!items) {
            if (failed)
                m_ui.error(core::readFailedMessage());
            return failed ? RunEnd::Failed : RunEnd::Interrupted;
        }
        // The values every item gets; the identifiers and the ID follow per item.
        core::SqlParams params{{QStringLiteral("Znacka"), m_mark}};
        for (const TextColumn& c : kTextColumns) {
            const BulkUpdateSettings::Text& text = s.*c.field;
            if (text.on)
                params.emplace_back(QString::fromLatin1(c.column),
                                    c.width > 0 ? text.value.left(c.width) : text.value);
        }
        if (s.availabilityOn)
            params.emplace_back(QStringLiteral("Dostupnost"), availabilityLetter(s.availability));
        const std::size_t identifAt = params.size();
        if (s.identifiersOn)
            params.emplace_back(QStringLiteral("Identif"), QString());
        params.emplace_back(QStringLiteral("ID"), qint64{0});
        const std::size_t idAt = params.size() - 1;

        core::ProgressScope scope(m_ui, m_display.progress, static_cast<int>(items->size()));
        core::Statement update(m_db, updateSql(s));
        int done = 0;
        for (const SelectionPart& part : items->parts) {
            group(part.caption);
            std::size_t from = 0;
            std::size_t inUnit = 0;
            QStringList unitProblems;
            const auto batch = [&] {
                if (from >= part.ids.size())
                    return BatchStep::Last;
                const std::size_t count = std::min<std::size_t>(kBatchRows, part.ids.size() - from);
                core::SqlParams idParams;
                const QString where = idListCondition(part.ids, from, count, idParams);
                QSqlQuery q = m_db.select(
                    QStringLiteral("SELECT ID, Popis, Identif FROM Zasoby WHERE ") + where,
                    idParams);
                if (!q.isActive())
                    return BatchStep::Failed;
                std::unordered_map<qint64, StoredTexts> stored;
                while (q.next())
                    stored.emplace(q.value(0).toLongLong(),
                                   StoredTexts{q.value(1).toString(), q.value(2).toString()});
                if (q.lastError().type() != QSqlError::NoError)
                    return BatchStep::Failed;
                for (std::size_t i = from; i < from + count; ++i) {
                    const auto found = stored.find(part.ids[i]);
                    if (found == stored.end()) {
                        failures.add(part.ids[i]); // deleted meanwhile
                        continue;
                    }
                    if (s.identifiersOn) {
                        const auto list = identifiersFor(found->second.identif, s);
                        if (!list)
                            unitProblems << tooLongLine(found->second.popis);
                        params[identifAt].second = list.value_or(found->second.identif);
                    }
                    params[idAt].second = part.ids[i];
                    if (!update.exec(params))
                        return BatchStep::Failed;
                }
                from += count;
                inUnit += count;
                return from < part.ids.size() ? BatchStep::More : BatchStep::Last;
            };
            const auto committed = [&](bool) {
                problems << std::exchange(unitProblems, {});
                failures.tellFirst(m_ui);
                done += static_cast<int>(std::exchange(inUnit, 0));
                return scope.step(done);
            };
            const BatchesEnd partEnd = runInUnits(m_db, batch, committed);
            if (partEnd == BatchesEnd::Failed) {
                scope.end();
                m_ui.error(core::saveFailedMessage(QStringLiteral("Zasoby")));
                end = RunEnd::Failed;
                break;
            }
            // The stop request ends the visit, also when it came with the part's last unit.
            if (partEnd == BatchesEnd::Stopped ||
                (scope.cancelled() && &part != &items->parts.back())) {
                end = RunEnd::Interrupted;
                break;
            }
        }
        scope.step(static_cast<int>(items->size()));
    }
    problems << failures.lines();
    if (!problems.isEmpty())
        m_ui.showProblems(bulkProblemsHeading(), problems);
    if (end == RunEnd::Finished)
        m_ui.information(finishedMessage());
    return end;
}

} // namespace orvento::catalogue
