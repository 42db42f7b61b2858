#include "ui/addressbook/PostCodeCardDialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvento::ui {

PostCodeCardDialog::PostCodeCardDialog(addressbook::PostCodeCard& card, QWidget* parent)
    : QDialog(parent)
    , m_card(card)
    , m_psc(new QLineEdit(card.psc, this))
    , m_misto(new QLineEdit(card.misto, this))
    , m_ok(new QPushButton(QStringLiteral("OK"), this)) {
    setObjectName(QStringLiteral("frmPscDetail"));
    setWindowTitle(QStringLiteral("Detail PSČ"));
    m_psc->setObjectName(QStringLiteral("edtPsc"));
    m_misto->setObjectName(QStringLiteral("edtMisto"));
    m_psc->setMaxLength(addressbook::PostCodeCard::kPscWidth);
    m_misto->setMaxLength(addressbook::PostCodeCard::kMistoWidth);
    m_misto->setMinimumWidth(280);
    m_ok->setObjectName(QStringLiteral("btnOK"));
    m_ok->setDefault(true);
    m_ok->setEnabled(card.okEnabled());
    auto* cancel = new QPushButton(QStringLiteral("Storno"), this);
    cancel->setObjectName(QStringLiteral("btnStorno"));
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("PSČ:"), m_psc);
    fields->addRow(QStringLiteral("Místo:"), m_misto);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    m_psc->setFocus();
}

void PostCodeCardDialog::accept() {
    m_card.psc = m_psc->text();
    m_card.misto = m_misto->text();
    const auto outcome = m_card.confirm();
    m_psc->setText(m_card.psc);
    if (outcome == addressbook::PostCodeCard::Outcome::StayOpen)
        return;
    if (outcome == addressbook::PostCodeCard::Outcome::Saved)
        QDialog::accept();
    else
        QDialog::reject();
}

} // namespace orvento::ui
