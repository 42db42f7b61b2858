#pragma once

#include "notes/NoteRow.h"

#include <QObject>
#include <QString>

#include <optional>
#include <vector>

namespace orvento::core {
class AppContext;
}

namespace orvento::notes {

// The desktop's list of notes: the notes that came with the program (index.rpo in the data
// folder) and the users' own from `Poznamky`, those the logged-in user may see in the open
// agenda; settled notes only while the switch shows them. Reloaded after another agenda was
// opened or another user logged in.
class NoteList : public QObject {
    Q_OBJECT
public:
    explicit NoteList(core::AppContext& context);

    static QString listCaption() { return QStringLiteral("Seznam poznámek"); }
    static QString refreshHint() { return QStringLiteral("Refresh poznámek z databáze"); }
    // The switch's caption: what pressing it does.
    QString settledSwitchCaption() const;
    static QString deleteQuestion(bool userNote);
    static QString builtInNoteMessage();
    static QString deleteFailedMessage(const QString& file);

    // Fills the list and selects the note `select` (the first row when it is not listed).
    void load(std::optional<qint64> select);
    // Fills the list on the note the profile remembers (value 29).
    void loadRemembered();
    // Reloads and keeps the selected note.
    void refresh();
    // Shows or hides the settled notes, and reloads.
    void toggleSettled();
    bool settledShown() const { return m_showSettled; }
    // Stores the selected note as the profile's value 29; false when it could not be written.
    bool rememberCurrent() const;

    int rowCount() const { return static_cast<int>(m_rows.size()); }
    const NoteRow& row(int index) const { return m_rows[static_cast<size_t>(index)]; }
    int currentRow() const { return m_current; }
    void setCurrentRow(int index);
    const NoteRow* current() const;
    std::optional<qint64> currentId() const;
    // The selected note's text; a user note's is read from its row when first asked for.
    QString currentDetail();
    // "Opravit", "Vyjmout" and "Vytisknout" need a row.
    bool commandsEnabled() const { return !m_rows.empty(); }

    // "Vyjmout poznámku": true when the note was deleted.
    bool deleteCurrent();
    // "Vytisknout poznámku": the print window over the selected note.
    void printCurrent();

    core::AppContext& context() const { return m_context; }

Q_SIGNALS:
    // The rows were replaced, and the selection with them.
    void reloaded();
    void currentChanged(int index);

private:
    void addBuiltInNotes(const QString& agenda);
    bool addUserNotes(const QString& agenda);
    bool deleteUserNote(qint64 id);

    core::AppContext& m_context;
    std::vector<NoteRow> m_rows;
    int m_current = -1;
    bool m_showSettled = false;
};

} // namespace orvento::notes
