#include "ui/catalogue/IdentifierCardDialog.h"

#include "catalogue/IdentifierCodes.h"
#include "ui/CardWidgets.h"
#include "ui/DialogButtons.h"
#include "ui/Help.h"
#include "ui/UpperCaseField.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvento::ui {

using namespace orvento::catalogue;

namespace {
constexpr int kCardWidth = 360;
}

IdentifierCardDialog::IdentifierCardDialog(IdentifierCard& card, QWidget* parent)
    : QDialog(parent)
    , m_card(card)
    , m_code(new QLineEdit(card.identifier().Zkratka, this))
    , m_name(new QLineEdit(card.identifier().Popis, this))
    , m_unused(new QCheckBox(QStringLiteral("nepoužívat v \"rozpisu identifikátorů\" v nabídce"),
                             this)) {
    setObjectName(QStringLiteral("frmIdentifDetail"));
    setWindowTitle(IdentifierCard::caption());
    m_code->setObjectName(QStringLiteral("edtZkratka"));
    m_code->setMaxLength(kIdentifierCodeLength);
    keepUpperCase(m_code);
    m_name->setObjectName(QStringLiteral("edtPopis"));
    m_name->setMaxLength(kIdentifierNameLength);
    m_unused->setObjectName(QStringLiteral("chckNepouzivat"));
    m_unused->setChecked(card.identifier().Nepouzivat);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Zkratka"), m_code);
    form->addRow(QStringLiteral("Název"), m_name);
    form->addRow(m_unused);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(okCancelButtons(this));
    if (auto* ok = findChild<QPushButton*>(QStringLiteral("btnOK")))
        ok->setEnabled(card.editable());
    installHelpKey(this, IdentifierCard::helpTopic());
    resize(kCardWidth, sizeHint().height());
}

void IdentifierCardDialog::accept() {
    Identifier& identifier = m_card.identifier();
    identifier.Zkratka = m_code->text();
    identifier.Popis = m_name->text();
    identifier.Nepouzivat = m_unused->isChecked();
    const CardOutcome outcome = m_card.confirm();
    m_code->setText(identifier.Zkratka);
    closeByOutcome(*this, outcome);
}

} // namespace orvento::ui
