#include "catalogue/MoveOperation.h"

#include "catalogue/CatalogueMessages.h"
#include "catalogue/CatalogueRecords.h"
#include "core/Database.h"
#include "core/ProgressScope.h"
#include "core/SlicedWrite.h"
#include "core/UserInteraction.h"

namespace orvento::catalogue {

MoveOperation::MoveOperation(core::Database& db, core::UserInteraction& ui, MoveKind kind,
                             std::vector<qint64> ids, qint64 activeSheet)
    : m_db(db)
    , m_ui(ui)
    , m_kind(kind)
    , m_ids(std::move(ids))
    , m_activeSheet(activeSheet) {
    if (m_kind != MoveKind::ItemsToGroup)
        return;
    // Items move within the active sheet, which the window names.
    m_sheet = activeSheet;
    for (const SheetRow& sheet : readSheets(m_db))
        if (sheet.id == activeSheet)
            m_sheetName = sheet.nazev;
}

QString MoveOperation::explanation() const {
    switch (m_kind) {
    case MoveKind::ItemsToGroup:
        return QStringLiteral("Tato volba přesune označené položky do zvolené skupiny. Vyberte "
                              "skupinu, do které chcete položky přesunout.");
    case MoveKind::GroupsToSheet:
        return QStringLiteral("Tato volba přesune označené skupiny do zvoleného listu. Vyberte "
                              "list, do kterého chcete skupiny přesunout.");
    case MoveKind::ItemsToSheet:
        break;
    }
    return QStringLiteral("Tato volba přesune označené položky do zvoleného listu. Vyberte list "
                          "(a skupinu), do kterého chcete položky přesunout.");
}

void MoveOperation::setSheet(qint64 sheetId, const QString& name) {
    m_sheet = sheetId;
    m_sheetName = name;
    m_group.reset();
    m_groupName.clear();
}

std::optional<qint64> MoveOperation::sheetForGroupChoice() {
    if (!m_sheet) {
        m_ui.information(messages::chooseSheetFirst());
        return std::nullopt;
    }
    return m_sheet;
}

void MoveOperation::setGroup(qint64 groupId, const QString& name) {
    m_group = groupId;
    m_groupName = name;
}

bool MoveOperation::validate() {
    if (needsSheet() && !m_sheet) {
        m_ui.warning(messages::sheetRequired());
        return false;
    }
    if (needsGroup() && !m_group) {
        m_ui.warning(messages::groupRequired());
        return false;
    }
    return true;
}

std::vector<qint64> MoveOperation::groupsToMove(bool& skippedBasic) const {
    std::vector<qint64> groups;
    for (const qint64 id : m_ids) {
        const auto group = readGroup(m_db, id);
        if (!group)
            continue; // deleted elsewhere meanwhile
        if (group->zakladni)
            skippedBasic = true;
        else
            groups.push_back(group->id);
    }
    return groups;
}

bool MoveOperation::moveItem(qint64 itemId) {
    // The group's sheet is read inside the slice, under its write lock, so that the item lands
    // where its group is even when another workstation moved the group during the run.
    const auto target = readGroup(m_db, *m_group);
    return target &&
           m_db.execute(QStringLiteral(
                            "UPDATE Zasoby SET Skupina = :Skupina, Sklad = :Sklad WHERE ID = :ID"),
                        {{QStringLiteral("Skupina"), target->id},
                         {QStringLiteral("Sklad"), target->sklad},
                         {QStringLiteral("ID"), itemId}});
}

bool MoveOperation::moveGroup(qint64 groupId) {
    // A group goes whole, with its items, inside one slice: an item's sheet always equals its
    // group's, also when a later slice fails.
    const core::SqlParams params = {{QStringLiteral("Sklad"), *m_sheet},
                                    {QStringLiteral("ID"), groupId}};
    return m_db.execute(QStringLiteral("UPDATE Zasoby SET Sklad = :Sklad WHERE Skupina = :ID"),
                        params) &&
           m_db.execute(QStringLiteral("UPDATE Skupiny SET Sklad = :Sklad WHERE ID = :ID"), params);
}

int MoveOperation::run(const core::ProgressScope::Display& display) {
    m_interrupted = false;
    const bool groups = m_kind == MoveKind::GroupsToSheet;
    bool skippedBasic = false;
    // Everything to move is known before the first slice takes the write lock.
    const std::vector<qint64> rows = groups ? groupsToMove(skippedBasic) : m_ids;
    core::SlicedWriteResult result;
    {
        // The dialog shows the run on its own bar; without one (a test) it goes unseen.
        core::ProgressScope progress(
            m_ui, display ? display : core::ProgressScope::Display([](int, int) {}),
            static_cast<int>(rows.size()));
        result = core::writeInSlices(
            m_db, rows, m_sliceRows,
            [&](qint64 id) { return groups ? moveGroup(id) : moveItem(id); },
            core::progressOf(progress));
    }
    m_interrupted = result.stopped;
    // Told after the failed slice was rolled back; the slices before it stay moved.
    if (result.failed)
        m_ui.error(
            core::saveFailedMessage(groups ? QStringLiteral("Skupiny") : QStringLiteral("Zasoby")));
    if (skippedBasic)
        m_ui.information(messages::basicGroupSkipped());
    return static_cast<int>(result.written);
}

} // namespace orvento::catalogue
