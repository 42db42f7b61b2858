#pragma once

#include "core/ProgressScope.h"

#include <QString>

#include <cstddef>
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

    // Moves the rows in mark order, in slices that each hold the write lock only briefly (see
    // core/SlicedWrite); between slices the interface repaints and the cancel flag is read through
    // the run's progress scope, and a cancelled run stops there with every finished slice kept.
    // A group moves whole with its items in one slice, so an item's sheet always equals its
    // group's. Marked basic groups are skipped and reported. A failed slice is rolled back and
    // reported; the slices before it stay moved. `display` (the dialog's own bar) is told the
    // number of rows done. The number of rows moved.
    int run(const core::ProgressScope::Display& display = {});
    bool wasInterrupted() const { return m_interrupted; }

    // The most rows of one slice; the lock budget of core/SlicedWrite may end a slice sooner.
    void setSliceRows(std::size_t rows) { m_sliceRows = rows; }

private:
    // The marked groups that still exist, without the basic ones (`skippedBasic` tells of those).
    std::vector<qint64> groupsToMove(bool& skippedBasic) const;
    bool moveItem(qint64 itemId);
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
    std::size_t m_sliceRows = kSliceRows;
    bool m_interrupted = false;

    static constexpr std::size_t kSliceRows = 1000;
};

} // namespace orvento::catalogue
