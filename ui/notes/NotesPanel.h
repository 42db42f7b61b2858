#pragma once

#include <QWidget>

class QListView;
class QPushButton;
class QTextEdit;

namespace orvento::notes {
class NoteCard;
class NoteList;
class NoteListModel;
} // namespace orvento::notes

namespace orvento::ui {

// The main window's desktop: "Seznam poznámek", the selected note's text beside it and the
// note commands.
class NotesPanel : public QWidget {
    Q_OBJECT
public:
    NotesPanel(notes::NoteList& notes, QWidget* parent = nullptr);

    QListView* listView() const { return m_view; }
    QTextEdit* textView() const { return m_text; }
    QPushButton* button(const QString& objectName) const;

    // The commands of the buttons.
    void addNote();
    void editNote();
    void deleteNote();
    void printNote();

private:
    QWidget* buildButtons();
    void showRows();
    void showCurrent(int row);
    void runCard(bool (notes::NoteCard::*start)());

    notes::NoteList& m_notes;
    notes::NoteListModel* m_model;
    QListView* m_view;
    QTextEdit* m_text;
    QPushButton* m_edit = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_print = nullptr;
    QPushButton* m_settled = nullptr;
    bool m_busy = false;
};

} // namespace orvento::ui
