#include "ui/offers/OfferHeaderPage.h"

#include "core/AppContext.h"
#include "offers/OfferCardLogic.h"
#include "offers/OfferStates.h"

#include "ui_OfferHeaderPage.h"

#include <QPainter>
#include <QPixmap>

#include <array>

namespace orvento::ui {

namespace {

using offers::OfferHeader;
namespace OfferState = offers::OfferState;
namespace Width = offers::OfferHeaderWidth;
using Form = Ui::OfferHeaderPage;

const QString kDateFormat = QStringLiteral("dd.MM.yyyy");
constexpr int kDateWidth = 10;
// Room for the text the number field shows instead of an automatic number.
constexpr int kShownNumberWidth = 32;
constexpr int kStateMarkSize = 12;
const QColor kCorrectionColour(128, 0, 128);
const QColor kAcceptedColour(0, 128, 0);
const QColor kSettledColour(128, 0, 0);

// The header's texts typed in a line of their own, as wide as they are stored.
struct TextField {
    QLineEdit* Form::*field;
    int width;
    QString OfferHeader::*member;
};
constexpr std::array kTextFields = {TextField{&Form::Popis, Width::Popis, &OfferHeader::Popis},
                                    TextField{&Form::Nadpis, Width::Nadpis, &OfferHeader::Nadpis}};
// The customer's address, in the order of its fields; linked to the address book they are
// read-only.
constexpr std::array kAddressFields = {
    TextField{&Form::AdrNazev, Width::AdrNazev, &OfferHeader::AdrNazev},
    TextField{&Form::AdrUlice, Width::AdrUlice, &OfferHeader::AdrUlice},
    TextField{&Form::AdrPsc, Width::AdrPsc, &OfferHeader::AdrPsc},
    TextField{&Form::AdrMisto, Width::AdrMisto, &OfferHeader::AdrMisto},
    TextField{&Form::AdrKontakt, Width::AdrKontakt, &OfferHeader::AdrKontakt},
    TextField{&Form::AdrICO, Width::AdrICO, &OfferHeader::AdrICO},
    TextField{&Form::AdrDIC, Width::AdrDIC, &OfferHeader::AdrDIC}};

struct DateField {
    QLineEdit* Form::*field;
    QDateTime OfferHeader::*member;
};
constexpr std::array kDateFields = {DateField{&Form::DatVystaveni, &OfferHeader::DatVystaveni},
                                    DateField{&Form::DatPlatnosti, &OfferHeader::DatPlatnosti},
                                    DateField{&Form::DatVyrizeni, &OfferHeader::DatVyrizeni}};

QString dateText(const QDateTime& date) {
    return date.isValid() ? date.date().toString(kDateFormat) : QString();
}

QDateTime dateOf(const QString& text) {
    const QDate date = QDate::fromString(text.trimmed(), kDateFormat);
    return date.isValid() ? QDateTime(date, QTime()) : QDateTime();
}

QColor stateColour(int state) {
    switch (state) {
    case OfferState::InProgress:
        return Qt::blue;
    case OfferState::Sent:
        return Qt::black;
    case OfferState::Correction:
        return kCorrectionColour;
    case OfferState::Accepted:
        return kAcceptedColour;
    default:
        return kSettledColour;
    }
}

QIcon stateMark(int state) {
    QPixmap mark(kStateMarkSize, kStateMarkSize);
    mark.fill(Qt::transparent);
    QPainter painter(&mark);
    painter.setBrush(stateColour(state));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(1, 1, kStateMarkSize - 2, kStateMarkSize - 2);
    return QIcon(mark);
}

} // namespace

OfferHeaderPage::OfferHeaderPage(core::AppContext& context, offers::OfferCardLogic& logic,
                                 QWidget* parent)
    : QWidget(parent)
    , m_context(context)
    , m_logic(logic)
    , m_form(std::make_unique<Form>()) {
    m_form->setupUi(this);
    bindNumber();
    bindTexts();
    bindChoices();
    bindDates();
    bindCustomer();
    bindLevel();
}

OfferHeaderPage::~OfferHeaderPage() = default;

QPushButton* OfferHeaderPage::pickFirmButton() const {
    return m_form->btnAdresa;
}

QLineEdit* OfferHeaderPage::descriptionField() const {
    return m_form->Popis;
}

// Binding ----------------------------------------------------------------------------------------

void OfferHeaderPage::bindNumber() {
    connect(m_form->Doklad, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_logic.editHeader([&](OfferHeader& h) { h.Doklad = text; });
    });
    connect(m_form->btnZrusitCislo, &QPushButton::clicked, this, [this] {
        if (m_logic.offer().cancelNumber(m_context.ui())) {
            m_logic.setChanged();
            showHeader();
        }
    });
}

void OfferHeaderPage::bindTexts() {
    auto bind = [this](const TextField& text) {
        QLineEdit* edit = (*m_form).*text.field;
        edit->setMaxLength(text.width);
        connect(edit, &QLineEdit::textEdited, this, [this, member = text.member](const QString& t) {
            m_logic.editHeader([&](OfferHeader& h) { h.*member = t; });
        });
    };
    for (const TextField& text : kTextFields)
        bind(text);
    for (const TextField& text : kAddressFields)
        bind(text);
}

