#include "catalogue/SheetListLogic.h"

#include "catalogue/GroupOperations.h"
#include "catalogue/SheetOperations.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/UserInteraction.h"
#include "services/AccessRights.h"
#include "services/RecordRefresh.h"

namespace orvento::catalogue {

namespace {

template <typename Row>
std::optional<size_t> placeOn(const std::vector<Row>& rows, qint64 id, std::optional<size_t> old) {
    if (const auto at = indexOfId(rows, id))
        return at;
    if (rows.empty())
        return std::nullopt;
    return std::min(old.value_or(0), rows.size() - 1);
}

} // namespace

SheetListLogic::SheetListLogic(core::Database& db, core::UserInteraction& ui, SheetListMode mode,
                               bool manage)
    : m_db(db)
    , m_ui(ui)
    , m_mode(mode)
    , m_manage(manage) {
    reload();
}

bool SheetListLogic::showsReorder() const {
    return m_manage && services::allows(services::moduleLevel(core::programState().user,
                                                              services::Module::Cenik),
                                        services::ModuleAction::Create);
}

void SheetListLogic::reload(qint64 locate) {
    const auto previous = current();
    m_rows = readSheets(m_db);
    m_current = placeOn(m_rows, locate ? locate : (previous ? previous->id : 0), m_current);
}

void SheetListLogic::setCurrentIndex(size_t index) {
    if (index < m_rows.size())
        m_current = index;
}

std::optional<SheetRow> SheetListLogic::current() const {
    if (!m_current || *m_current >= m_rows.size())
        return std::nullopt;
    return m_rows[*m_current];
}

bool SheetListLogic::moveCurrent(int direction) {
    const auto sheet = current();
    if (!sheet)
        return false;
    reload();
    if (!indexOfId(m_rows, sheet->id)) {
        m_ui.warning(services::recordGoneMessage());
        return false;
    }
    const bool moved = moveSheet(m_db, m_ui, sheet->id, direction);
    reload(sheet->id);
    return moved;
}

bool SheetListLogic::removeCurrent() {
    if (!services::checkModule(services::Module::Cenik, services::ModuleAction::Delete, m_ui))
        return false;
    const auto sheet = current();
    if (!sheet)
        return false;
    const qint64 neighbour = neighbourId(m_rows, *m_current);
    const bool deleted = deleteSheet(m_db, m_ui, sheet->id);
    reload(deleted ? neighbour : sheet->id);
    return deleted;
}

void SheetListLogic::afterCardSaved(qint64 sheetId) {
    reload(sheetId);
}

GroupPickerLogic::GroupPickerLogic(core::Database& db, core::UserInteraction& ui, qint64 sheetId)
    : m_db(db)
    , m_ui(ui)
    , m_sheet(sheetId) {
    reload();
}

bool GroupPickerLogic::mayAddGroup() {
    return services::checkModule(services::Module::Cenik, services::ModuleAction::Create, m_ui);
}

std::optional<GroupRow> GroupPickerLogic::groupToEdit() {
    return catalogue::groupToEdit(m_ui, current(), [this]() -> std::optional<GroupRow> {
        const auto group = current();
        reload();
        if (!group || !indexOfId(m_rows, group->id)) {
            m_ui.warning(services::recordGoneMessage());
            return std::nullopt;
        }
        return current();
    });
}

void GroupPickerLogic::afterCard(std::optional<qint64> savedId) {
    reload(savedId.value_or(0));
}

void GroupPickerLogic::reload(qint64 locate) {
    const auto previous = current();
    m_rows = readGroups(m_db, m_sheet, QStringLiteral("NAZEV"));
    m_current = placeOn(m_rows, locate ? locate : (previous ? previous->id : 0), m_current);
}

void GroupPickerLogic::setCurrentIndex(size_t index) {
    if (index < m_rows.size())
        m_current = index;
}

std::optional<GroupRow> GroupPickerLogic::current() const {
    if (!m_current || *m_current >= m_rows.size())
        return std::nullopt;
    return m_rows[*m_current];
}

} // namespace orvento::catalogue
