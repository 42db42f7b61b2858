#include "ui/offers/OfferFilterDialog.h"

#include "offers/OfferListLogic.h"
#include "offers/OfferStates.h"
#include "ui/DialogButtons.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace orvento::ui {

namespace {

// The typed parts of a firm's name, a description and an author.
constexpr int kTextWidth = 50;

QDateEdit* makeDate(QWidget* parent) {
    auto* edit = new QDateEdit(QDate::currentDate(), parent);
    edit->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    edit->setCalendarPopup(true);
    return edit;
}

QDoubleSpinBox* makeAmount(QWidget* parent) {
    auto* box = new QDoubleSpinBox(parent);
    box->setDecimals(2);
    box->setRange(-999999999.99, 999999999.99);
    return box;
}

} // namespace

OfferFilterDialog::OfferFilterDialog(offers::OfferListLogic& logic, QWidget* parent)
    : QDialog(parent)
    , m_logic(logic)
    , m_active(new QCheckBox(QStringLiteral("filtr aktivní (chcete-li vypnout filtr, zrušte "
                                            "zaškrtnutí tohoto přepínače)"),
                             this))
    , m_byState(addCheck(QStringLiteral("chckStav"), QStringLiteral("se stavem")))
    , m_state(new QComboBox(this))
    , m_unsettled(addCheck(QStringLiteral("chckNevyrizene"), QStringLiteral("nevyřízené")))
    , m_byFirm(addCheck(QStringLiteral("chckFirma"), QStringLiteral("s názvem firmy (z adresáře)")))
    , m_firm(new QLabel(QStringLiteral("vyberte z adresáře firem >>>"), this))
    , m_byFirmText(addCheck(QStringLiteral("chckFirmaText"),
                            QStringLiteral("s názvem firmy obsahující text")))
    , m_firmText(new QLineEdit(this))
    , m_byDescription(
          addCheck(QStringLiteral("chckPopis"), QStringLiteral("s popisem obsahující text")))
    , m_description(new QLineEdit(this))
    , m_byTotal(addCheck(QStringLiteral("chckCastka"), QStringLiteral("s celk. částkou")))
    , m_totalFrom(makeAmount(this))
    , m_totalTo(makeAmount(this))
    , m_withVat(new QRadioButton(QStringLiteral("s DPH"), this))
    , m_withoutVat(new QRadioButton(QStringLiteral("bez DPH"), this))
    , m_byAuthor(addCheck(QStringLiteral("chckVystavil"),
                          QStringLiteral("se jménem \"Vystavil\" (i část)")))
    , m_author(new QLineEdit(this)) {
    setObjectName(QStringLiteral("frmNabFiltr"));
    setWindowTitle(QStringLiteral("Filtr"));
    nameFields();
    QGroupBox* conditions = buildConditions();
    for (QCheckBox* box : findChildren<QCheckBox*>())
        connect(box, &QCheckBox::toggled, this, &OfferFilterDialog::updateEnabled);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(conditions);
    layout->addWidget(m_active);
    layout->addWidget(okCancelButtons(this));

    setValues(logic.filterDialogValues());
}

void OfferFilterDialog::nameFields() {
    m_active->setObjectName(QStringLiteral("chckAktivni"));
    m_state->setObjectName(QStringLiteral("cbxStav"));
    m_state->addItems(offers::stateTexts());
    m_firmText->setObjectName(QStringLiteral("edtFirmaText"));
    m_description->setObjectName(QStringLiteral("edtPopis"));
    m_author->setObjectName(QStringLiteral("edtVystavil"));
    for (QLineEdit* text : {m_firmText, m_description, m_author})
        text->setMaxLength(kTextWidth);
    m_withVat->setChecked(true);
}

// One condition a row: its switch on the left, its values on the right.
QGroupBox* OfferFilterDialog::buildConditions() {
    auto* group = new QGroupBox(QStringLiteral("Zobrazovat jen nabídky"), this);
    auto* grid = new QGridLayout(group);
    int row = 0;
    grid->addWidget(m_byState, row, 0);
    grid->addWidget(m_state, row++, 1, 1, 3);
    grid->addWidget(m_unsettled, row++, 0);
    row = addFirmRows(grid, row);
    row = addDateRows(grid, row);
    grid->addWidget(m_byDescription, row, 0);
    grid->addWidget(m_description, row++, 1, 1, 3);
    grid->addWidget(m_byTotal, row, 0);
    grid->addWidget(m_totalFrom, row, 2);
    grid->addWidget(m_totalTo, row++, 3);
    auto* vat = new QHBoxLayout;
    vat->addWidget(m_withVat);
    vat->addWidget(m_withoutVat);
    vat->addStretch();
    grid->addLayout(vat, row++, 2, 1, 2);
    grid->addWidget(m_byAuthor, row, 0);
    grid->addWidget(m_author, row, 1, 1, 3);
    return group;
}

int OfferFilterDialog::addFirmRows(QGridLayout* grid, int row) {
    grid->addWidget(m_byFirm, row, 0);
    auto* pickFirm = new QPushButton(QStringLiteral("..."), this);
    pickFirm->setObjectName(QStringLiteral("btnVyberFirmu"));
    connect(pickFirm, &QPushButton::clicked, this, [this] {
        // The pick may answer after this dialog has gone.
        m_logic.pickFilterFirm([dialog = QPointer(this)](qint64 firmId, const QString& name) {
            if (OfferFilterDialog* open = dialog.data())
                open->takeFirm(firmId, name);
        });
    });
    grid->addWidget(m_firm, row, 1, 1, 2);
    grid->addWidget(pickFirm, row++, 3);
    grid->addWidget(m_byFirmText, row, 0);
    grid->addWidget(m_firmText, row++, 1, 1, 3);
    return row;
}

