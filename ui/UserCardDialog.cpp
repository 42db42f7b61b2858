#include "ui/UserCardDialog.h"

#include "services/AccessRights.h"
#include "services/PasswordScrambler.h"
#include "services/UserCard.h"
#include "ui/DialogButtons.h"
#include "ui/Help.h"
#include "ui/PrefilterDialog.h"
#include "ui/UpperCaseField.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace orvento::ui {

namespace {

using core::CurrentUser;

struct LevelField {
    const char* objectName;
    const char* label;
    core::AccessLevel CurrentUser::*member;
};

const LevelField kLevelFields[] = {
    {"cbxNabidky", "Modul Nabídky", &CurrentUser::nabidky},
    {"cbxAdresar", "Modul Adresář", &CurrentUser::adresar},
    {"cbxCenik", "Modul Ceník", &CurrentUser::cenik},
    {"cbxPoznamky", "Poznámky na ploše", &CurrentUser::poznamky},
    {"cbxSeznamAgend", "Seznam firem (agend) v programu", &CurrentUser::seznamAgend},
    {"cbxImport", "Import dat", &CurrentUser::import},
};

struct RightField {
    const char* objectName;
    const char* text;
    bool CurrentUser::*member;
};

const RightField kRightFields[] = {
    {"chckAdministrator", "administrátor (uživatel může upravovat přístupová práva)",
     &CurrentUser::administrator},
    {"chckHromadnePreceneni", "hromadné přecenění nákupních/prodejních cen v ceníku",
     &CurrentUser::hromadnePreceneni},
    {"chckHromadneNastaveni", "hromadné nastavení údajů na položkách v ceníku",
     &CurrentUser::hromadneNastaveni},
    {"chckUdajeFirma", "nastavení programu - údaje o firmě", &CurrentUser::udajeFirma},
    {"chckGlobalniNastaveni", "nastavení programu - globální nastavení",
     &CurrentUser::globalniNastaveni},
    {"chckUzivatelskeNastaveni", "nastavení programu - nastavení profilu uživatele",
     &CurrentUser::uzivatelskeNastaveni},
    {"chckVytvoreniZalohy", "zálohování - vytvoření zálohy", &CurrentUser::vytvoreniZalohy},
    {"chckObnoveniZalohy", "zálohování - obnovení dat ze zálohy", &CurrentUser::obnoveniZalohy},
    {"chckNakupniCeny", "zobrazovat nákupní ceny", &CurrentUser::nakupniCeny},
    {"chckZamky", "právo zamykat a odemykat doklady", &CurrentUser::zamky},
    {"chckVsechnyNabidky", "zobrazovat všechny nabídky", &CurrentUser::vsechnyNabidky},
};

QLineEdit* lineEdit(const char* objectName, int maxLength, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(objectName));
    edit->setMaxLength(maxLength);
    return edit;
}

} // namespace

