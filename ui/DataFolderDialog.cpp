#include "ui/DataFolderDialog.h"

#include "core/DataFolderDialogLogic.h"
#include "core/UserInteraction.h"
#include "ui/Help.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace orvento::ui {

DataFolderDialog::DataFolderDialog(const QString& proposedLocal, core::UserInteraction& ui,
                                   QWidget* parent)
    : QDialog(parent)
    , m_ui(ui)
    , m_local(new QRadioButton(QStringLiteral("lokální umístění"), this))
    , m_network(new QRadioButton(QStringLiteral("síťové umístění *"), this))
    , m_localFolder(new QLineEdit(QDir::toNativeSeparators(proposedLocal), this))
    , m_networkFolder(new QLineEdit(this))
    , m_browse(new QPushButton(QStringLiteral("..."), this)) {
    setObjectName(QStringLiteral("frmVyberLocNet"));
    setWindowTitle(QStringLiteral("Umístění datové složky"));
    auto* explanation = new QLabel(core::dataFolderExplanation(), this);
    explanation->setWordWrap(true);
    auto* note = new QLabel(
        QStringLiteral("* Sdílená složka musí mít nastavena práva pro čtení i zápis. Zadejte ji "
                       "jako připojenou síťovou jednotku nebo připojený adresář, ne ve tvaru "
                       "\\\\Pocitac\\slozka."),
        this);
    note->setWordWrap(true);
    m_localFolder->setReadOnly(true);
    m_local->setChecked(true);
    m_browse->setToolTip(QStringLiteral("Vyberte datovou složku"));
    connect(m_local, &QRadioButton::toggled, this, [this] { updateEnabled(); });
    connect(m_browse, &QPushButton::clicked, this, [this] {
        if (const auto folder = m_ui.chooseFolder(QStringLiteral("Vyberte datovou složku"),
                                                  m_networkFolder->text()))
            m_networkFolder->setText(QDir::toNativeSeparators(*folder));
    });

    auto* grid = new QGridLayout;
    grid->addWidget(m_local, 0, 0);
    grid->addWidget(m_localFolder, 0, 1, 1, 2);
    grid->addWidget(m_network, 1, 0);
    grid->addWidget(m_networkFolder, 1, 1);
    grid->addWidget(m_browse, 1, 2);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Storno"), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &DataFolderDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(explanation);
    layout->addLayout(grid);
    layout->addWidget(note);
    layout->addWidget(buttons);
    installHelpKey(this, QStringLiteral("pgSitovyProvoz.htm"));
    resize(560, sizeHint().height());
    updateEnabled();
}

void DataFolderDialog::updateEnabled() {
    const bool network = m_network->isChecked();
    m_networkFolder->setEnabled(network);
    m_browse->setEnabled(network);
}

core::DataFolderChoice DataFolderDialog::choice() const {
    if (m_local->isChecked())
        return {true, QDir::fromNativeSeparators(m_localFolder->text())};
    return {false, QDir::fromNativeSeparators(m_networkFolder->text().trimmed())};
}

void DataFolderDialog::chooseNetwork(const QString& folder) {
    m_network->setChecked(true);
    m_networkFolder->setText(folder);
}

void DataFolderDialog::accept() {
    if (core::acceptDataFolderChoice(choice(), m_ui))
        QDialog::accept();
}

std::optional<core::DataFolderChoice> DataFolderDialog::ask(const QString& proposedLocal,
                                                            core::UserInteraction& ui) {
    DataFolderDialog dialog(proposedLocal, ui);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.choice();
}

} // namespace orvento::ui
