#include "ui/offers/OfferSumsDialog.h"

#include "core/AmountFormat.h"
#include "offers/OfferStates.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvento::ui {

namespace {

QLabel* makeValue(const QString& name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setMinimumWidth(140);
    return label;
}

} // namespace

OfferSumsDialog::OfferSumsDialog(const offers::OfferSums& sums, bool profitShown, QWidget* parent)
    : QDialog(parent)
    , m_sums(sums)
    , m_scope(new QComboBox(this))
    , m_count(makeValue(QStringLiteral("lblPocet"), this))
    , m_withoutVat(makeValue(QStringLiteral("lblCelkemBDPH"), this))
    , m_withVat(makeValue(QStringLiteral("lblCelkem"), this))
    , m_profit(makeValue(QStringLiteral("lblZisk"), this)) {
    setObjectName(QStringLiteral("frmSoucetCen"));
    setWindowTitle(QStringLiteral("Součet cen"));
    auto* note = new QLabel(
        QStringLiteral("Sečteny jsou pouze označené nabídky; není-li žádná označena, všechny "
                       "zobrazené nabídky. Zobrazené nabídky lze zúžit tlačítkem \"Filtr\"."),
        this);
    note->setWordWrap(true);
    m_scope->setObjectName(QStringLiteral("cbxStav"));
    m_scope->addItem(QStringLiteral("všechny nabídky"));
    m_scope->addItems(offers::stateTexts());
    connect(m_scope, &QComboBox::currentIndexChanged, this, &OfferSumsDialog::showSum);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Zobrazit součet pro"), m_scope);
    form->addRow(QStringLiteral("Počet"), m_count);
    form->addRow(QStringLiteral("Celkem bez DPH"), m_withoutVat);
    form->addRow(QStringLiteral("Celkem s DPH"), m_withVat);
    form->addRow(QStringLiteral("Celkem zisk"), m_profit);
    form->setRowVisible(m_profit, profitShown);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Zavřít"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addLayout(form);
    layout->addWidget(buttons);
    showSum();
}

void OfferSumsDialog::showSum() {
    const int index = m_scope->currentIndex();
    const offers::OfferSum& sum =
        index <= 0 ? m_sums.all : m_sums.byState[static_cast<size_t>(index - 1)];
    m_count->setText(QString::number(sum.count));
    m_withoutVat->setText(core::formatAmount(sum.withoutVat));
    m_withVat->setText(core::formatAmount(sum.withVat));
    m_profit->setText(core::formatAmount(sum.profit));
}

QString OfferSumsDialog::shown(const QString& objectName) const {
    const auto* label = findChild<QLabel*>(objectName);
    return label ? label->text() : QString();
}

} // namespace orvento::ui
