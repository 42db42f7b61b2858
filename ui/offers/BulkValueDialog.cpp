#include "ui/offers/BulkValueDialog.h"

#include "ui/offers/OfferDialogKeys.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace orvento::ui {

using offers::BulkField;
using offers::BulkMode;
using offers::BulkOutcome;
using offers::OfferBulkOperations;

BulkValueDialog::BulkValueDialog(OfferBulkOperations& operations, BulkField field,
                                 core::UserInteraction& ui, QWidget* parent)
    : QDialog(parent)
    , m_operations(operations)
    , m_field(field) {
    setObjectName(QStringLiteral("frmSlevaKarta"));
    setWindowTitle(OfferBulkOperations::caption(field));
    m_value = new QDoubleSpinBox(this);
    m_value->setObjectName(QStringLiteral("curHodnota"));
    m_value->setDecimals(2);
    m_value->setRange(-1e6, 1e6);
    m_value->setAlignment(Qt::AlignRight);
    auto* layout = new QVBoxLayout(this);
    auto* valueRow = new QHBoxLayout;
    valueRow->addWidget(new QLabel(OfferBulkOperations::valueLabel(field), this));
    valueRow->addWidget(m_value);
    valueRow->addWidget(new QLabel(QStringLiteral("%"), this));
    layout->addLayout(valueRow);
    for (const QString& caption : OfferBulkOperations::modeCaptions(field)) {
        auto* button = new QRadioButton(caption, this);
        button->setObjectName(QStringLiteral("rbMode%1").arg(m_modes.size()));
        m_modes.push_back(button);
        layout->addWidget(button);
    }
    if (!m_modes.empty())
        m_modes.front()->setChecked(true);
    auto* legend = new QLabel(OfferBulkOperations::legend(), this);
    legend->setWordWrap(true);
    layout->addWidget(legend);

    installPurchaseKey(this, ui);
    QHBoxLayout* bottom = calculatorButtonRow(this, ui);
    layout->addLayout(bottom);
    m_value->setFocus();
}

QRadioButton* BulkValueDialog::modeButton(BulkMode mode) const {
    const auto index = static_cast<std::size_t>(mode);
    return index < m_modes.size() ? m_modes[index] : nullptr;
}

void BulkValueDialog::accept() {
    BulkMode mode = BulkMode::Set;
    for (std::size_t i = 0; i < m_modes.size(); ++i)
        if (m_modes[i]->isChecked())
            mode = static_cast<BulkMode>(i);
    switch (m_operations.applyValue(m_field, mode, m_value->value())) {
    case BulkOutcome::StayOpen:
        m_value->setFocus();
        m_value->selectAll();
        return;
    case BulkOutcome::Done:
        QDialog::accept();
        return;
    case BulkOutcome::Cancelled:
        reject();
        return;
    }
}

bool BulkValueDialog::run(offers::OfferWorkingCopy& offer, const std::vector<bool>& marks,
                          BulkField field, core::UserInteraction& ui, QWidget* parent) {
    OfferBulkOperations operations(offer, marks, ui);
    BulkValueDialog dialog(operations, field, ui, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace orvento::ui