int OfferFilterDialog::addDateRows(QGridLayout* grid, int row) {
    m_issued = addDates(QStringLiteral("chckVystaveni"), QStringLiteral("s datem vystavení"));
    grid->addWidget(m_issued.check, row, 0);
    grid->addWidget(new QLabel(QStringLiteral("od"), this), row, 1);
    grid->addWidget(m_issued.from, row, 2);
    grid->addWidget(m_issued.to, row++, 3);
    m_valid = addDates(QStringLiteral("chckPlatnost"), QStringLiteral("s datem platnosti"));
    m_settled =
        addDates(QStringLiteral("chckVyrizeni"), QStringLiteral("s datem vyřízení (zamítnutí)"));
    for (const DateFields* dates : {&m_valid, &m_settled}) {
        grid->addWidget(dates->check, row, 0);
        grid->addWidget(dates->from, row, 2);
        grid->addWidget(dates->to, row++, 3);
    }
    return row;
}

QCheckBox* OfferFilterDialog::addCheck(const QString& name, const QString& text) {
    auto* box = new QCheckBox(text, this);
    box->setObjectName(name);
    return box;
}

OfferFilterDialog::DateFields OfferFilterDialog::addDates(const QString& name,
                                                          const QString& text) {
    return {addCheck(name, text), makeDate(this), makeDate(this)};
}

QCheckBox* OfferFilterDialog::checkBox(const QString& objectName) const {
    return findChild<QCheckBox*>(objectName);
}

QLineEdit* OfferFilterDialog::textField(const QString& objectName) const {
    return findChild<QLineEdit*>(objectName);
}

void OfferFilterDialog::takeFirm(qint64 firmId, const QString& name) {
    m_firmId = firmId;
    m_firm->setText(name);
    m_byFirm->setChecked(true);
}

void OfferFilterDialog::updateEnabled() {
    m_state->setEnabled(m_byState->isChecked());
    m_firmText->setEnabled(m_byFirmText->isChecked());
    for (const DateFields& d : {m_issued, m_valid, m_settled}) {
        d.from->setEnabled(d.check->isChecked());
        d.to->setEnabled(d.check->isChecked());
    }
    m_description->setEnabled(m_byDescription->isChecked());
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_totalFrom, m_totalTo, m_withVat, m_withoutVat})
        w->setEnabled(m_byTotal->isChecked());
    m_author->setEnabled(m_byAuthor->isChecked());
}

offers::OfferFilter OfferFilterDialog::values() const {
    offers::OfferFilter f;
    f.active = m_active->isChecked();
    f.byState = m_byState->isChecked();
    f.state = m_state->currentIndex();
    f.unsettled = m_unsettled->isChecked();
    f.byFirm = m_byFirm->isChecked();
    f.firmId = m_firmId;
    f.firmName = m_firmId ? m_firm->text() : QString();
    f.byFirmText = m_byFirmText->isChecked();
    f.firmText = m_firmText->text();
    auto dates = [](const DateFields& d) {
        return offers::DateRange{d.check->isChecked(), d.from->date(), d.to->date()};
    };
    f.issued = dates(m_issued);
    f.valid = dates(m_valid);
    f.settled = dates(m_settled);
    f.byDescription = m_byDescription->isChecked();
    f.descriptionText = m_description->text();
    f.byTotal = m_byTotal->isChecked();
    f.totalFrom = m_totalFrom->value();
    f.totalTo = m_totalTo->value();
    f.totalWithVat = m_withVat->isChecked();
    f.byAuthor = m_byAuthor->isChecked();
    f.authorText = m_author->text();
    return f;
}

void OfferFilterDialog::setValues(const offers::OfferFilter& f) {
    // Each opening starts with the filter switched on.
    m_active->setChecked(true);
    m_byState->setChecked(f.byState);
    m_state->setCurrentIndex(f.state);
    m_unsettled->setChecked(f.unsettled);
    m_byFirm->setChecked(f.byFirm);
    m_firmId = f.firmId;
    if (f.firmId)
        m_firm->setText(f.firmName);
    m_byFirmText->setChecked(f.byFirmText);
    m_firmText->setText(f.firmText);
    auto dates = [](const DateFields& d, const offers::DateRange& r) {
        d.check->setChecked(r.enabled);
        if (r.from.isValid())
            d.from->setDate(r.from);
        if (r.to.isValid())
            d.to->setDate(r.to);
    };
    dates(m_issued, f.issued);
    dates(m_valid, f.valid);
    dates(m_settled, f.settled);
    m_byDescription->setChecked(f.byDescription);
    m_description->setText(f.descriptionText);
    m_byTotal->setChecked(f.byTotal);
    m_totalFrom->setValue(f.totalFrom);
    m_totalTo->setValue(f.totalTo);
    m_withVat->setChecked(f.totalWithVat);
    m_withoutVat->setChecked(!f.totalWithVat);
    m_byAuthor->setChecked(f.byAuthor);
    m_author->setText(f.authorText);
    updateEnabled();
}

void OfferFilterDialog::accept() {
    if (m_logic.applyFilter(values()))
        QDialog::accept();
}

void OfferFilterDialog::reject() {
    // What the person typed waits for the next opening, though nothing is applied.
    m_logic.keepFilterDialogValues(values());
    QDialog::reject();
}

} // namespace orvento::ui
