#include "ui/offers/DiscountToTotalDialog.h"

#include "core/ProgramState.h"
#include "ui/DialogButtons.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace orvento::ui {

using offers::OfferBulkOperations;

DiscountToTotalDialog::DiscountToTotalDialog(OfferBulkOperations& operations, QWidget* parent)
    : QDialog(parent)
    , m_operations(operations) {
    setObjectName(QStringLiteral("frmReCalcDiscount"));
    setWindowTitle(QStringLiteral("Výpočet slevy"));
    const bool withoutVat = OfferBulkOperations::rememberedBasisWithoutVat();
    m_total = new QDoubleSpinBox(this);
    m_total->setObjectName(QStringLiteral("curCelkem"));
    m_total->setDecimals(4);
    m_total->setRange(-1e12, 1e12);
    m_total->setGroupSeparatorShown(true);
    m_total->setAlignment(Qt::AlignRight);
    // The amount is prefilled once; switching the basis afterwards leaves it as typed.
    m_total->setValue(m_operations.currentTotal(withoutVat));
    m_withoutVat = new QRadioButton(QStringLiteral("bez daně"), this);
    m_withoutVat->setObjectName(QStringLiteral("rbBezDane"));
    m_withVat = new QRadioButton(QStringLiteral("s daní"), this);
    m_withVat->setObjectName(QStringLiteral("rbSDani"));
    (withoutVat ? m_withoutVat : m_withVat)->setChecked(true);

    auto* layout = new QVBoxLayout(this);
    auto* totalRow = new QHBoxLayout;
    totalRow->addWidget(new QLabel(QStringLiteral("Požadovaná cena nabídky celkem"), this));
    totalRow->addWidget(m_total);
    totalRow->addWidget(new QLabel(core::programState().settings.symbolMeny, this));
    layout->addLayout(totalRow);
    auto* basisRow = new QHBoxLayout;
    basisRow->addWidget(m_withoutVat);
    basisRow->addWidget(m_withVat);
    basisRow->addStretch();
    layout->addLayout(basisRow);
    for (const QString& text :
         {OfferBulkOperations::legend(),
          QStringLiteral("Pozn.: v některých případech není možné požadovanou cenu dopočítat "
                         "pomocí slev matematicky zcela přesně, výsledná cena se tedy může "
                         "drobně lišit.")}) {
        auto* label = new QLabel(text, this);
        label->setWordWrap(true);
        layout->addWidget(label);
    }
    layout->addWidget(okCancelButtons(this));
    m_total->setFocus();
}

void DiscountToTotalDialog::accept() {
    m_result = m_operations.confirmDiscountToTotal(m_total->value(), m_withoutVat->isChecked());
    // A refused total has been explained and has reset the discounts: the dialog closes either
    // way, so the card shows what the items now carry.
    if (m_result.reached)
        QDialog::accept();
    else
        reject();
}

bool DiscountToTotalDialog::run(offers::OfferWorkingCopy& offer, const std::vector<bool>& marks,
                                core::UserInteraction& ui, QWidget* parent) {
    OfferBulkOperations operations(offer, marks, ui);
    if (!operations.startDiscountToTotal())
        return false;
    DiscountToTotalDialog dialog(operations, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace orvento::ui
