#include "ui/offers/TextItemDialog.h"

#include "ui/DialogButtons.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QVBoxLayout>

namespace orvento::ui {

TextItemDialog::TextItemDialog(offers::TextItemCard& card, QWidget* parent)
    : QDialog(parent)
    , m_card(card)
    , m_text(new QLineEdit(this))
    , m_note(new QPlainTextEdit(this))
    , m_position(new QSpinBox(this)) {
    setObjectName(QStringLiteral("frmNadpisovaPol"));
    setWindowTitle(m_card.caption());
    m_text->setObjectName(QStringLiteral("edtPopis"));
    m_text->setMaxLength(50);
    m_text->setText(m_card.text);
    auto* label = new QLabel(m_card.textLabel(), this);
    if (m_card.title()) {
        QFont bold = m_text->font();
        bold.setBold(true);
        m_text->setFont(bold);
        label->setFont(bold);
    }
    m_note->setObjectName(QStringLiteral("mtPoznamka"));
    m_note->setPlainText(m_card.note);
    m_position->setObjectName(QStringLiteral("spnPoradi"));
    m_position->setRange(1, 1000000);
    m_position->setValue(m_card.position);
    auto* form = new QFormLayout;
    form->addRow(label, m_text);
    form->addRow(QStringLiteral("Poznámka"), m_note);
    form->addRow(QStringLiteral("Pořadí při tisku"), m_position);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(okCancelButtons(this));
}

void TextItemDialog::accept() {
    m_card.text = m_text->text();
    m_card.note = m_note->toPlainText();
    m_card.position = m_position->value();
    if (!m_card.confirm()) {
        m_text->setFocus();
        return;
    }
    QDialog::accept();
}

bool TextItemDialog::editNew(offers::OfferWorkingCopy& offer, bool title,
                             std::optional<std::size_t> current, core::UserInteraction& ui,
                             QWidget* parent) {
    offers::TextItemCard card(ui, offer);
    card.openNew(title, current);
    TextItemDialog dialog(card, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool TextItemDialog::editExisting(offers::OfferWorkingCopy& offer, std::size_t index, bool copy,
                                  core::UserInteraction& ui, QWidget* parent) {
    offers::TextItemCard card(ui, offer);
    if (!card.openExisting(index, copy))
        return false;
    TextItemDialog dialog(card, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace orvento::ui
