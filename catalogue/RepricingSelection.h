#pragma once

#include "catalogue/RepricingSettings.h"
#include "core/SqlCondition.h"

#include <QString>

#include <optional>
#include <vector>

namespace orvento::core {
class Database;
class ProgressScope;
} // namespace orvento::core

namespace orvento::catalogue {

// A stretch of the selection shown under one caption (a marked group's items), in the order the
// run visits them.
struct SelectionPart {
    QString caption;
    std::vector<qint64> ids;
};

struct ItemSelection {
    std::vector<SelectionPart> parts;

    std::size_t size() const;
};

// What the catalogue window hands over to a wizard opened on its marks: the marked groups and
// items in the order they were marked, and the order and filter of its items grid, so that a
// group's items are visited as the grid shows them.
struct MarkedRows {
    std::vector<qint64> groups;
    std::vector<qint64> items;
    QString sortField;
    core::SqlCondition filter;
};

// The repricing's filter narrows by group, sheet and rate together; the bulk update's by the
// group, or else the sheet.
enum class ScopeKind { Repricing, BulkUpdate };

// The condition of the whole-catalogue mode's filter page, values bound.
core::SqlCondition scopeCondition(const CatalogueScope& scope, ScopeKind kind);
// Why the filter page cannot be left as it is (the message to show), or nothing.
std::optional<QString> scopeProblem(const CatalogueScope& scope, ScopeKind kind);

QString groupCaption(const QString& groupName);

// Reads the IDs of the items a run visits; nothing is written. Nothing when the read failed
// (`failed` is set then) or the person asked to stop (`failed` stays false).
std::optional<ItemSelection> readSelection(core::Database& db, SelectionMode mode,
                                           const CatalogueScope& scope, ScopeKind kind,
                                           const MarkedRows& marked, core::ProgressScope& progress,
                                           bool& failed);

} // namespace orvento::catalogue
