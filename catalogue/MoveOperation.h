#pragma once

#include "core/ProgressScope.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace orvento::core {
class Database;
class UserInteraction;
} // namespace orvento::core

namespace orvento::catalogue {

// What the bulk operations window (frmPresunZkopiruj, "Hromadné operace") moves, and where.
enum class MoveKind {
    ItemsToGroup, // marked items into a group of the active sheet
    ItemsToSheet, // marked items into a sheet and one of its groups
    GroupsToSheet // marked groups, with their items, into a sheet
};

// The logic of the window: the explanation, the chosen target, the checks of OK and the run.
class MoveOperation {
public:
    MoveOperation(core::Database& db, core::UserInteraction& ui, MoveKind kind,
                  std::vector<qint64> ids, qint64 activeSheet);

    static QString caption() { return QStringLiteral("Hromadné operace"); }
    MoveKind kind() const { return m_kind; }
    QString explanation() const;
    bool needsSheet() const { return m_kind != MoveKind::ItemsToGroup; }
    bool needsGroup() const { return m_kind != MoveKind::GroupsToSheet; }

    // Choosing a sheet clears the chosen group.
    void setSheet(qint64 sheetId, const QString& name);
    std::optional<qint64> sheet() const { return m_sheet; }
    const QString& sheetName() const { return m_sheetName; }
    // The sheet whose groups the group button offers; nothing (after "Nejprve vyberte list.")
    // while a sheet is still to be chosen.
    std::optional<qint64> sheetForGroupChoice();
    void setGroup(qint64 groupId, const QString& name);
    std::optional<qint64> group() const { return m_group; }
    const QString& groupName() const { return m_groupName; }

    // OK: the required sheet and group are chosen, otherwise their message.
    bool validate();

    // Moves the rows in mark order. Items are moved in steps of five, groups one by one; between
    // steps the interface repaints and the cancel flag is read through the run's progress scope,
    // and a cancelled run stops there with every finished step kept. Each step is one
    // transaction, so an item's sheet always equals its group's. Marked basic groups are skipped
    // and reported. `display` (the dialog's own bar) is told the number of rows done. The number
    // of rows moved.
    int run(const core::ProgressScope::Display& display = {});
    bool wasInterrupted() const { return m_interrupted; }

private:
    bool moveItems(size_t from, size_t to);
    bool moveGroup(qint64 groupId);

    core::Database& m_db;
    core::UserInteraction& m_ui;
    MoveKind m_kind;
    std::vector<qint64> m_ids;
    qint64 m_activeSheet;
    std::optional<qint64> m_sheet;
    std::optional<qint64> m_group;
    QString m_sheetName;
    QString m_groupName;
    bool m_interrupted = false;
};

} // namespace orvento::catalogue
