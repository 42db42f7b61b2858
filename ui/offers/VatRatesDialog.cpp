#include "ui/offers/VatRatesDialog.h"

#include "core/AgendaSettings.h"
#include "offers/OfferItemCard.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvento::ui {

namespace {

QLineEdit* rateField(const char* name, double rate, QWidget* parent) {
    auto* edit = new QLineEdit(core::formatRate(rate), parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setReadOnly(true);
    edit->setAlignment(Qt::AlignRight);
    return edit;
}

} // namespace

VatRatesDialog::VatRatesDialog(offers::OfferWorkingCopy& offer, const offers::OfferRates& current,
                               QWidget* parent)
    : QDialog(parent)
    , m_offer(offer)
    , m_current(current) {
    setObjectName(QStringLiteral("frmDPH"));
    setWindowTitle(QStringLiteral("Sazby DPH"));
    const offers::VatRatesView view = offers::VatRatesView::of(offer, current);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("v nabídce"), this), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("aktuální"), this), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Snížená sazba DPH"), this), 1, 0);
    grid->addWidget(rateField("edtSnizNab", view.offerReduced, this), 1, 1);
    grid->addWidget(rateField("edtSnizAkt", view.currentReduced, this), 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Základní sazba DPH"), this), 2, 0);
    grid->addWidget(rateField("edtZaklNab", view.offerBasic, this), 2, 1);
    grid->addWidget(rateField("edtZaklAkt", view.currentBasic, this), 2, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    if (view.differ()) {
        auto* note = new QLabel(offers::VatRatesView::differenceNote(), this);
        note->setObjectName(QStringLiteral("lblUpozorneni"));
        note->setWordWrap(true);
        layout->addWidget(note);
    }
    auto* buttons = new QDialogButtonBox(this);
    auto* set =
        buttons->addButton(QStringLiteral("Nastavit aktuální"), QDialogButtonBox::AcceptRole);
    set->setObjectName(QStringLiteral("btnNastavit"));
    set->setDefault(true);
    auto* cancel = buttons->addButton(QStringLiteral("Storno"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("btnStorno"));
    connect(buttons, &QDialogButtonBox::accepted, this, &VatRatesDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &VatRatesDialog::reject);
    layout->addWidget(buttons);
}

void VatRatesDialog::accept() {
    offers::setCurrentVatRates(m_offer, m_current);
    QDialog::accept();
}

bool VatRatesDialog::run(offers::OfferWorkingCopy& offer, QWidget* parent) {
    VatRatesDialog dialog(offer, offers::currentAgendaRates(), parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace orvento::ui
