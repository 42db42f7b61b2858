#include "ui/catalogue/PriceLevelCardDialog.h"

#include "catalogue/PriceLevelCard.h"
#include "catalogue/pricing/FieldPrecision.h"
#include "ui/CardWidgets.h"
#include "ui/DialogButtons.h"
#include "ui/Help.h"
#include "ui/UpperCaseField.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvento::ui {

using namespace orvento::catalogue;

PriceLevelCardDialog::PriceLevelCardDialog(PriceLevel& level, bool editable, Confirm confirm,
                                           QWidget* parent)
    : QDialog(parent)
    , m_level(level)
    , m_confirm(std::move(confirm)) {
    build(false);
    if (auto* ok = findChild<QPushButton*>(QStringLiteral("btnOK")))
        ok->setEnabled(editable);
}

PriceLevelCardDialog::PriceLevelCardDialog(PriceLevel& level, bool& prevzato, QWidget* parent)
    : QDialog(parent)
    , m_level(level)
    , m_prevzato(&prevzato) {
    build(true);
}

void PriceLevelCardDialog::build(bool rowMode) {
    setObjectName(QStringLiteral("frmCenHladDetail"));
    setWindowTitle(PriceLevelCard::caption());
    m_code = new QLineEdit(m_level.Zkratka, this);
    m_code->setObjectName(QStringLiteral("edtZkratka"));
    m_code->setMaxLength(kLevelCodeLength);
    keepUpperCase(m_code);
    m_name = new QLineEdit(m_level.Popis, this);
    m_name->setObjectName(QStringLiteral("edtPopis"));
    m_name->setMaxLength(kLevelNameLength);
    m_value = numberField("curHodnota", StandardFieldDecimals, this);
    m_value->setValue(m_level.values.Hodnota);
    const auto combo = [this](const char* name, const QStringList& items, int index) {
        auto* box = new QComboBox(this);
        box->setObjectName(QString::fromLatin1(name));
        box->addItems(items);
        box->setCurrentIndex(std::clamp(index, 0, static_cast<int>(items.size()) - 1));
        return box;
    };
    m_type = combo("cbxTypHodnoty", levelTypeCaptions(), m_level.values.TypHodnoty);
    m_base = combo("cbxVychCena", levelBaseCaptions(), m_level.values.VychCena);
    m_rounding = combo("cbxZaok", roundingCaptions(), m_level.values.Zaok);
    m_priceType = combo("cbxSDPH", priceTypeCaptions(), m_level.values.SDPH ? 1 : 0);
    m_fixed = new QCheckBox(QStringLiteral("fixní cenová hladina"), this);
    m_fixed->setObjectName(QStringLiteral("chckFixni"));
    m_fixed->setChecked(!m_level.values.Prepocitat);

    // One form, so that every label lines up; the value rows hide while the level is fixed.
    m_form = new QFormLayout;
    m_form->addRow(QStringLiteral("Zkratka"), m_code);
    m_form->addRow(QStringLiteral("Název"), m_name);
    if (rowMode) {
        m_code->setReadOnly(true);
        m_name->setReadOnly(true);
        m_takeOver =
            new QCheckBox(QStringLiteral("převzít nastavení z původní cenové hladiny"), this);
        m_takeOver->setObjectName(QStringLiteral("chckPrevzato"));
        m_takeOver->setChecked(*m_prevzato);
        connect(m_takeOver, &QCheckBox::toggled, this, [this] { updateEnabled(); });
        m_form->addRow(m_takeOver);
    }
    m_form->addRow(m_fixed);
    m_form->addRow(QStringLiteral("Hodnota %"), m_value);
    m_form->addRow(QStringLiteral("Typ"), m_type);
    m_form->addRow(QStringLiteral("Vychozí cena"), m_base);
    m_form->addRow(QStringLiteral("Zaokrouhlení při výpočtu"), m_rounding);
    m_form->addRow(QStringLiteral("Typ ceny"), m_priceType);
    auto* note = new QLabel(QStringLiteral("Nastavte stejný typ ceny jako u základní prodejní ceny "
                                           "položek, aby při výpočtu druhé ceny nevznikaly "
                                           "rozdíly."),
                            this);
    note->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(m_form);
    layout->addWidget(note);
    layout->addWidget(okCancelButtons(this));
    connect(m_fixed, &QCheckBox::toggled, this, [this] { updateEnabled(); });
    installHelpKey(this, PriceLevelCard::helpTopic());
    updateEnabled();
    resize(420, sizeHint().height());
}

void PriceLevelCardDialog::updateEnabled() {
    for (QWidget* w : {static_cast<QWidget*>(m_value), static_cast<QWidget*>(m_type),
                       static_cast<QWidget*>(m_base)})
        m_form->setRowVisible(w, !m_fixed->isChecked());
    const bool own = !m_takeOver || !m_takeOver->isChecked();
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_value, m_type, m_base, m_rounding, m_priceType, m_fixed})
        w->setEnabled(own);
}

void PriceLevelCardDialog::readFields() {
    m_level.Zkratka = m_code->text();
    m_level.Popis = m_name->text();
    m_level.values.Hodnota = m_value->value();
    m_level.values.TypHodnoty = m_type->currentIndex();
    m_level.values.VychCena = m_base->currentIndex();
    m_level.values.Zaok = m_rounding->currentIndex();
    m_level.values.SDPH = m_priceType->currentIndex() == 1;
    m_level.values.Prepocitat = !m_fixed->isChecked();
    if (m_prevzato)
        *m_prevzato = m_takeOver->isChecked();
}

void PriceLevelCardDialog::accept() {
    readFields();
    closeByOutcome(*this, m_confirm ? m_confirm() : CardOutcome::Saved);
}

} // namespace orvento::ui
