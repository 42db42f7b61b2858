#include "ui/catalogue/RepricingWizardBulkUpdate.h"

#include "catalogue/ItemCard.h"
#include "catalogue/ItemRecord.h"
#include "ui/Help.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvento::ui {

namespace {

struct TextField {
    const char* name;
    const char* caption;
    int width;
    catalogue::BulkUpdateSettings::Text catalogue::BulkUpdateSettings::*field;
};

using S = catalogue::BulkUpdateSettings;
namespace W = catalogue::ItemWidth;

const std::array<TextField, BulkItemUpdateWizard::kTextFieldCount> kTextFields{{
    {"Popis", "Popis", W::Popis, &S::popis},
    {"Katalog", "Katalog", W::Katalog, &S::katalog},
    {"BarCode", "Čárový kód", W::BarCode, &S::barCode},
    {"PLU", "PLU", W::PLU, &S::plu},
    {"Zkratka", "Zkratku", W::Zkratka, &S::zkratka},
    {"TextMJ", "Měrnou jednotku", W::TextMJ, &S::textMJ},
}};

} // namespace

BulkItemUpdateWizard::BulkItemUpdateWizard(core::Database& db, core::UserInteraction& ui,
                                           core::Navigator& navigator,
                                           catalogue::SelectionMode mode,
                                           catalogue::MarkedRows marked, QWidget* parent)
    : RepricingWizardFrame(m_logic, parent)
    , m_logic(db, ui, navigator, mode, std::move(marked)) {
    setObjectName(QStringLiteral("frmNastavText"));
    setWindowTitle(catalogue::BulkItemUpdateWizardLogic::caption());
    build(buildWelcomePage(), buildSettingsPage(),
          QStringLiteral("Nastavení údajů na položkách, prosím čekejte..."),
          QStringLiteral("Zavřít"), false);
    installHelpKey(this, catalogue::BulkItemUpdateWizardLogic::helpTopic());
}

int BulkItemUpdateWizard::open(core::Database& db, core::UserInteraction& ui,
                               core::Navigator& navigator, catalogue::SelectionMode mode,
                               catalogue::MarkedRows marked, QWidget* parent) {
    if (!catalogue::BulkItemUpdateWizardLogic::mayOpen(ui))
        return -1;
    BulkItemUpdateWizard wizard(db, ui, navigator, mode, std::move(marked), parent);
    wizard.exec();
    return wizard.logic().finished() ? 0 : -1;
}

QWidget* BulkItemUpdateWizard::buildWelcomePage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("tsUvod"));
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(wizardText(catalogue::BulkItemUpdateWizardLogic::welcomeText(), page));
    addWelcomeEnd(page, layout);
    return page;
}

QWidget* BulkItemUpdateWizard::buildSettingsPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("tsNastavit"));
    auto* grid = new QGridLayout;
    int line = 0;
    for (std::size_t i = 0; i < kTextFields.size(); ++i) {
        const TextField& f = kTextFields[i];
        m_textOn[i] = wizardCheck(qPrintable(QStringLiteral("chk") + QLatin1String(f.name)),
                                  QString::fromUtf8(f.caption), page);
        m_texts[i] = new QLineEdit(page);
        m_texts[i]->setObjectName(QStringLiteral("edt") + QLatin1String(f.name));
        m_texts[i]->setMaxLength(f.width);
        grid->addWidget(m_textOn[i], line, 0);
        grid->addWidget(m_texts[i], line++, 1, 1, 2);
    }
    m_noteOn = wizardCheck("chkPoznamka", QStringLiteral("Poznámku"), page);
    m_note = new QPlainTextEdit(page);
    m_note->setObjectName(QStringLiteral("edtPoznamka"));
    grid->addWidget(m_noteOn, line, 0, Qt::AlignTop);
    grid->addWidget(m_note, line++, 1, 1, 2);

    m_identifiersOn = wizardCheck("chkIdentif", QStringLiteral("Identifikátory"), page);
    m_identifierAction = new QComboBox(page);
    m_identifierAction->setObjectName(QStringLiteral("cmbIdentif"));
    m_identifierAction->addItems(catalogue::BulkItemUpdateWizardLogic::identifierActionTexts());
    m_identifiers = new QLineEdit(page);
    m_identifiers->setObjectName(QStringLiteral("edtIdentif"));
    m_identifiers->setReadOnly(true);
    m_identifiersEdit = wizardButton("btnIdentif", QStringLiteral("..."), page);
    m_identifiersEdit->setToolTip(QStringLiteral("Úprava identifikátorů"));
    auto* identifiers = new QHBoxLayout;
    identifiers->addWidget(m_identifierAction);
    identifiers->addWidget(m_identifiers, 1);
    identifiers->addWidget(m_identifiersEdit);
    grid->addWidget(m_identifiersOn, line, 0);
    grid->addLayout(identifiers, line++, 1, 1, 2);

    m_availabilityOn = wizardCheck("chkDostupnost", QStringLiteral("Dostupnost"), page);
    m_availability = new QComboBox(page);
    m_availability->setObjectName(QStringLiteral("cmbDostupnost"));
    m_availability->addItems(catalogue::ItemCard::availabilityCaptions());
    grid->addWidget(m_availabilityOn, line, 0);
    grid->addWidget(m_availability, line++, 1);

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(grid);
    layout->addStretch();

    const auto changed = [this] {
        storeSettings();
        showSettings();
    };
    for (QCheckBox* box : m_textOn)
        connect(box, &QCheckBox::toggled, this, changed);
    for (QCheckBox* box : {m_noteOn, m_identifiersOn, m_availabilityOn})
        connect(box, &QCheckBox::toggled, this, changed);
    connect(m_identifiersEdit, &QPushButton::clicked, this, [this] {
        storeSettings();
        m_logic.editIdentifiers();
        showSettings();
    });
    return page;
}

void BulkItemUpdateWizard::storeSettings() {
    if (m_syncing)
        return;
    catalogue::BulkUpdateSettings s = m_logic.settings();
    for (std::size_t i = 0; i < kTextFields.size(); ++i)
        s.*kTextFields[i].field = {m_textOn[i]->isChecked(), m_texts[i]->text()};
    s.poznamka = {m_noteOn->isChecked(), m_note->toPlainText()};
    s.identifiersOn = m_identifiersOn->isChecked();
    s.identifierAction =
        static_cast<catalogue::IdentifierAction>(m_identifierAction->currentIndex());
    s.availabilityOn = m_availabilityOn->isChecked();
    s.availability = m_availability->currentIndex();
    m_logic.setSettings(s);
}

void BulkItemUpdateWizard::showSettings() {
    m_syncing = true;
    const catalogue::BulkUpdateSettings& s = m_logic.settings();
    for (std::size_t i = 0; i < kTextFields.size(); ++i)
        m_texts[i]->setEnabled((s.*kTextFields[i].field).on);
    m_note->setEnabled(s.poznamka.on);
    m_identifierAction->setEnabled(s.identifiersOn);
    m_identifiers->setText(s.identifiers);
    m_identifiers->setEnabled(s.identifiersOn);
    m_identifiersEdit->setEnabled(s.identifiersOn);
    m_availability->setEnabled(s.availabilityOn);
    m_syncing = false;
}

} // namespace orvento::ui
