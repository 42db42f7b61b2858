#include "ui/catalogue/GroupCardDialog.h"

#include "ui/DialogButtons.h"
#include "ui/Help.h"
#include "ui/UpperCaseField.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvento::ui {

GroupCardDialog::GroupCardDialog(catalogue::GroupCard& card, QWidget* parent)
    : QDialog(parent)
    , m_card(card)
    , m_name(new QLineEdit(card.group().nazev, this))
    , m_code(new QLineEdit(card.group().kod, this)) {
    setObjectName(QStringLiteral("frmKartaSkupiny"));
    setWindowTitle(catalogue::GroupCard::caption());
    m_name->setObjectName(QStringLiteral("edtNazev"));
    m_name->setMaxLength(catalogue::GroupCard::kNameLength);
    m_name->setMinimumWidth(320);
    m_code->setObjectName(QStringLiteral("edtKod"));
    m_code->setMaxLength(catalogue::GroupCard::kCodeLength);
    m_code->setMaximumWidth(120);
    keepUpperCase(m_code);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Název skupiny:"), m_name);
    form->addRow(QStringLiteral("Kód:"), m_code);
    QDialogButtonBox* buttons = okCancelButtons(this);
    buttons->findChild<QPushButton*>(QStringLiteral("btnOK"))->setEnabled(!card.readOnly());
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    installHelpKey(this, QStringLiteral("pgKartaSkupiny.htm"));
}

void GroupCardDialog::accept() {
    m_card.setName(m_name->text());
    m_card.setCode(m_code->text());
    if (m_card.save())
        QDialog::accept();
}

} // namespace orvento::ui
