#include "ui/addressbook/DocumentLinkDialog.h"

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
#include <QToolButton>
#include <QVBoxLayout>

namespace orvento::ui {

DocumentLinkDialog::DocumentLinkDialog(core::UserInteraction& ui, addressbook::FirmCard& card,
                                       std::optional<size_t> index, QWidget* parent)
    : QDialog(parent)
    , m_ui(ui)
    , m_card(card)
    , m_index(index && *index < card.documents().size() ? index : std::nullopt)
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
        const addressbook::FirmDocument& document = card.documents()[*m_index];
        m_popis->setText(document.Popis);
        m_soubor->setText(document.File);
        m_copy->hide();
        // A file in the shared folder is named, not browsed for.
        if (services::isSharedLink(document.File)) {
            m_browse->hide();
            auto* folder = new QLabel(QDir::toNativeSeparators(card.sharedFolder()), this);
            folder->setObjectName(QStringLiteral("lblSdilenaSlozka"));
            folder->setTextInteractionFlags(Qt::TextSelectableByMouse);
            form->addRow(QStringLiteral("Umístění sdílené složky"), folder);
        }
    } else {
        form->addRow(QString(), m_copy);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(okCancelButtons(this));
    installHelpKey(this, QStringLiteral("pgOdkaz.htm"));
}

bool DocumentLinkDialog::add(core::UserInteraction& ui, addressbook::FirmCard& card,
                             QWidget* parent) {
    DocumentLinkDialog dialog(ui, card, std::nullopt, parent);
    dialog.browse();
    return dialog.exec() == QDialog::Accepted;
}

bool DocumentLinkDialog::edit(core::UserInteraction& ui, addressbook::FirmCard& card, size_t index,
                              QWidget* parent) {
    DocumentLinkDialog dialog(ui, card, index, parent);
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
    const QString link = QDir::fromNativeSeparators(m_soubor->text().trimmed());
    const bool copy = !m_index && m_copy->isChecked();
    if (!m_card.acceptLink(link, copy)) {
        m_soubor->setFocus();
        return;
    }
    addressbook::FirmDocument document =
        m_index ? m_card.documents()[*m_index] : addressbook::FirmDocument{};
    document.Popis = m_popis->text().trimmed();
    document.File = link;
    if (!m_index)
        document.CopyFile = copy;
    m_card.storeDocument(m_index, document);
    QDialog::accept();
}

} // namespace orvento::ui
