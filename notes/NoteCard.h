#pragma once

#include "services/RecordLock.h"

#include <QString>

#include <optional>

namespace orvento::notes {

class NoteList;

// The logic of the note card (`frmKartaPozn`): a new note or the list's selected one, held by
// its record lock while the card is open. The fields are the card's; "OK" writes them.
class NoteCard {
public:
    enum class Outcome { StayOpen, Saved };

    explicit NoteCard(NoteList& list);
    ~NoteCard();
    NoteCard(const NoteCard&) = delete;
    NoteCard& operator=(const NoteCard&) = delete;

    static QString caption() { return QStringLiteral("Karta poznámky"); }
    static QString untitled() { return QStringLiteral("<bez názvu>"); }

    // "Přidat poznámku": false after the no-rights message.
    bool startNew();
    // "Opravit poznámku": false when the card does not open (a note that came with the program,
    // no rights, the note deleted meanwhile, its lock file not to be made). Held by another
    // workstation or at read-only rights it opens with "OK" disabled.
    bool startEdit();

    bool isNew() const { return !m_id; }
    bool okEnabled() const { return m_okEnabled; }

    QString nazev;
    QString detail; // RTF
    bool zobrazOst = true;
    bool viditelna = true;
    bool vyrizeno = false;

    // The title field gets the focus: a new note's "<bez názvu>" goes the first time.
    void titleEntered();
    // "OK": writes the note; a failure is told and the card stays open with what was typed. The
    // list shows the note as stored once the write went through.
    Outcome confirm();
    // Lets the note go, however the card closes.
    void close() { m_lock.release(); }

private:
    std::optional<qint64> write();

    NoteList& m_list;
    std::optional<qint64> m_id;
    int m_author = 0;
    bool m_okEnabled = true;
    bool m_titleEntered = false;
    services::RecordLock m_lock;
};

} // namespace orvento::notes
