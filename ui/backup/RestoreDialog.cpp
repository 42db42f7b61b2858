#include "ui/backup/RestoreDialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvento::ui {

RestoreDialog::RestoreDialog(backup::BackupDialogLogic& logic, int row, QWidget* parent)
    : QDialog(parent)
    , m_logic(logic)
    , m_row(row)
    , m_agenda(new QCheckBox(
          QStringLiteral("obnovit databázi firmy (přepsat aktivní firmu záložní kopií)"), this))
    , m_global(new QCheckBox(
          QStringLiteral(
              "obnovit globální databázi (poznámky na ploše, seznam uživatelů a PSČ, ...)"),
          this))
    , m_templates(new QCheckBox(QStringLiteral("obnovit upravené tiskové formuláře"), this)) {
    setObjectName(QStringLiteral("frmZalObnov"));
    setWindowTitle(QStringLiteral("Obnova ze záložní kopie"));
    const backup::RestoreOffer offer = m_logic.offerFor(row);

    auto* warning =
        new QLabel(QStringLiteral("Upozornění: aktuální data budou nenávratně ztracena !"), this);
    warning->setObjectName(QStringLiteral("lblUpozorneni"));
    warning->setStyleSheet(QStringLiteral("color: red; font-weight: bold;"));
    auto* active = new QLabel(offer.activeFirm, this);
    active->setObjectName(QStringLiteral("lblAktivniFirma"));
    auto* archived = new QLabel(offer.archiveFirm, this);
    archived->setObjectName(QStringLiteral("lblFirmaZeZalohy"));

    m_agenda->setObjectName(QStringLiteral("chkFirma"));
    m_agenda->setChecked(true);
    m_global->setObjectName(QStringLiteral("chkGlobalni"));
    m_global->setEnabled(offer.sharedDataInside);
    m_templates->setObjectName(QStringLiteral("chkFormulare"));
    m_templates->setEnabled(offer.templatesInside);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    auto* back = new QPushButton(QStringLiteral("Zpět"), this);
    back->setObjectName(QStringLiteral("btnZpet"));
    connect(ok, &QPushButton::clicked, this, &RestoreDialog::confirm);
    connect(back, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(warning);
    auto* firms = new QHBoxLayout;
    auto* labels = new QVBoxLayout;
    labels->addWidget(new QLabel(QStringLiteral("Aktivní firma:"), this));
    labels->addWidget(new QLabel(QStringLiteral("Firma ze zálohy:"), this));
    auto* values = new QVBoxLayout;
    values->addWidget(active);
    values->addWidget(archived);
    firms->addLayout(labels);
    firms->addLayout(values, 1);
    layout->addLayout(firms);
    layout->addWidget(m_agenda);
    layout->addWidget(m_global);
    layout->addWidget(m_templates);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(back);
    layout->addLayout(buttons);
}

void RestoreDialog::confirm() {
    backup::RestoreChoice choice;
    choice.agenda = m_agenda->isChecked();
    choice.global = m_global->isEnabled() && m_global->isChecked();
    choice.templates = m_templates->isEnabled() && m_templates->isChecked();
    m_step = m_logic.restore(m_row, choice);
    if (m_step == backup::RestoreStep::NothingChosen)
        return;
    if (m_step == backup::RestoreStep::Restored)
        accept();
    else
        reject();
}

} // namespace orvento::ui
