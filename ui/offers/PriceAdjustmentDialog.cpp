#include "ui/offers/PriceAdjustmentDialog.h"

#include "core/AmountFormat.h"
#include "ui/offers/OfferDialogKeys.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace orvento::ui {

namespace {

QDoubleSpinBox* twoDecimals(const char* name, QWidget* parent) {
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setDecimals(2);
    box->setRange(-1e9, 1e9);
    box->setAlignment(Qt::AlignRight);
    return box;
}

} // namespace

PriceAdjustmentDialog::PriceAdjustmentDialog(double start, bool purchase, core::UserInteraction& ui,
                                             QWidget* parent)
    : QDialog(parent)
    , m_adjustment(start) {
    setObjectName(QStringLiteral("frmUpravaCeny"));
    setWindowTitle(QStringLiteral("Úprava ceny"));
    QLabel* explanation = buildExplanation();
    QGridLayout* fields = buildFields(purchase);
    installPurchaseKey(this, ui);
    QHBoxLayout* bottom = calculatorButtonRow(this, ui);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(explanation);
    layout->addLayout(fields);
    layout->addLayout(bottom);
    connectFields();
    refresh();
}

QLabel* PriceAdjustmentDialog::buildExplanation() {
    auto* explanation = new QLabel(
        QStringLiteral("Pomocí této jednoduché % kalkulačky můžete upravit původní cenu. Pokud "
                       "zadáte procento slevy mínusem, jedná se o přirážku. Můžete postupovat i "
                       "obráceně - tzn. zadat novou cenu, program potom vyčíslí slevu nebo "
                       "přirážku v procentech. Jedná se o pomocný výpočet ceny, který nenahrazuje "
                       "slevu - pokud chcete zadat tisknutelnou slevu, zadejte ji přímo na kartě "
                       "položky."),
        this);
    explanation->setWordWrap(true);
    return explanation;
}

// The original price, the percentage and the new price, each computed from the other.
QGridLayout* PriceAdjustmentDialog::buildFields(bool purchase) {
    auto* original = new QLineEdit(this);
    original->setObjectName(QStringLiteral("curPuvodni"));
    original->setReadOnly(true);
    original->setAlignment(Qt::AlignRight);
    original->setText(core::formatAmount(m_adjustment.start()));
    m_percent = twoDecimals("curProcento", this);
    m_newPrice = twoDecimals("curNovaCena", this);
    m_discountWord = new QLabel(QStringLiteral("Sleva"), this);
    m_surchargeWord = new QLabel(QStringLiteral("Přirážka"), this);

    auto* words = new QHBoxLayout;
    words->addWidget(m_discountWord);
    words->addWidget(new QLabel(QStringLiteral("/"), this));
    words->addWidget(m_surchargeWord);
    words->addWidget(new QLabel(QStringLiteral("%"), this));
    auto* grid = new QGridLayout;
    grid->addWidget(
        new QLabel(QStringLiteral("Původní ") + (purchase ? QStringLiteral("nákupní cena")
                                                          : QStringLiteral("prodejní cena")),
                   this),
        0, 0);
    grid->addWidget(original, 0, 1);
    grid->addLayout(words, 1, 0);
    grid->addWidget(m_percent, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Nová cena"), this), 2, 0);
    grid->addWidget(m_newPrice, 2, 1);
    return grid;
}

void PriceAdjustmentDialog::connectFields() {
    connect(m_percent, &QDoubleSpinBox::valueChanged, this, [this](double p) {
        m_adjustment.setPercent(p);
        refresh(m_percent);
    });
    connect(m_newPrice, &QDoubleSpinBox::valueChanged, this, [this](double n) {
        m_adjustment.setNewPrice(n);
        refresh(m_newPrice);
    });
}

void PriceAdjustmentDialog::refresh(const QDoubleSpinBox* typed) {
    // The field being typed in keeps its text: setting its value again would put the cursor
    // after a reformatted number and swallow the decimals still to come.
    const QSignalBlocker percentBlock(m_percent);
    const QSignalBlocker priceBlock(m_newPrice);
    if (typed != m_percent)
        m_percent->setValue(m_adjustment.percent());
    if (typed != m_newPrice)
        m_newPrice->setValue(m_adjustment.newPrice());
    QFont font = m_discountWord->font();
    font.setBold(m_adjustment.percent() > 0.0);
    m_discountWord->setFont(font);
    font.setBold(m_adjustment.percent() < 0.0);
    m_surchargeWord->setFont(font);
}

std::optional<double> PriceAdjustmentDialog::ask(double start, bool purchase,
                                                 core::UserInteraction& ui, QWidget* parent) {
    PriceAdjustmentDialog dialog(start, purchase, ui, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.newPrice();
}

} // namespace orvento::ui
