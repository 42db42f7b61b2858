#include "notes/NoteCard.h"

#include "core/AppContext.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/UserInteraction.h"
#include "notes/NoteList.h"
#include "notes/NoteRecord.h"
#include "services/AccessRights.h"
#include "services/RecordRefresh.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace orvento::notes {

namespace {
const QString kTable = QStringLiteral("Poznamky");
}

NoteCard::NoteCard(NoteList& list)
    : m_list(list) {}

NoteCard::~NoteCard() = default;

bool NoteCard::startNew() {
    close();
    m_id.reset();
    if (!services::checkModule(services::Module::Poznamky, services::ModuleAction::Create,
                               m_list.context().ui()))
        return false;
    nazev = untitled();
    detail.clear();
    zobrazOst = true;
    viditelna = true;
    vyrizeno = false;
    m_author = core::programState().user.uzivId;
    m_okEnabled = true;
    m_titleEntered = false;
    return true;
}

bool NoteCard::startEdit() {
    close();
    m_id.reset();
    const NoteRow* row = m_list.current();
    if (!row)
        return false;
    core::UserInteraction& ui = m_list.context().ui();
    if (row->builtIn()) {
        ui.information(NoteList::builtInNoteMessage());
        return false;
    }
    const services::RecordAccess access = services::openRecord(services::Module::Poznamky, ui);
    if (access == services::RecordAccess::Denied)
        return false;
    const qint64 id = row->ID;
    // What another workstation saved meanwhile is what the card shows; a note deleted there is
    // told and leaves the list.
    core::Database& global = m_list.context().db().global;
    QSqlQuery q = global.select(QStringLiteral("SELECT * FROM Poznamky WHERE ID = :ID"),
                                {{QStringLiteral("ID"), id}});
    if (!q.next()) {
        q.finish();
        ui.warning(services::recordGoneMessage());
        m_list.refresh();
        return false;
    }
    const NoteRecord stored = noteMapping().read(q.record());
    q.finish();
    m_okEnabled = access == services::RecordAccess::Editable;
    if (m_okEnabled) {
        const services::RecordLock::State state =
            services::RecordLock::take(kTable, id, ui, m_lock, services::LockScope::Global);
        if (state == services::RecordLock::State::Failed)
            return false;
        m_okEnabled = state == services::RecordLock::State::Held;
    }
    m_id = id;
    nazev = stored.Nazev;
    detail = stored.Detail;
    zobrazOst = stored.ZobrazOst;
    viditelna = stored.Firma.trimmed().isEmpty();
    vyrizeno = stored.Vyrizeno;
    m_author = stored.VytvorID;
    m_titleEntered = true;
    return true;
}

void NoteCard::titleEntered() {
    if (m_titleEntered)
        return;
    m_titleEntered = true;
    if (isNew() && nazev == untitled())
        nazev.clear();
}

std::optional<qint64> NoteCard::write() {
    NoteRecord record;
    record.Nazev = nazev.left(kTitleWidth);
    record.Detail = detail;
    record.Firma = viditelna ? QString() : core::programState().agenda.toUpper();
    record.ZobrazOst = zobrazOst;
    record.VytvorID = m_author;
    record.Vyrizeno = vyrizeno;
    core::Database& global = m_list.context().db().global;
    core::Transaction unit(global);
    if (!unit.isActive())
        return std::nullopt;
    qint64 id = 0;
    if (m_id) {
        // Fails as well when the note went meanwhile: the update then changes no row.
        if (!noteMapping().update(global, record, *m_id))
            return std::nullopt;
        id = *m_id;
    } else {
        if (!noteMapping().insert(global, record))
            return std::nullopt;
        id = global.newRowId();
    }
    if (!unit.commit())
        return std::nullopt;
    return id;
}

NoteCard::Outcome NoteCard::confirm() {
    if (!m_okEnabled)
        return Outcome::StayOpen;
    if (!m_lock.stillHeldForSave(m_list.context().ui())) {
        m_okEnabled = false;
        return Outcome::StayOpen;
    }
    const auto id = write();
    if (!id) {
        m_list.context().ui().error(core::saveFailedMessage());
        return Outcome::StayOpen;
    }
    m_id = id;
    nazev = nazev.left(kTitleWidth);
    close();
    // A note saved as settled leaves the list while settled notes are hidden.
    m_list.load(*id);
    return Outcome::Saved;
}

} // namespace orvento::notes
