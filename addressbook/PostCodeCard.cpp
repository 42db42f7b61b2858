#include "addressbook/PostCodeCard.h"

#include "addressbook/PostCodeList.h"
#include "core/Database.h"
#include "core/UserInteraction.h"
#include "services/RecordRefresh.h"

namespace orvento::addressbook {

namespace {
const QString kMista = QStringLiteral("Mista");
}

PostCodeCard::PostCodeCard(core::Database& global, core::UserInteraction& ui, PostCodeList& list)
    : m_db(global)
    , m_ui(ui)
    , m_list(list) {}

void PostCodeCard::startNew() {
    m_lock.release();
    m_id.reset();
    psc.clear();
    misto.clear();
    m_okEnabled = true;
}

bool PostCodeCard::startEdit() {
    startNew();
    const PostCodeRow* row = m_list.currentRow();
    if (!row)
        return false;
    const qint64 id = row->id;
    if (!m_list.refreshAndLocate(id)) {
        m_ui.warning(services::recordGoneMessage());
        return false;
    }
    m_id = id;
    const services::RecordLock::State state =
        services::RecordLock::take(kMista, id, m_ui, m_lock, services::LockScope::Global);
    if (state == services::RecordLock::State::Failed)
        return false;
    m_okEnabled = state == services::RecordLock::State::Held;
    psc = m_list.currentRow()->psc;
    misto = m_list.currentRow()->misto;
    return true;
}

PostCodeCard::Outcome PostCodeCard::confirm() {
    if (!m_okEnabled)
        return Outcome::StayOpen;
    psc = normalisedPostCode(psc);
    if (psc.isEmpty() || misto.trimmed().isEmpty()) {
        m_ui.information(QStringLiteral("Musíte vyplnit PSČ a Místo."));
        return Outcome::StayOpen;
    }
    if (!m_lock.stillHeldForSave(m_ui)) {
        m_okEnabled = false;
        return Outcome::StayOpen;
    }
    const core::SqlParams values = {{QStringLiteral("PSC"), psc.left(kPscWidth)},
                                    {QStringLiteral("Misto"), misto.left(kMistoWidth)}};
    bool ok = false;
    if (m_id) {
        // An update that would change no row (the row went meanwhile) counts as failed.
        ok = m_db.scalar(QStringLiteral("SELECT ID FROM Mista WHERE ID = :ID"),
                         {{QStringLiteral("ID"), *m_id}})
                 .has_value();
        core::SqlParams params = values;
        params.emplace_back(QStringLiteral("ID"), *m_id);
        ok = ok && m_db.execute(
                       QStringLiteral("UPDATE Mista SET PSC = :PSC, Misto = :Misto WHERE ID = :ID"),
                       params);
    } else {
        ok = m_db.execute(QStringLiteral("INSERT INTO Mista (PSC, Misto) VALUES (:PSC, :Misto)"),
                          values);
    }
    if (!ok) {
        m_ui.error(core::saveFailedMessage());
        close();
        return Outcome::Failed;
    }
    const qint64 id = m_id ? *m_id : m_db.newRowId();
    if (!m_list.refreshAndLocate(id) && !m_id)
        m_ui.error(core::newRowNotFoundMessage());
    close();
    return Outcome::Saved;
}

} // namespace orvento::addressbook
