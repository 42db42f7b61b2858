#pragma once

#include "offers/OfferTemplateCard.h"

#include <QDialog>

#include <functional>
#include <optional>

class QLineEdit;
class QPushButton;
class QTextEdit;

namespace orvento::ui {

// frmSablonyDetail, "Detail šablony": the abbreviation, the name and the title of one template
// with read-only previews of its two texts, each edited in the text editor.
class OfferTemplateDetailDialog : public QDialog {
    Q_OBJECT
public:
    // The text editor a text button opens: the edited text, or nothing when it was cancelled.
    // The program's editor window when none is given.
    using TextEditor = std::function<std::optional<QString>(const QString& stored)>;

    OfferTemplateDetailDialog(offers::OfferTemplateCard& card, QWidget* parent = nullptr,
                              TextEditor textEditor = {});

    QLineEdit* codeField() const { return m_code; }
    QLineEdit* nameField() const { return m_name; }
    QLineEdit* titleField() const { return m_title; }
    QTextEdit* beforePreview() const { return m_before; }
    QTextEdit* afterPreview() const { return m_after; }
    QPushButton* okButton() const { return m_ok; }

    void editText(QString offers::OfferTemplate::*text);
    void accept() override;

private:
    void showTexts();

    offers::OfferTemplateCard& m_card;
    TextEditor m_textEditor;
    QLineEdit* m_code;
    QLineEdit* m_name;
    QLineEdit* m_title;
    QTextEdit* m_before;
    QTextEdit* m_after;
    QPushButton* m_ok = nullptr;
};

} // namespace orvento::ui
