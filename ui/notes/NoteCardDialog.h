#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace orvento::notes {
class NoteCard;
}

namespace orvento::ui {

class RichTextEditor;

// frmKartaPozn ("Karta poznámky"): the note's title, its rich text and the three switches.
class NoteCardDialog : public QDialog {
    Q_OBJECT
public:
    NoteCardDialog(notes::NoteCard& card, QWidget* parent = nullptr);

    QLineEdit* titleField() const { return m_title; }
    RichTextEditor* textEditor() const { return m_text; }
    QCheckBox* sharedSwitch() const { return m_shared; }
    QCheckBox* allFirmsSwitch() const { return m_allFirms; }
    QCheckBox* settledSwitch() const { return m_settled; }
    QPushButton* okButton() const { return m_ok; }

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showSettled();

    notes::NoteCard& m_card;
    QLineEdit* m_title;
    RichTextEditor* m_text;
    QCheckBox* m_shared;
    QCheckBox* m_allFirms;
    QCheckBox* m_settled;
    QPushButton* m_ok = nullptr;
};

} // namespace orvento::ui
