#include "ui/DocumentLinkDialog.h"

#include "core/ProgramState.h"
#include "core/UserInteraction.h"
#include "services/SharedDocuments.h"
#include "ui/DialogButtons.h"
#include "ui/Help.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace orvento::ui {

DocumentLinkDialog::DocumentLinkDialog(core::UserInteraction& ui, DocumentLinkHost& host,
                                       std::optional<size_t> index, QWidget* parent)
    : QDialog(parent)
    , m_ui(ui)
    , m_host(host)
    , m_index(index && *index < host.documentCount() ? index : std::nullopt)
    , m_popis(new QLineEdit(this))
    , m_soubor(new QLineEdit(this))
    , m_browse(new QToolButton(this))
    , m_copy(new QCheckBox(QStringLiteral("Zkopírovat dokument do sdílené složky"), this)) {
    setObjectName(QStringLiteral("frmOdkaz"));
    setWindowTitle(m_index ? QStringLiteral("Opravit odkaz na dokument")
                           : QStringLiteral("Přidat odkaz na dokument"));
    m_popis->setObjectName(QStringLiteral("edtPopis"));
    m_popis->setMaxLength(50);
    m_soubor->setObjectName(QStringLiteral("edtSoubor"));
    m_soubor->setMaxLength(255);
    m_soubor->setMinimumWidth(380);
    m_browse->setObjectName(QStringLiteral("btnSoubor"));
    m_browse->setText(QStringLiteral("..."));
    m_copy->setObjectName(QStringLiteral("chckKopirovat"));
    connect(m_browse, &QToolButton::clicked, this, &DocumentLinkDialog::browse);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Popis dokumentu"), m_popis);
    auto* linkRow = new QHBoxLayout;
    linkRow->addWidget(m_soubor);
    linkRow->addWidget(m_browse);
    form->addRow(QStringLiteral("Odkaz na soubor"), linkRow);
    if (m_index) {
        m_popis->setText(host.description(*m_index));
        m_soubor->setText(host.link(*m_index));
        m_copy->hide();
        // A file in the shared folder is named, not browsed for.
        if (services::isSharedLink(host.link(*m_index))) {
            m_browse->hide();
            auto* folder = new QLabel(QDir::toNativeSeparators(host.sharedFolder()), this);
            folder->setObjectName(QStringLiteral("lblSdilenaSlozka"));
            folder->setTextInteractionFlags(Qt::TextSelectableByMouse);
            form->addRow(QStringLiteral("Umístění sdílené složky"), folder);
        }
    } else {
        form->addRow(QString(), m_copy);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    QDialogButtonBox* buttons = okCancelButtons(this);
    layout->addWidget(buttons);
    installHelpKey(this, QStringLiteral("pgOdkaz.htm"));
    if (!host.editable()) {
        m_popis->setReadOnly(true);
        m_soubor->setReadOnly(true);
        m_browse->setEnabled(false);
        m_copy->setEnabled(false);
        if (auto* ok = buttons->findChild<QPushButton*>(QStringLiteral("btnOK")))
            ok->hide();
        // Enter closes the view as Esc does.
        if (auto* close = buttons->findChild<QPushButton*>(QStringLiteral("btnStorno")))
            close->setDefault(true);
    }
}

bool DocumentLinkDialog::add(core::UserInteraction& ui, DocumentLinkHost& host, QWidget* parent) {
    if (!host.editable())
        return false;
    DocumentLinkDialog dialog(ui, host, std::nullopt, parent);
    dialog.browse();
    return dialog.exec() == QDialog::Accepted;
}

bool DocumentLinkDialog::edit(core::UserInteraction& ui, DocumentLinkHost& host, size_t index,
                              QWidget* parent) {
    DocumentLinkDialog dialog(ui, host, index, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool DocumentLinkDialog::browse() {
    QString& folder = core::programState().lastDocumentFolder;
    const auto file = m_ui.chooseOpenFile(
        QStringLiteral("Vyberte požadovaný soubor"), folder,
        QStringLiteral("Všechny soubory (*.*);;Dokumenty MS Word (*.doc);;Sešity MS Excel "
                       "(*.xls);;Soubory Acrobat (*.pdf);;Textové soubory (*.txt)"));
    if (!file || file->isEmpty())
        return false;
    const QFileInfo info(*file);
    folder = info.absolutePath();
    m_soubor->setText(QDir::toNativeSeparators(*file));
    m_popis->setText(info.completeBaseName().left(50));
    return true;
}

void DocumentLinkDialog::accept() {
    if (!m_host.editable()) {
        QDialog::reject();
        return;
    }
    const QString link = QDir::fromNativeSeparators(m_soubor->text().trimmed());
    const bool copy = !m_index && m_copy->isChecked();
    if (!m_host.acceptLink(link, copy)) {
        m_soubor->setFocus();
        return;
    }
    m_host.store(m_index, m_popis->text().trimmed(), link, copy);
    QDialog::accept();
}

} // namespace orvento::ui