UserCardDialog::UserCardDialog(services::UserCard& card, QWidget* parent)
    : QDialog(parent)
    , m_card(card)
    , m_name(lineEdit("edtJmeno", services::UserCard::kNameLength, this))
    , m_profile(lineEdit("edtKonfigurace", services::UserCard::kProfileLength, this))
    , m_password(lineEdit("edtHeslo", services::password::kMaxLength, this))
    , m_confirmation(lineEdit("edtPotvrzeniHesla", services::password::kMaxLength, this))
    , m_number(new QSpinBox(this))
    , m_phone(lineEdit("edtTelefon", services::UserCard::kPhoneLength, this))
    , m_email(lineEdit("edtEmail", services::UserCard::kEmailLength, this))
    , m_prefilter(new QPushButton(QStringLiteral("Pre-filtr seznamu nabídek"), this)) {
    setObjectName(QStringLiteral("frmDetailUzivatele"));
    setWindowTitle(services::UserCard::caption());
    m_password->setEchoMode(QLineEdit::Password);
    m_confirmation->setEchoMode(QLineEdit::Password);
    m_number->setObjectName(QStringLiteral("edtUzivID"));
    m_number->setRange(1, services::UserCard::kMaxUserNumber);
    m_prefilter->setObjectName(QStringLiteral("btnPrefiltr"));
    keepUpperCase(m_profile);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Jméno uživatele"), m_name);
    fields->addRow(QStringLiteral("Název profilu"), m_profile);
    fields->addRow(QStringLiteral("Heslo"), m_password);
    fields->addRow(QStringLiteral("Potvrzení hesla"), m_confirmation);
    fields->addRow(QStringLiteral("ID uživatele"), m_number);
    fields->addRow(QStringLiteral("Telefon"), m_phone);
    fields->addRow(QStringLiteral("E-mail"), m_email);

    auto* rights = new QGroupBox(QStringLiteral("Přístupová práva"), this);
    auto* rightsLayout = new QGridLayout(rights);
    int row = 0;
    for (const LevelField& f : kLevelFields) {
        auto* box = new QComboBox(rights);
        box->setObjectName(QString::fromLatin1(f.objectName));
        box->addItems(services::accessLevelTexts());
        auto* label = new QLabel(QString::fromUtf8(f.label), rights);
        label->setBuddy(box);
        rightsLayout->addWidget(label, row, 0);
        rightsLayout->addWidget(box, row, 1);
        ++row;
        m_levels.push_back({box, f.member});
    }
    for (const RightField& f : kRightFields) {
        auto* box = new QCheckBox(QString::fromUtf8(f.text), rights);
        box->setObjectName(QString::fromLatin1(f.objectName));
        rightsLayout->addWidget(box, row++, 0, 1, 2);
        m_rights.push_back({box, f.member});
        if (f.member == &CurrentUser::vsechnyNabidky)
            m_allOffers = box;
    }
    rightsLayout->addWidget(m_prefilter, row, 0, 1, 2, Qt::AlignLeft);
    connect(m_allOffers, &QCheckBox::toggled, this, [this] { updatePrefilterButton(); });
    connect(m_prefilter, &QPushButton::clicked, this, [this] { editPrefilter(); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(rights);
    layout->addWidget(okCancelButtons(this));
    installHelpKey(this, services::UserCard::helpTopic());
    fillFields();
}

void UserCardDialog::fillFields() {
    const CurrentUser& u = m_card.user();
    m_name->setText(u.jmeno);
    m_profile->setText(u.konfigurace);
    m_password->setText(u.password);
    m_confirmation->setText(m_card.passwordConfirmation());
    m_number->setValue(u.uzivId);
    m_number->setEnabled(m_card.isNew());
    m_phone->setText(u.telefon);
    m_email->setText(u.email);
    for (const LevelBox& l : m_levels)
        l.box->setCurrentIndex(static_cast<int>(u.*(l.member)));
    for (const RightBox& r : m_rights)
        r.box->setChecked(u.*(r.member));
    updatePrefilterButton();
}

void UserCardDialog::readFields() {
    CurrentUser& u = m_card.user();
    u.jmeno = m_name->text();
    m_card.setProfileName(m_profile->text());
    u.password = m_password->text();
    m_card.setPasswordConfirmation(m_confirmation->text());
    // An existing user's number cannot change (and may lie outside what the box shows).
    if (m_card.isNew())
        u.uzivId = m_number->value();
    u.telefon = m_phone->text();
    u.email = m_email->text();
    for (const LevelBox& l : m_levels)
        u.*(l.member) = services::accessLevelFromInt(l.box->currentIndex());
    for (const RightBox& r : m_rights)
        u.*(r.member) = r.box->isChecked();
}

void UserCardDialog::updatePrefilterButton() {
    m_prefilter->setEnabled(!m_allOffers->isChecked());
}

void UserCardDialog::editPrefilter() {
    if (const auto list = PrefilterDialog::ask(m_card.user().prefiltrNabidkyVytvorId, this))
        m_card.user().prefiltrNabidkyVytvorId = *list;
}

void UserCardDialog::accept() {
    readFields();
    switch (m_card.confirm()) {
    case services::UserCard::Outcome::StayOpen:
        return;
    case services::UserCard::Outcome::Saved:
        QDialog::accept();
        return;
    case services::UserCard::Outcome::SaveFailed:
        QDialog::reject();
        return;
    }
}

} // namespace orvento::ui
