#include "notes/NoteList.h"

#include "core/AppContext.h"
#include "core/Database.h"
#include "core/Navigator.h"
#include "core/ProgramState.h"
#include "core/UserInteraction.h"
#include "notes/BuiltInNotes.h"
#include "services/AccessRights.h"
#include "services/ProfileStore.h"
#include "services/ProfileValues.h"
#include "services/RecordLock.h"

#include <QSqlQuery>

#include <algorithm>

namespace orvento::notes {

namespace {

const QString kTable = QStringLiteral("Poznamky");

} // namespace

NoteList::NoteList(core::AppContext& context)
    : m_context(context) {
    connect(&m_context.events(), &core::ProgramEvents::agendaOpened, this,
            &NoteList::loadRemembered);
    connect(&m_context.events(), &core::ProgramEvents::userChanged, this, &NoteList::refresh);
}

QString NoteList::settledSwitchCaption() const {
    return m_showSettled ? QStringLiteral("Skrýt vyřízené") : QStringLiteral("Zobrazit i vyřízené");
}

QString NoteList::deleteQuestion(bool userNote) {
    QString text =
        QStringLiteral("Vyjmutí poznámky je nevratná operace, opravdu chcete pokračovat?");
    if (userNote)
        text += QStringLiteral(
            "\n\nTip: chcete-li pouze vypnout zobrazování této poznámky, klepněte na NE a zvolte "
            "[Opravit poznámku]. Na kartě následně aktivujte přepínač \"Vyřízeno\" a záznam "
            "uložte. Vyřízené poznámky můžete zobrazit kdykoliv později tlačítkem [Filtr].");
    return text;
}

QString NoteList::builtInNoteMessage() {
    return QStringLiteral(
        "Tato poznámka obsahuje texty vztažené přímo k programu a nelze ji proto editovat. Tip: "
        "tlačítkem \"Přidat poznámku\" si můžete vytvořit svoji vlastní poznámku, kterou můžete "
        "libovolně upravovat.");
}

QString NoteList::deleteFailedMessage(const QString& file) {
    return QStringLiteral("Soubor poznámky %1 se nepodařilo smazat. Zkontrolujte, zda máte do "
                          "datové složky právo zápisu.")
        .arg(file);
}

void NoteList::load(std::optional<qint64> select) {
    const int previous = m_current;
    m_rows.clear();
    m_current = -1;
    const core::ProgramState& state = core::programState();
    if (services::moduleLevel(state.user, services::Module::Poznamky) !=
        core::AccessLevel::Denied) {
        const QString agenda = state.agenda.toUpper();
        addBuiltInNotes(agenda);
        if (!addUserNotes(agenda))
            m_context.ui().error(core::readFailedMessage());
    }
    if (!m_rows.empty()) {
        const auto found = select ? std::find_if(m_rows.begin(), m_rows.end(),
                                                 [&](const NoteRow& r) { return r.ID == *select; })
                                  : m_rows.end();
        if (found != m_rows.end())
            m_current = static_cast<int>(found - m_rows.begin());
        else
            m_current = std::clamp(previous, 0, rowCount() - 1);
    }
    Q_EMIT reloaded();
    Q_EMIT currentChanged(m_current);
}

void NoteList::addBuiltInNotes(const QString& agenda) {
    const QString folder = core::programState().folders.data;
    if (folder.isEmpty())
        return;
    for (BuiltInNote& note : readBuiltInNotes(folder)) {
        if (!note.agenda.isEmpty() && note.agenda.toUpper() != agenda)
            continue;
        NoteRow row;
        row.ID = builtInNoteId(note.number);
        row.Nazev = note.title;
        row.Detail = std::move(note.text);
        row.RPOSoubor = note.file;
        row.detailRead = true;
        m_rows.push_back(std::move(row));
    }
}

bool NoteList::addUserNotes(const QString& agenda) {
    core::Database& global = m_context.db().global;
    if (!global.isOpen())
        return true;
    // The texts stay in the table until a note is shown: the list needs only the titles.
    QSqlQuery q = global.select(QStringLiteral(
        "SELECT ID, Nazev, Firma, ZobrazOst, VytvorID, Vyrizeno FROM Poznamky ORDER BY ID"));
    if (!q.isActive())
        return false;
    const int user = core::programState().user.uzivId;
    while (q.next()) {
        NoteRow row;
        row.ID = q.value(0).toLongLong();
        row.Nazev = q.value(1).toString();
        const QString firma = q.value(2).toString().trimmed();
        row.ZobrazOst = q.value(3).toInt() != 0;
        row.VytvorID = q.value(4).toInt();
        row.Vyrizeno = q.value(5).toInt() != 0;
        if (!row.ZobrazOst && row.VytvorID != user)
            continue;
        if (!firma.isEmpty() && firma.toUpper() != agenda)
            continue;
        if (row.Vyrizeno && !m_showSettled)
            continue;
        row.Viditelna = firma.isEmpty();
        m_rows.push_back(std::move(row));
    }
    return true;
}

void NoteList::loadRemembered() {
    qint64 remembered = kDefaultNoteId;
    if (m_context.db().agenda.isOpen())
        remembered = services::profile::loadInt(services::profile::value::CurrentNote,
                                                static_cast<int>(kDefaultNoteId));
    m_current = -1;
    load(remembered);
}

void NoteList::refresh() {
    load(currentId());
}

void NoteList::toggleSettled() {
    m_showSettled = !m_showSettled;
    refresh();
}

bool NoteList::rememberCurrent() const {
    const auto id = currentId();
    if (!id || !m_context.db().agenda.isOpen())
        return true;
    return services::profile::saveInt(services::profile::value::CurrentNote, static_cast<int>(*id));
}

void NoteList::setCurrentRow(int index) {
    const int chosen = index >= 0 && index < rowCount() ? index : -1;
    if (chosen == m_current)
        return;
    m_current = chosen;
    Q_EMIT currentChanged(m_current);
}

const NoteRow* NoteList::current() const {
    return m_current >= 0 ? &m_rows[static_cast<size_t>(m_current)] : nullptr;
}

std::optional<qint64> NoteList::currentId() const {
    if (const NoteRow* row = current())
        return row->ID;
    return std::nullopt;
}

QString NoteList::currentDetail() {
    if (m_current < 0)
        return {};
    NoteRow& row = m_rows[static_cast<size_t>(m_current)];
    if (!row.detailRead) {
        const auto detail = m_context.db().global.scalar(
            QStringLiteral("SELECT Detail FROM Poznamky WHERE ID = :ID"),
            {{QStringLiteral("ID"), row.ID}});
        // A note deleted elsewhere meanwhile shows no text until the next refresh.
        row.Detail = detail ? detail->toString() : QString();
        row.detailRead = true;
    }
    return row.Detail;
}

bool NoteList::deleteUserNote(qint64 id) {
    core::Database& global = m_context.db().global;
    core::Transaction unit(global);
    return unit.isActive() &&
           global.execute(QStringLiteral("DELETE FROM Poznamky WHERE ID = :ID"),
                          {{QStringLiteral("ID"), id}}) &&
           unit.commit();
}

bool NoteList::deleteCurrent() {
    const NoteRow* row = current();
    if (!row)
        return false;
    core::UserInteraction& ui = m_context.ui();
    if (!services::checkModule(services::Module::Poznamky, services::ModuleAction::Delete, ui))
        return false;
    const qint64 id = row->ID;
    if (!services::mayDeleteRecord(kTable, id, ui, services::LockScope::Global))
        return false;
    if (!ui.question(deleteQuestion(!row->builtIn())))
        return false;
    if (row->builtIn()) {
        if (!removeBuiltInNote(core::programState().folders.data, row->RPOSoubor)) {
            ui.error(deleteFailedMessage(row->RPOSoubor));
            return false;
        }
    } else if (!deleteUserNote(id)) {
        ui.error(core::saveFailedMessage(kTable));
        return false;
    }
    // The following note becomes the selected one, or the previous when the last one went.
    m_rows.erase(m_rows.begin() + m_current);
    m_current = std::min(m_current, rowCount() - 1);
    Q_EMIT reloaded();
    Q_EMIT currentChanged(m_current);
    return true;
}

void NoteList::printCurrent() {
    const NoteRow* row = current();
    if (!row)
        return;
    const qint64 id = row->ID;
    const QString nazev = row->Nazev;
    const QString detail = currentDetail();
    m_context.navigator().printNote(id, nazev, detail);
}

} // namespace orvento::notes
