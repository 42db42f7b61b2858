#include "catalogue/MoveOperation.h"

#include "catalogue/CatalogueMessages.h"
#include "catalogue/CatalogueRecords.h"
#include "core/Database.h"
#include "core/ProgressScope.h"
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

bool MoveOperation::moveItems(size_t from, size_t to) {
    // The group's own sheet, read now, so that the item lands where its group is even when the
    // group was moved meanwhile.
    const auto target = readGroup(m_db, *m_group);
    if (!target) {
        m_ui.error(core::saveFailedMessage(QStringLiteral("Zasoby")));
        return false;
    }
    // The failure is told once the slice has been rolled back, never while it holds the lock.
    const bool moved = [&] {
        core::Transaction tx(m_db);
        for (size_t i = from; i < to; ++i)
            if (!m_db.execute(
                    QStringLiteral(
                        "UPDATE Zasoby SET Skupina = :Skupina, Sklad = :Sklad WHERE ID = :ID"),
                    {{QStringLiteral("Skupina"), target->id},
                     {QStringLiteral("Sklad"), target->sklad},
                     {QStringLiteral("ID"), m_ids[i]}}))
                return false;
        return tx.commit();
    }();
    if (!moved)
        m_ui.error(core::saveFailedMessage(QStringLiteral("Zasoby")));
    return moved;
}

bool MoveOperation::moveGroup(qint64 groupId) {
    const core::SqlParams params = {{QStringLiteral("Sklad"), *m_sheet},
                                    {QStringLiteral("ID"), groupId}};
    const bool ok = [&] {
        core::Transaction tx(m_db);
        return m_db.execute(QStringLiteral("UPDATE Zasoby SET Sklad = :Sklad WHERE Skupina = :ID"),
                            params) &&
               m_db.execute(QStringLiteral("UPDATE Skupiny SET Sklad = :Sklad WHERE ID = :ID"),
                            params) &&
               tx.commit();
    }();
    if (!ok)
        m_ui.error(core::saveFailedMessage(QStringLiteral("Skupiny")));
    return ok;
}

int MoveOperation::run(const core::ProgressScope::Display& display) {
    m_interrupted = false;
    const int total = static_cast<int>(m_ids.size());
    const size_t step = m_kind == MoveKind::GroupsToSheet ? 1 : 5;
    int moved = 0;
    bool skippedBasic = false;
    {
        // The dialog shows the run on its own bar; without one (a test) it goes unseen.
        core::ProgressScope progress(
            m_ui, display ? display : core::ProgressScope::Display([](int, int) {}), total);
        for (size_t i = 0; i < m_ids.size(); i += step) {
            if (progress.cancelled()) {
                m_interrupted = true;
                break;
            }
            if (m_kind == MoveKind::GroupsToSheet) {
                const auto group = readGroup(m_db, m_ids[i]);
                if (!group)
                    continue; // deleted elsewhere meanwhile
                if (group->zakladni) {
                    skippedBasic = true;
                    continue;
                }
                if (!moveGroup(group->id))
                    break;
                ++moved;
            } else {
                const size_t end = std::min(m_ids.size(), i + step);
                if (!moveItems(i, end))
                    break;
                moved += static_cast<int>(end - i);
            }
            progress.step(static_cast<int>(std::min(m_ids.size(), i + step)));
        }
    }
    if (skippedBasic)
        m_ui.information(messages::basicGroupSkipped());
    return moved;
}

} // namespace orvento::catalogue
