#include "catalogue/CatalogueWindowLogic.h"

#include "catalogue/CatalogueMessages.h"
#include "catalogue/GroupOperations.h"
#include "catalogue/ItemDeletion.h"
#include "catalogue/LockedRecords.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/ProgressScope.h"
#include "core/UserInteraction.h"
#include "services/AccessRights.h"
#include "services/ChangeStamps.h"
#include "services/ProfileSession.h"
#include "services/ProfileStore.h"
#include "services/ProfileValues.h"
#include "services/PurchasePriceDisplay.h"
#include "services/RecordRefresh.h"

namespace orvento::catalogue {

namespace {

using services::GridId;
using services::Module;
using services::ModuleAction;

core::AccessLevel catalogueLevel() {
    return services::moduleLevel(core::programState().user, Module::Cenik);
}

bool allowed(ModuleAction action) {
    return services::allows(catalogueLevel(), action);
}

} // namespace

CatalogueWindowLogic::CatalogueWindowLogic(core::Database& db, core::UserInteraction& ui,
                                           services::ProfileSession& session, CatalogueMode mode,
                                           core::ProgramEvents* events)
    : m_db(db)
    , m_ui(ui)
    , m_session(session)
    , m_mode(mode)
    , m_events(events)
    , m_items(db) {}

bool CatalogueWindowLogic::mayOpen(core::UserInteraction& ui) {
    return services::checkModule(Module::Cenik, ModuleAction::Open, ui);
}

bool CatalogueWindowLogic::open() {
    core::ProgressScope wait(m_ui, messages::loadingCatalogue(), 0, false);
    m_activeSheet = services::profile::loadInt(services::profile::value::ActiveSheet, 1);
    m_groupsShown =
        services::profile::loadBool(services::profile::value::CatalogueGroupsShown, true);
    m_positions.load();
    const QString groupSort = m_session.sortField(GridId::CatalogueGroups);
    m_groupSort = groupSort.compare(QLatin1String("KOD"), Qt::CaseInsensitive) == 0
                      ? QStringLiteral("KOD")
                      : QStringLiteral("NAZEV");
    m_items.load(CatalogueItemsModel::Scope::Nothing, 0,
                 m_session.sortField(GridId::CatalogueItems));
    m_sheets = readSheets(m_db);
    if (m_sheets.empty())
        return false;
    if (!indexOfId(m_sheets, m_activeSheet))
        m_activeSheet = m_sheets.back().id;
    m_items.setPurchasePricesVisible(core::programState().purchasePricesVisible());
    loadSheet();
    services::rememberCurrentStamp(core::StampedTable::Zasoby);
    services::rememberCurrentStamp(core::StampedTable::Skupiny);
    clearMarks();
    m_focus = m_groupsShown ? CatalogueGrid::Groups : CatalogueGrid::Items;
    return true;
}

ItemFilter CatalogueWindowLogic::entriesForDialog() const {
    ItemFilter entries = m_filter;
    entries.active = true;
    return entries;
}

bool CatalogueWindowLogic::applyFilter(const ItemFilter& entries) {
    m_filter = entries;
    clearMarks();
    const qint64 keep = currentItemId();
    m_filterOn = entries.active;
    m_items.setFilter(itemFilterCondition(entries));
    bool applied = m_filterOn;
    if (!m_items.reload()) {
        m_filterOn = false;
        applied = false;
        m_items.setFilter({});
        m_items.reload();
        m_ui.warning(filterCannotApplyMessage());
    }
    locateItem(keep);
    return applied;
}

void CatalogueWindowLogic::close() {
    rememberPlace();
    m_positions.save();
    services::profile::saveInt(services::profile::value::ActiveSheet,
                               static_cast<int>(m_activeSheet));
    services::profile::saveBool(services::profile::value::CatalogueGroupsShown, m_groupsShown);
    m_session.setSortField(GridId::CatalogueGroups, m_groupSort);
    m_session.setSortField(GridId::CatalogueItems, m_items.sortField());
}

std::optional<size_t> CatalogueWindowLogic::activeSheetIndex() const {
    return indexOfId(m_sheets, m_activeSheet);
}

void CatalogueWindowLogic::rememberPlace() {
    if (!indexOfId(m_sheets, m_activeSheet))
        return;
    const qint64 item = currentItemId() > 0 ? currentItemId() : 0;
    qint64 group = 0;
    if (m_groupsShown) {
        if (const auto g = currentGroup())
            group = g->id;
    } else if (item > 0) {
        group = m_items.value(m_currentItem, QStringLiteral("Skupina")).toLongLong();
        if (group == 0)
            if (const auto s =
                    m_db.scalar(QStringLiteral("SELECT Skupina FROM Zasoby WHERE ID = :ID"),
                                {{QStringLiteral("ID"), item}}))
                group = s->toLongLong();
    }
    m_positions.rememberSheet(m_activeSheet, group, item);
    if (group > 0)
        m_positions.rememberGroup(group, item);
}

void CatalogueWindowLogic::selectSheet(size_t index) {
    if (index >= m_sheets.size() || m_sheets[index].id == m_activeSheet)
        return;
    rememberPlace();
    m_activeSheet = m_sheets[index].id;
    loadSheet();
}

void CatalogueWindowLogic::reloadSheets(qint64 activate) {
    rememberPlace();
    m_sheets = readSheets(m_db);
    if (indexOfId(m_sheets, activate))
        m_activeSheet = activate;
    else if (!indexOfId(m_sheets, m_activeSheet) && !m_sheets.empty())
        m_activeSheet = m_sheets.back().id;
    loadSheet();
}

void CatalogueWindowLogic::loadSheet() {
    const CataloguePositions::SheetPlace place = m_positions.sheet(m_activeSheet);
    m_groupMarks.clear();
    if (m_groupsShown) {
        loadGroups(place.group);
        loadItemsOfGroup();
    } else {
        m_groups.clear();
        m_currentGroup.reset();
        m_items.load(CatalogueItemsModel::Scope::Sheet, m_activeSheet, m_items.sortField());
        locateItem(place.item);
    }
    m_items.clearMarks();
}

bool CatalogueWindowLogic::loadGroups(qint64 locate) {
    m_groups = readGroups(m_db, m_activeSheet, m_groupSort);
    const auto at = indexOfId(m_groups, locate);
    m_currentGroup = at ? at : (m_groups.empty() ? std::nullopt : std::optional<size_t>(0));
    return at.has_value();
}

void CatalogueWindowLogic::loadItemsOfGroup() {
    const auto group = currentGroup();
    if (!group) {
        m_items.load(CatalogueItemsModel::Scope::Nothing, 0, m_items.sortField());
        m_currentItem = -1;
        return;
    }
    m_items.load(CatalogueItemsModel::Scope::Group, group->id, m_items.sortField());
    locateItem(m_positions.itemOfGroup(group->id));
}

void CatalogueWindowLogic::locateItem(qint64 id) {
    const auto row = m_items.rowOfId(id);
    m_currentItem = row ? *row : (m_items.rowCount() > 0 ? 0 : -1);
}

void CatalogueWindowLogic::toggleGroups() {
    rememberPlace();
    m_groupsShown = !m_groupsShown;
    loadSheet();
    if (!m_groupsShown)
        m_focus = CatalogueGrid::Items;
}

std::optional<GroupRow> CatalogueWindowLogic::currentGroup() const {
    if (!m_currentGroup || *m_currentGroup >= m_groups.size())
        return std::nullopt;
    return m_groups[*m_currentGroup];
}

void CatalogueWindowLogic::setCurrentGroup(size_t index) {
    if (index >= m_groups.size() || m_currentGroup == index)
        return;
    rememberPlace();
    m_currentGroup = index;
    loadItemsOfGroup();
}

void CatalogueWindowLogic::sortGroups(const QString& field) {
    const QString upper = field.toUpper();
    if (upper != QLatin1String("NAZEV") && upper != QLatin1String("KOD"))
        return;
    m_groupSort = upper;
    const auto current = currentGroup();
    m_groups = readGroups(m_db, m_activeSheet, m_groupSort);
    m_currentGroup = current ? indexOfId(m_groups, current->id) : std::nullopt;
    m_session.setSortField(GridId::CatalogueGroups, m_groupSort);
}

void CatalogueWindowLogic::setCurrentItemRow(int row) {
    if (row >= -1 && row < m_items.rowCount())
        m_currentItem = row;
}

void CatalogueWindowLogic::sortItems(const QString& field) {
    if (!CatalogueItemsModel::isSortable(field))
        return;
    const qint64 current = currentItemId();
    m_items.sortBy(field);
    locateItem(current);
    m_session.setSortField(GridId::CatalogueItems, m_items.sortField());
}

std::optional<int> CatalogueWindowLogic::quickFindItem(const QString& text) {
    const auto row = m_items.quickFind(text);
    if (row)
        m_currentItem = *row;
    return row;
}

std::optional<size_t> CatalogueWindowLogic::quickFindGroup(const QString& text) {
    // The groups are few and already in the grid's order.
    for (size_t i = 0; i < m_groups.size(); ++i) {
        const QString& value =
            m_groupSort == QLatin1String("KOD") ? m_groups[i].kod : m_groups[i].nazev;
        if (value.startsWith(text, Qt::CaseInsensitive)) {
            setCurrentGroup(i);
            return i;
        }
    }
    return std::nullopt;
}

CatalogueButtons CatalogueWindowLogic::buttons() const {
    CatalogueButtons b;
    const bool groupsFocused = m_focus == CatalogueGrid::Groups && m_groupsShown;
    const bool hasRows = groupsFocused ? !m_groups.empty() : m_items.rowCount() > 0;
    const bool create = allowed(ModuleAction::Create);
    b.addGroup = m_groupsShown && create;
    b.addItem = create && m_activeSheet > 0;
    b.edit = hasRows;
    b.copy = hasRows && create;
    b.remove = hasRows && allowed(ModuleAction::Delete);
    b.print = hasRows;
    b.moveToGroup = hasRows && create;
    b.moveToSheet = hasRows && create;
    b.okVisible = m_mode == CatalogueMode::Pick;
    b.ok = b.okVisible && !groupsFocused && hasRows;
    return b;
}

void CatalogueWindowLogic::refresh() {
    const qint64 item = currentItemId();
    if (m_groupsShown) {
        const auto group = currentGroup();
        loadGroups(group ? group->id : 0);
        const auto now = currentGroup();
        if (now)
            m_items.load(CatalogueItemsModel::Scope::Group, now->id, m_items.sortField());
        else
            m_items.load(CatalogueItemsModel::Scope::Nothing, 0, m_items.sortField());
    } else {
        m_items.reload();
    }
    locateItem(item);
    clearMarks();
}

void CatalogueWindowLogic::setGroupMarked(size_t index, bool marked) {
    if (index >= m_groups.size())
        return;
    const qint64 id = m_groups[index].id;
    const auto it = std::find(m_groupMarks.begin(), m_groupMarks.end(), id);
    if (marked && it == m_groupMarks.end())
        m_groupMarks.push_back(id);
    else if (!marked && it != m_groupMarks.end())
        m_groupMarks.erase(it);
}

bool CatalogueWindowLogic::isGroupMarked(qint64 id) const {
    return std::find(m_groupMarks.begin(), m_groupMarks.end(), id) != m_groupMarks.end();
}

void CatalogueWindowLogic::markAll() {
    if (m_focus == CatalogueGrid::Groups && m_groupsShown) {
        m_groupMarks.clear();
        for (const GroupRow& g : m_groups)
            m_groupMarks.push_back(g.id);
    } else {
        m_items.markAll();
    }
}

void CatalogueWindowLogic::clearMarks() {
    m_groupMarks.clear();
    m_items.clearMarks();
}

std::optional<MarkedKind> CatalogueWindowLogic::checkMarks(bool forBulkUpdate) {
    const bool items = !m_items.marks().empty();
    const bool groups = !m_groupMarks.empty();
    if (items && groups) {
        m_ui.warning(messages::bothKindsMarked());
        return std::nullopt;
    }
    if (!items && !groups) {
        m_ui.warning(forBulkUpdate ? messages::markSomethingFirstForBulk()
                                   : messages::markSomethingFirst());
        return std::nullopt;
    }
    return items ? MarkedKind::Items : MarkedKind::Groups;
}

QString CatalogueWindowLogic::groupsSwitchTip() const {
    return m_groupsShown ? QStringLiteral("Vypne zobrazení skupin (Alt+S)")
                         : QStringLiteral("Zapne zobrazení skupin (Alt+S)");
}

EditAction CatalogueWindowLogic::editAction(EditTrigger trigger) const {
    if (m_focus == CatalogueGrid::Groups && m_groupsShown)
        return EditAction::EditGroup;
    if (m_mode == CatalogueMode::Pick && trigger == EditTrigger::Activation)
        return EditAction::PickItem;
    return EditAction::EditItem;
}

bool CatalogueWindowLogic::mayAddGroup() {
    if (!services::checkModule(Module::Cenik, ModuleAction::Create, m_ui))
        return false;
    if (!m_groupsShown) {
        m_ui.information(messages::showGroupsFirst());
        return false;
    }
    return true;
}

// A group card opens on fresh data: when another workstation changed the groups since this
// window last looked, the groups are read again and the group found again first.
bool CatalogueWindowLogic::relocateGroup() {
    const auto group = currentGroup();
    if (!group)
        return false;
    if (services::changedSinceLastSeen(core::StampedTable::Skupiny)) {
        if (!loadGroups(group->id)) {
            loadItemsOfGroup();
            m_ui.warning(services::recordGoneMessage());
            return false;
        }
    } else if (!readGroup(m_db, group->id)) {
        loadGroups(0);
        loadItemsOfGroup();
        m_ui.warning(services::recordGoneMessage());
        return false;
    }
    return true;
}

std::optional<qint64> CatalogueWindowLogic::itemToOpen() {
    const qint64 id = currentItemId();
    if (id <= 0)
        return std::nullopt;
    if (services::changedSinceLastSeen(core::StampedTable::Zasoby)) {
        m_items.reload();
        const auto row = m_items.rowOfId(id);
        if (!row) {
            locateItem(id);
            m_ui.warning(services::recordGoneMessage());
            return std::nullopt;
        }
        m_currentItem = *row;
    }
    return id;
}

qint64 CatalogueWindowLogic::groupForNewItem() const {
    if (!m_groupsShown)
        return 0;
    const auto group = currentGroup();
    return group ? group->id : 0;
}

void CatalogueWindowLogic::afterItemSaved(qint64 itemId) {
    services::rememberCurrentStamp(core::StampedTable::Zasoby);
    m_items.reload();
    locateItem(itemId);
}

std::optional<GroupRow> CatalogueWindowLogic::groupToEdit() {
    return catalogue::groupToEdit(m_ui, currentGroup(), [this]() -> std::optional<GroupRow> {
        if (!relocateGroup())
            return std::nullopt;
        return currentGroup();
    });
}

std::optional<GroupRow> CatalogueWindowLogic::groupToCopy() {
    if (!services::checkModule(Module::Cenik, ModuleAction::Create, m_ui))
        return std::nullopt;
    auto group = currentGroup();
    if (!group)
        return std::nullopt;
    group->id = 0;
    group->zakladni = false;
    group->sklad = m_activeSheet;
    return group;
}

void CatalogueWindowLogic::afterGroupSaved(qint64 groupId) {
    rememberPlace();
    services::rememberCurrentStamp(core::StampedTable::Skupiny);
    loadGroups(groupId);
    loadItemsOfGroup();
}

void CatalogueWindowLogic::removeCurrent() {
    if (!services::checkModule(Module::Cenik, ModuleAction::Delete, m_ui))
        return;
    if (m_focus == CatalogueGrid::Groups && m_groupsShown) {
        const auto group = currentGroup();
        if (!group)
            return;
        const qint64 neighbour = neighbourId(m_groups, *m_currentGroup);
        if (deleteGroup(m_db, m_ui, group->id)) {
            loadGroups(neighbour);
            loadItemsOfGroup();
        }
        return;
    }
    if (m_items.marks().empty()) {
        const qint64 id = currentItemId();
        if (id <= 0)
            return;
        const auto& ids = m_items.ids();
        const size_t at = static_cast<size_t>(m_currentItem);
        const qint64 neighbour =
            ids.size() < 2 ? -1 : (at + 1 < ids.size() ? ids[at + 1] : ids[at - 1]);
        if (deleteItem(m_db, m_ui, id)) {
            m_items.reload();
            locateItem(neighbour);
        } else {
            m_items.reload();
            locateItem(id);
        }
        return;
    }
    const qint64 current = currentItemId();
    deleteItems(m_db, m_ui, m_items.marks());
    m_items.reload();
    m_items.clearMarks();
    locateItem(current);
}

std::optional<MoveOperation> CatalogueWindowLogic::prepareMove(bool toSheet) {
    if (!services::checkModule(Module::Cenik, ModuleAction::Create, m_ui))
        return std::nullopt;
    const auto kind = checkMarks();
    if (!kind)
        return std::nullopt;
    if (*kind == MarkedKind::Groups) {
        if (!toSheet) {
            m_ui.warning(messages::notWithGroups());
            return std::nullopt;
        }
        return MoveOperation(m_db, m_ui, MoveKind::GroupsToSheet, m_groupMarks, m_activeSheet);
    }
    return MoveOperation(m_db, m_ui, toSheet ? MoveKind::ItemsToSheet : MoveKind::ItemsToGroup,
                         m_items.marks(), m_activeSheet);
}

void CatalogueWindowLogic::afterMove() {
    clearMarks();
    refresh();
}

void CatalogueWindowLogic::togglePurchasePrices() {
    if (core::programState().user.nakupniCeny)
        services::togglePurchasePriceDisplay(m_ui, m_events);
    followPurchasePriceDisplay();
}

void CatalogueWindowLogic::followPurchasePriceDisplay() {
    m_items.setPurchasePricesVisible(core::programState().purchasePricesVisible());
}

std::vector<qint64> CatalogueWindowLogic::pickItems() {
    if (!m_items.marks().empty()) {
        std::vector<qint64> marked = m_items.marksInListOrder();
        m_items.clearMarks();
        return marked;
    }
    const qint64 id = currentItemId();
    if (id <= 0)
        return {};
    const auto chyba = m_db.scalar(QStringLiteral("SELECT Chyba FROM Zasoby WHERE ID = :ID"),
                                   {{QStringLiteral("ID"), id}});
    if (!chyba) {
        m_ui.warning(services::recordGoneMessage());
        return {};
    }
    if (chyba->toBool()) {
        m_ui.warning(messages::itemUnusable());
        return {};
    }
    return {id};
}

core::CatalogueView CatalogueWindowLogic::view() const {
    core::CatalogueView v;
    v.sheetId = m_activeSheet;
    v.groupsShown = m_groupsShown;
    v.groupSort = m_groupSort;
    v.itemSort = m_items.sortField();
    v.itemFilter = m_items.filter();
    return v;
}

} // namespace orvento::catalogue
