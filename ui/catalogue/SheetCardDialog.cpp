#include "ui/catalogue/SheetCardDialog.h"

#include "ui/DialogButtons.h"
#include "ui/Help.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvento::ui {

SheetCardDialog::SheetCardDialog(catalogue::SheetCard& card, QWidget* parent)
    : QDialog(parent)
    , m_card(card)
    , m_name(new QLineEdit(card.name(), this)) {
    setObjectName(QStringLiteral("frmKartaSkladu"));
    setWindowTitle(catalogue::SheetCard::caption());
    m_name->setObjectName(QStringLiteral("edtNazev"));
    m_name->setMaxLength(catalogue::SheetCard::kNameLength);
    m_name->setMinimumWidth(260);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Název listu:"), m_name);
    QDialogButtonBox* buttons = okCancelButtons(this);
    buttons->findChild<QPushButton*>(QStringLiteral("btnOK"))->setEnabled(!card.readOnly());
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    installHelpKey(this, QStringLiteral("pgKartaSkladu.htm"));
}

void SheetCardDialog::accept() {
    m_card.setName(m_name->text());
    if (m_card.save())
        QDialog::accept();
}

} // namespace orvento::ui