void OfferHeaderPage::bindChoices() {
    m_form->ZpPlatby->addItems(offers::paymentMethods());
    connect(m_form->ZpPlatby, &QComboBox::currentTextChanged, this, [this](const QString& text) {
        if (!m_showing)
            m_logic.editHeader([&](OfferHeader& h) { h.ZpPlatby = text; });
    });
    m_form->Doprava->addItems(offers::transportMethods());
    connect(m_form->Doprava, &QComboBox::currentTextChanged, this, [this](const QString& text) {
        if (!m_showing)
            m_logic.editHeader([&](OfferHeader& h) { h.Doprava = text; });
    });
    const QStringList states = offers::stateTexts();
    for (int state = 0; state < states.size(); ++state)
        m_form->IDStav->addItem(stateMark(state), states.at(state));
    connect(m_form->IDStav, &QComboBox::currentIndexChanged, this, [this](int state) {
        if (m_showing)
            return;
        m_logic.editHeader([&](OfferHeader& h) { h.IDStav = state; });
        showState();
    });
}

void OfferHeaderPage::bindDates() {
    for (const DateField& date : kDateFields) {
        QLineEdit* edit = (*m_form).*date.field;
        edit->setMaxLength(kDateWidth);
        connect(edit, &QLineEdit::editingFinished, this, [this, edit, member = date.member] {
            const QDateTime typed = dateOf(edit->text());
            if (typed != m_logic.offer().header().*member)
                m_logic.editHeader([&](OfferHeader& h) { h.*member = typed; });
            edit->setText(dateText(typed));
        });
    }
}

void OfferHeaderPage::bindCustomer() {
    connect(m_form->btnAdresa, &QPushButton::clicked, this, [this] {
        runOnItems([this] { m_logic.chooseCustomer(); });
        showCustomer();
        if (m_logic.addressLinked())
            emit customerLinked();
    });
    connect(m_form->btnDetailAdresy, &QPushButton::clicked, this,
            [this] { m_context.navigator().openFirmCard(m_logic.offer().header().AdrCislo); });
}

void OfferHeaderPage::bindLevel() {
    m_form->CenHladina->setMaxLength(Width::CenHladina);
    connect(m_form->btnHladina, &QPushButton::clicked, this, [this] {
        runOnItems([this] { m_logic.pickOwnLevel(); });
        showLevel();
    });
    connect(m_form->btnZrusitHladinu, &QPushButton::clicked, this, [this] {
        runOnItems([this] { m_logic.clearOwnLevel(); });
        showLevel();
    });
    connect(m_form->CenHladAdr, &QCheckBox::clicked, this, [this](bool on) {
        runOnItems([&] { m_logic.setLevelFromAddress(on); });
        showLevel();
    });
}

void OfferHeaderPage::runOnItems(const std::function<void()>& command) {
    command();
    emit itemsChanged();
}

// Showing ----------------------------------------------------------------------------------------

void OfferHeaderPage::showHeader() {
    m_showing = true;
    const offers::OfferWorkingCopy& offer = m_logic.offer();
    const OfferHeader& h = offer.header();
    // The limit is for typing; "<automaticky>" says what the number will be and is longer.
    m_form->Doklad->setMaxLength(offer.numberEditable() ? Width::Doklad : kShownNumberWidth);
    m_form->Doklad->setText(offer.numberText());
    m_form->Doklad->setReadOnly(!offer.numberEditable());
    for (const TextField& text : kTextFields)
        ((*m_form).*text.field)->setText(h.*text.member);
    m_form->ZpPlatby->setCurrentText(h.ZpPlatby);
    m_form->Doprava->setCurrentText(h.Doprava);
    m_form->IDStav->setCurrentIndex(h.IDStav);
    for (const DateField& date : kDateFields)
        ((*m_form).*date.field)->setText(dateText(h.*date.member));
    m_showing = false;
    showState();
    showCustomer();
}

void OfferHeaderPage::showState() {
    const int state = m_logic.offer().header().IDStav;
    m_form->DatVyrizeni->setEnabled(offers::OfferCardLogic::settlementEnabled(state));
    QPalette palette = m_form->IDStav->palette();
    palette.setColor(QPalette::Text, stateColour(state));
    palette.setColor(QPalette::ButtonText, stateColour(state));
    m_form->IDStav->setPalette(palette);
}

void OfferHeaderPage::showCustomer() {
    const OfferHeader& h = m_logic.offer().header();
    const bool linked = m_logic.addressLinked();
    for (const TextField& address : kAddressFields) {
        QLineEdit* edit = (*m_form).*address.field;
        edit->setText(h.*address.member);
        edit->setReadOnly(linked);
    }
    m_form->btnAdresa->setToolTip(m_logic.customerHint());
    m_form->btnDetailAdresy->setVisible(linked);
    showLevel();
}

void OfferHeaderPage::showLevel() {
    const bool fromAddress = m_logic.offer().header().CenHladAdr;
    m_form->CenHladAdr->setChecked(fromAddress);
    m_form->btnHladina->setEnabled(!fromAddress);
    m_form->btnZrusitHladinu->setEnabled(!fromAddress);
    m_form->CenHladina->setText(m_logic.shownLevel());
}

void OfferHeaderPage::readDates() {
    OfferHeader& h = m_logic.offer().header();
    for (const DateField& date : kDateFields)
        h.*date.member = dateOf(((*m_form).*date.field)->text());
}

} // namespace orvento::ui
