#include "ui/output/SendMailDialog.h"

#include "core/AppContext.h"
#include "services/PurchasePriceDisplay.h"
#include "ui/output/MailSettingsDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace orvento::ui {

SendMailDialog::SendMailDialog(core::AppContext& context, output::MailForm& form, QWidget* parent)
    : QDialog(parent)
    , m_context(context)
    , m_form(form) {
    setObjectName(QStringLiteral("frmPoslatMail"));
    setWindowTitle(QStringLiteral("Odeslat e-mail"));
    // The PDF is listed first; the offer's documents follow it when they are to go too.
    if (m_form.attachments.size() > 1)
        m_documents = m_form.attachments.mid(1);

    auto* fields = new QFormLayout;
    m_address = new QLineEdit(m_form.address, this);
    m_address->setObjectName(QStringLiteral("edtEmailAdresa"));
    fields->addRow(QStringLiteral("E-mailová adresa"), m_address);
    m_attach = new QCheckBox(QStringLiteral("připojit i dokumenty z nabídky"), this);
    m_attach->setObjectName(QStringLiteral("chckPripojDoc"));
    m_attach->setChecked(m_form.attachDocuments);
    fields->addRow(QString(), m_attach);
    if (m_form.composes) {
        m_subject = new QLineEdit(m_form.subject, this);
        m_subject->setObjectName(QStringLiteral("edtPredmet"));
        fields->addRow(QStringLiteral("Předmět"), m_subject);
        m_body = new QPlainTextEdit(m_form.body, this);
        m_body->setObjectName(QStringLiteral("memText"));
        fields->addRow(QStringLiteral("Text"), m_body);
        m_files = new QListWidget(this);
        m_files->setObjectName(QStringLiteral("lstPrilohy"));
        fields->addRow(QStringLiteral("Přílohy"), m_files);
        connect(m_attach, &QCheckBox::toggled, this, &SendMailDialog::showAttachments);
        showAttachments();
    }

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setDefault(true);
    QPushButton* cancel =
        buttons->addButton(QStringLiteral("Storno"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("btnStorno"));
    cancel->setAutoDefault(false);
    QPushButton* settings =
        buttons->addButton(QStringLiteral("Nastavení e-mailu..."), QDialogButtonBox::ResetRole);
    settings->setObjectName(QStringLiteral("btnNastaveni"));
    settings->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &SendMailDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SendMailDialog::reject);
    connect(settings, &QPushButton::clicked, this,
            [this] { MailSettingsDialog::open(m_context, this); });

    auto* pricesKey = new QShortcut(QKeySequence(QStringLiteral("Ctrl+Q")), this);
    connect(pricesKey, &QShortcut::activated, this,
            [this] { services::togglePurchasePriceDisplay(m_context); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(buttons);
    m_address->setFocus();
}

void SendMailDialog::showAttachments() {
    m_files->clear();
    QStringList shown{m_form.attachments.value(0)};
    if (m_attach->isChecked())
        shown += m_documents;
    for (const QString& file : shown)
        m_files->addItem(QDir::toNativeSeparators(file));
}

void SendMailDialog::take() {
    m_form.address = m_address->text();
    m_form.attachDocuments = m_attach->isChecked();
    if (m_subject)
        m_form.subject = m_subject->text();
    if (m_body)
        m_form.body = m_body->toPlainText();
}

void SendMailDialog::accept() {
    take();
    if (!output::acceptMailForm(m_form, m_context.ui())) {
        m_address->setFocus();
        return;
    }
    QDialog::accept();
}

bool SendMailDialog::edit(core::AppContext& context, output::MailForm& form, QWidget* parent) {
    SendMailDialog dialog(context, form, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace orvento::ui
