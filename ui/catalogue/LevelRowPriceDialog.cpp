#include "ui/catalogue/LevelRowPriceDialog.h"

#include "catalogue/pricing/FieldPrecision.h"
#include "core/UserInteraction.h"
#include "ui/CardWidgets.h"
#include "ui/DialogButtons.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace orvento::ui {

using namespace orvento::catalogue;

LevelRowPriceDialog::LevelRowPriceDialog(LevelRowPriceEdit& edit, core::UserInteraction& ui,
                                         QWidget* parent)
    : QDialog(parent)
    , m_edit(edit)
    , m_ui(ui)
    , m_first(numberField("curCena1", PriceFieldDecimals, this))
    , m_second(new QLineEdit(this)) {
    setObjectName(QStringLiteral("frmCenaCenHlad"));
    setWindowTitle(QStringLiteral("Cenová hladina"));
    m_first->setValue(edit.first());
    m_first->setReadOnly(!edit.editable());
    m_first->installEventFilter(this);
    m_second->setObjectName(QStringLiteral("curCena2"));
    m_second->setReadOnly(true);
    m_second->setAlignment(Qt::AlignRight);
    m_second->setText(amount(edit.second(), PriceFieldDecimals));
    connect(m_first, &QDoubleSpinBox::valueChanged, this, [this](double value) {
        m_edit.setFirst(value);
        m_second->setText(amount(m_edit.second(), PriceFieldDecimals));
    });
    const QString gross = QStringLiteral("s daní");
    const QString net = QStringLiteral("bez daně");

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Zkratka"), new QLabel(edit.code(), this));
    form->addRow(QStringLiteral("Typ"), new QLabel(edit.typeCaption(), this));
    form->addRow(QStringLiteral("Hodnota"), new QLabel(edit.valueCaption(), this));
    form->addRow(QStringLiteral("Výchozí cena"), new QLabel(edit.baseCaption(), this));
    form->addRow(QStringLiteral("Zaokrouhlení"), new QLabel(edit.roundingCaption(), this));
    form->addRow(QStringLiteral("Cena ") + (edit.firstIsGross() ? gross : net), m_first);
    form->addRow(QStringLiteral("Cena ") + (edit.firstIsGross() ? net : gross), m_second);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(okCancelButtons(this));
}

bool LevelRowPriceDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_first && event->type() == QEvent::KeyPress && !m_edit.editable()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->text().isEmpty() && key->text().at(0).isDigit()) {
            m_ui.information(LevelRowPriceEdit::computedRowMessage());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace orvento::ui
