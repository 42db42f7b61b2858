#include "catalogue/RepricingSelection.h"

#include "catalogue/CatalogueItemsModel.h"
#include "core/Database.h"
#include "core/ProgressScope.h"

#include <QSqlError>

#include <numeric>

namespace orvento::catalogue {

std::size_t ItemSelection::size() const {
    return std::accumulate(
        parts.begin(), parts.end(), std::size_t{0},
        [](std::size_t sum, const SelectionPart& p) { return sum + p.ids.size(); });
}

core::SqlCondition scopeCondition(const CatalogueScope& scope, ScopeKind kind) {
    core::SqlCondition condition;
    if (scope.everything)
        return condition;
    const bool repricing = kind == ScopeKind::Repricing;
    if (scope.groupOn)
        condition.add(QStringLiteral("(Skupina = :Skupina)"),
                      {{QStringLiteral("Skupina"), scope.groupId}});
    if (scope.sheetOn && (repricing || !scope.groupOn))
        condition.add(QStringLiteral("(Sklad = :Sklad)"),
                      {{QStringLiteral("Sklad"), scope.sheetId}});
    if (repricing && scope.rateOn)
        condition.add(QStringLiteral("(SazbaDPH = :SazbaDPH)"),
                      {{QStringLiteral("SazbaDPH"), static_cast<double>(scope.rate)}});
    return condition;
}

std::optional<QString> scopeProblem(const CatalogueScope& scope, ScopeKind kind) {
    if (scope.everything)
        return std::nullopt;
    const bool rate = kind == ScopeKind::Repricing && scope.rateOn;
    if (!scope.sheetOn && !rate)
        return QStringLiteral("Nastavte správně filtr nebo jej vypněte (zaškrtněte \"Provést "
                              "změny na všech položkách...\").");
    if (scope.sheetOn && scope.sheetId == 0)
        return QStringLiteral("Vyberte list nebo filtr vypněte.");
    if (scope.groupOn && scope.groupId == 0)
        return QStringLiteral("Vyberte skupinu nebo filtr vypněte.");
    return std::nullopt;
}

QString groupCaption(const QString& groupName) {
    return QStringLiteral("[skupina ") + groupName + QLatin1Char(']');
}

namespace {

std::optional<std::vector<qint64>> readIds(core::Database& db, const core::SqlCondition& where) {
    QSqlQuery q =
        db.select(QStringLiteral("SELECT ID FROM Zasoby") +
                      (where.empty() ? QString() : QStringLiteral(" WHERE ") + where.where) +
                      QStringLiteral(" ORDER BY ID"),
                  where.params);
    if (!q.isActive())
        return std::nullopt;
    std::vector<qint64> ids;
    while (q.next())
        ids.push_back(q.value(0).toLongLong());
    if (q.lastError().type() != QSqlError::NoError)
        return std::nullopt;
    return ids;
}

} // namespace

std::optional<ItemSelection> readSelection(core::Database& db, SelectionMode mode,
                                           const CatalogueScope& scope, ScopeKind kind,
                                           const MarkedRows& marked, core::ProgressScope& progress,
                                           bool& failed) {
    failed = false;
    ItemSelection selection;
    switch (mode) {
    case SelectionMode::WholeCatalogue: {
        auto ids = readIds(db, scopeCondition(scope, kind));
        if (!ids) {
            failed = true;
            return std::nullopt;
        }
        selection.parts.push_back({QString(), std::move(*ids)});
        break;
    }
    case SelectionMode::MarkedItems:
        selection.parts.push_back({QString(), marked.items});
        break;
    case SelectionMode::MarkedGroups: {
        // The group's items as the catalogue's grid lists them: its filter and its order.
        CatalogueItemsModel items(db);
        items.setFilter(marked.filter);
        int done = 0;
        for (const qint64 group : marked.groups) {
            const auto name = db.scalar(QStringLiteral("SELECT Nazev FROM Skupiny WHERE ID = :ID"),
                                        {{QStringLiteral("ID"), group}});
            if (!name)
                continue; // the group is gone meanwhile: nothing of it to visit
            if (!items.load(CatalogueItemsModel::Scope::Group, group, marked.sortField)) {
                failed = true;
                return std::nullopt;
            }
            selection.parts.push_back({groupCaption(name->toString()), items.ids()});
            if (!progress.step(++done))
                return std::nullopt;
        }
        break;
    }
    }
    if (progress.cancelled())
        return std::nullopt;
    return selection;
}

} // namespace orvento::catalogue
