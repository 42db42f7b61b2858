#include "addressbook/AddressBookLogic.h"

#include "catalogue/LockedRecords.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/ProgressScope.h"
#include "core/SlicedWrite.h"
#include "core/UserInteraction.h"
#include "services/AccessRights.h"
#include "services/ChangeStamps.h"
#include "services/ProfileSession.h"
#include "services/ProfileStore.h"
#include "services/ProfileValues.h"
#include "services/RecordLock.h"
#include "services/RecordRefresh.h"

namespace orvento::addressbook {

namespace {

const QString kFirms = QStringLiteral("Adresar");
// The most firms one slice deletes; the lock budget of core/SlicedWrite may end a slice sooner.
constexpr std::size_t kDeletionSliceFirms = 200;

using services::GridId;
using services::Module;
using services::ModuleAction;

bool firmExists(core::Database& db, qint64 id) {
    return db
        .scalar(QStringLiteral("SELECT ID FROM Adresar WHERE ID = :ID"),
                {{QStringLiteral("ID"), id}})
        .has_value();
}

} // namespace

AddressBookLogic::AddressBookLogic(core::Database& agenda, core::UserInteraction& ui,
                                   services::ProfileSession& session, AddressBookMode mode)
    : m_db(agenda)
    , m_ui(ui)
    , m_session(session)
    , m_mode(mode)
    , m_firms(agenda) {}

bool AddressBookLogic::mayOpen(core::UserInteraction& ui) {
    return services::checkModule(Module::Adresar, ModuleAction::Open, ui);
}

bool AddressBookLogic::open(std::optional<qint64> startOn) {
    core::ProgressScope wait(m_ui, QStringLiteral("Načítám seznam Adresáře\nprosím čekejte..."), 0,
                             false);
    services::rememberCurrentStamp(core::StampedTable::Adresar);
    const bool ok = m_firms.load(m_session.sortField(GridId::AddressBook));
    m_firms.clearMarks();
    locate(startOn.value_or(services::profile::loadInt(services::profile::value::CurrentFirm, 1)));
    return ok;
}

void AddressBookLogic::close() {
    const qint64 id = currentFirmId();
    if (id > 0)
        services::profile::saveInt(services::profile::value::CurrentFirm, static_cast<int>(id));
    m_session.setSortField(GridId::AddressBook, m_firms.sortField());
}

void AddressBookLogic::setCurrentRow(int row) {
    if (row >= 0 && row < m_firms.rowCount())
        m_current = row;
}

void AddressBookLogic::locate(qint64 id) {
    if (const auto row = m_firms.rowOfId(id))
        m_current = *row;
    else
        m_current = m_firms.rowCount() > 0 ? 0 : -1;
}

AddressBookButtons AddressBookLogic::buttons() const {
    AddressBookButtons b;
    const bool rows = m_firms.rowCount() > 0;
    b.edit = rows;
    b.copy = rows;
    b.remove = rows;
    b.other = rows;
    b.okVisible = m_mode == AddressBookMode::Pick;
    b.ok = rows && b.okVisible;
    return b;
}

void AddressBookLogic::sortBy(const QString& field) {
    if (!FirmListModel::isSortable(field))
        return;
    const qint64 id = currentFirmId();
    m_firms.sortBy(field);
    locate(id);
}

std::optional<int> AddressBookLogic::quickFind(const QString& text) {
    const auto row = m_firms.quickFind(text);
    if (row)
        m_current = *row;
    return row;
}

void AddressBookLogic::toggleMark() {
    if (m_current >= 0)
        m_firms.setMarked(m_current, !m_firms.isMarked(currentFirmId()));
}

void AddressBookLogic::refresh() {
    const qint64 id = currentFirmId();
    m_firms.clearMarks();
    services::rememberCurrentStamp(core::StampedTable::Adresar);
    m_firms.reload();
    locate(id);
}

bool AddressBookLogic::mayCreate() {
    return services::checkModule(Module::Adresar, ModuleAction::Create, m_ui);
}

std::optional<QString> AddressBookLogic::icoToAdd() {
    if (!mayCreate())
        return std::nullopt;
    const std::optional<QString> typed =
        m_ui.inputText(QStringLiteral("Přidat adresu z registru ARES"),
                       QStringLiteral("Zadejte IČ, které chcete vyhledat"));
    if (!typed || typed->trimmed().isEmpty())
        return std::nullopt;
    return typed->trimmed();
}

std::optional<qint64> AddressBookLogic::firmToOpen() {
    const qint64 id = currentFirmId();
    if (id <= 0)
        return std::nullopt;
    if (services::changedSinceLastSeen(core::StampedTable::Adresar)) {
        m_firms.reload();
        const auto row = m_firms.rowOfId(id);
        if (!row) {
            // The neighbour takes the vanished firm's place.
            m_current = std::min(m_current, m_firms.rowCount() - 1);
            m_ui.warning(services::recordGoneMessage());
            return std::nullopt;
        }
        m_current = *row;
    }
    return id;
}

void AddressBookLogic::afterSaved(qint64 firmId) {
    services::rememberCurrentStamp(core::StampedTable::Adresar);
    m_firms.reload();
    locate(firmId);
}

void AddressBookLogic::removeFirms() {
    if (!services::checkModule(Module::Adresar, ModuleAction::Delete, m_ui))
        return;
    if (m_firms.marks().empty()) {
        const qint64 id = currentFirmId();
        if (id <= 0)
            return;
        if (!m_ui.question(QStringLiteral("Opravdu chcete vyjmout adresu?")))
            return;
        m_firms.reload();
        const auto row = m_firms.rowOfId(id);
        if (!row || !firmExists(m_db, id)) {
            m_current = std::min(m_current, m_firms.rowCount() - 1);
            m_ui.warning(services::recordGoneMessage());
            return;
        }
        const auto& ids = m_firms.ids();
        const size_t at = static_cast<size_t>(*row);
        const qint64 neighbour =
            ids.size() < 2 ? -1 : (at + 1 < ids.size() ? ids[at + 1] : ids[at - 1]);
        const bool deleted = deleteFirms(m_db, m_ui, {id});
        services::rememberCurrentStamp(core::StampedTable::Adresar);
        m_firms.reload();
        locate(deleted ? neighbour : id);
        return;
    }
    if (!m_ui.question(QStringLiteral(
            "Varování: chystáte se smazat několik záznamů najednou!\n\nVyjmutí adresy je "
            "nevratná operace - opravdu chcete pokračovat a nenávratně smazat označené adresy?")))
        return;
    const qint64 current = currentFirmId();
    {
        const std::vector<qint64> marks = m_firms.marks();
        core::ProgressScope wait(m_ui, QStringLiteral("Mazání adres\nprosím čekejte..."),
                                 static_cast<int>(marks.size()), false);
        if (deleteFirms(m_db, m_ui, marks, &wait))
            m_firms.clearMarks();
    }
    services::rememberCurrentStamp(core::StampedTable::Adresar);
    m_firms.reload();
    locate(current);
}

std::optional<qint64> AddressBookLogic::pickFirm() const {
    if (m_mode != AddressBookMode::Pick || currentFirmId() <= 0)
        return std::nullopt;
    return currentFirmId();
}

bool deleteFirms(core::Database& db, core::UserInteraction& ui, const std::vector<qint64>& ids,
                 core::ProgressScope* wait) {
    const auto endWait = [wait] {
        if (wait)
            wait->end();
    };
    // Every lock is tested before the first delete: a firm open elsewhere keeps all of them.
    for (const qint64 id : ids) {
        if (services::recordHeldElsewhere(kFirms, id)) {
            endWait();
            ui.warning(services::recordInUseDeleteMessage());
            return false;
        }
    }
    // A firm goes whole with its documents and contacts inside one slice, so a failed slice
    // leaves no contact without its firm; the slices before it stay deleted. Nothing is asked or
    // kept alive while a slice holds the write lock: the wait window repaints between slices.
    QString table;
    const core::SlicedWriteResult result = core::writeInSlices(
        db, ids, kDeletionSliceFirms,
        [&](qint64 id) {
            const core::SqlParams key = {{QStringLiteral("ID"), id}};
            table = kFirms;
            if (!db.execute(QStringLiteral("DELETE FROM Adresar WHERE ID = :ID"), key))
                return false;
            table = QStringLiteral("Dokumenty");
            if (!db.execute(QStringLiteral("DELETE FROM Dokumenty WHERE CisloAdr = :ID"), key))
                return false;
            table = QStringLiteral("Kontakty");
            if (!db.execute(QStringLiteral("DELETE FROM Kontakty WHERE CisloAdr = :ID"), key))
                return false;
            table = kFirms; // a failed commit
            return true;
        },
        wait ? core::progressOf(*wait) : std::function<bool(std::size_t, std::size_t)>{});
    // Reported once the slice has been rolled back, not while it holds the write lock.
    if (result.failed) {
        endWait();
        ui.error(core::saveFailedMessage(table.isEmpty() ? kFirms : table));
        return false;
    }
    return true;
}

} // namespace orvento::addressbook

namespace orvento::addressbook {

std::vector<qint64> AddressBookLogic::collectAddressList() const {
    if (m_firms.marks().empty())
        return m_firms.ids();
    std::vector<qint64> out;
    for (const qint64 id : m_firms.ids())
        if (m_firms.isMarked(id))
            out.push_back(id);
    return out;
}

} // namespace orvento::addressbook
