#pragma once

#include "output/MailOffer.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;

namespace orvento::core {
class AppContext;
}

namespace orvento::ui {

// frmPoslatMail, "Odeslat e-mail": the recipient and whether the offer's documents go too; for
// a message this program sends itself also the subject, the text and the files.
class SendMailDialog : public QDialog {
    Q_OBJECT
public:
    SendMailDialog(core::AppContext& context, output::MailForm& form, QWidget* parent = nullptr);
    void accept() override;

    // Shows the window modally; false for "Storno".
    static bool edit(core::AppContext& context, output::MailForm& form, QWidget* parent);

private:
    void take();
    void showAttachments();

    core::AppContext& m_context;
    output::MailForm& m_form;
    QStringList m_documents;
    QLineEdit* m_address = nullptr;
    QCheckBox* m_attach = nullptr;
    QLineEdit* m_subject = nullptr;
    QPlainTextEdit* m_body = nullptr;
    QListWidget* m_files = nullptr;
};

} // namespace orvento::ui
