#include "ui/addressbook/ContactDialog.h"

#include "core/AppContext.h"
#include "core/Navigator.h"
#include "ui/DialogButtons.h"
#include "ui/Help.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace orvento::ui {

namespace {

QLineEdit* textField(const char* name, int width, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(width);
    return edit;
}

QComboBox* titleField(const char* name, const QStringList& titles, int width, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setEditable(true);
    box->addItem(QString());
    box->addItems(titles);
    box->lineEdit()->setMaxLength(width);
    return box;
}

} // namespace

ContactDialog::ContactDialog(core::AppContext& context, addressbook::FirmCard& card,
                             std::optional<size_t> index, QWidget* parent)
    : QDialog(parent)
    , m_context(context)
    , m_card(card)
    , m_index(index)
    , m_titulPred(titleField("cbxTitulPred", addressbook::FirmCard::titlesBefore(), 15, this))
    , m_titulZa(titleField("cbxTitulZa", addressbook::FirmCard::titlesAfter(), 20, this))
    , m_prijmeni(textField("edtPrijmeni", 30, this))
    , m_jmeno(textField("edtJmeno", 20, this))
    , m_funkce(textField("edtFunkce", 35, this))
    , m_ulice(textField("edtUlice", 30, this))
    , m_psc(textField("edtPSC", 10, this))
    , m_misto(textField("edtMisto", 40, this))
    , m_telefon(textField("edtTelefon", 30, this))
    , m_mobil(textField("edtMobil", 30, this))
    , m_email(textField("edtEmail", 50, this))
    , m_poznamka(new QPlainTextEdit(this))
    , m_zobrazit(new QCheckBox(QStringLiteral("primární kontakt (zobrazí se v nabídce)"), this)) {
    setObjectName(QStringLiteral("frmKontakt"));
    setWindowTitle(QStringLiteral("Kontakt adresy"));
    m_poznamka->setObjectName(QStringLiteral("mtPoznamka"));
    m_zobrazit->setObjectName(QStringLiteral("chckZobrazit"));

    const addressbook::Contact contact =
        index && *index < card.contacts().size() ? card.contacts()[*index] : card.newContact();
    m_titulPred->setCurrentText(contact.TitulPred);
    m_titulZa->setCurrentText(contact.TitulZa);
    m_prijmeni->setText(contact.Prijmeni);
    m_jmeno->setText(contact.Jmeno);
    m_funkce->setText(contact.Funkce);
    m_ulice->setText(contact.Ulice);
    m_psc->setText(contact.PSC);
    m_misto->setText(contact.Misto);
    m_telefon->setText(contact.Telefon);
    m_mobil->setText(contact.Mobil);
    m_email->setText(contact.Email);
    m_poznamka->setPlainText(contact.Poznamka);
    m_zobrazit->setChecked(contact.Zobrazit);

    auto* pickPsc = new QToolButton(this);
    pickPsc->setObjectName(QStringLiteral("btnPSC"));
    pickPsc->setText(QStringLiteral("..."));
    pickPsc->setToolTip(QStringLiteral("Výběr PSČ a Místa ze seznamu"));
    connect(pickPsc, &QToolButton::clicked, this, &ContactDialog::pickPostCode);
    m_psc->installEventFilter(this);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Titul před"), m_titulPred);
    form->addRow(QStringLiteral("Příjmení"), m_prijmeni);
    form->addRow(QStringLiteral("Jméno"), m_jmeno);
    form->addRow(QStringLiteral("Titul za"), m_titulZa);
    form->addRow(QStringLiteral("Funkce"), m_funkce);
    form->addRow(QStringLiteral("Ulice"), m_ulice);
    auto* pscRow = new QHBoxLayout;
    pscRow->addWidget(m_psc);
    pscRow->addWidget(pickPsc);
    form->addRow(QStringLiteral("PSČ"), pscRow);
    form->addRow(QStringLiteral("Místo"), m_misto);
    form->addRow(QStringLiteral("Telefon"), m_telefon);
    form->addRow(QStringLiteral("Mobil"), m_mobil);
    form->addRow(QStringLiteral("E-mail"), m_email);
    form->addRow(QStringLiteral("Poznámka"), m_poznamka);
    form->addRow(QString(), m_zobrazit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(okCancelButtons(this));
    installHelpKey(this, QStringLiteral("pgKontakt.htm"));
    m_prijmeni->setFocus();
    // A card that cannot save shows its contacts without offering changes.
    if (!card.editable()) {
        for (QLineEdit* edit : findChildren<QLineEdit*>())
            edit->setReadOnly(true);
        m_poznamka->setReadOnly(true);
        for (QWidget* control :
             std::initializer_list<QWidget*>{m_titulPred, m_titulZa, m_zobrazit, pickPsc})
            control->setEnabled(false);
        if (auto* ok = findChild<QPushButton*>(QStringLiteral("btnOK")))
            ok->hide();
        // Enter closes the view as Esc does.
        if (auto* close = findChild<QPushButton*>(QStringLiteral("btnStorno")))
            close->setDefault(true);
    }
}

bool ContactDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_psc && event->type() == QEvent::FocusOut && m_card.editable()) {
        QString place = m_misto->text();
        m_card.completePlace(m_psc->text(), place);
        m_misto->setText(place);
    }
    return QDialog::eventFilter(watched, event);
}

void ContactDialog::pickPostCode() {
    const auto pending = m_context.navigator().pickPostCode();
    if (!pending->answered() || pending->result().status != core::NavigationStatus::Done ||
        pending->result().ids.empty())
        return;
    QString psc;
    QString misto;
    if (m_card.takePostCode(pending->result().ids.front(), psc, misto)) {
        m_psc->setText(psc);
        m_misto->setText(misto);
    }
}

void ContactDialog::accept() {
    if (!m_card.editable()) {
        QDialog::reject();
        return;
    }
    addressbook::Contact contact = m_index && *m_index < m_card.contacts().size()
                                       ? m_card.contacts()[*m_index]
                                       : addressbook::Contact{};
    contact.TitulPred = m_titulPred->currentText().trimmed();
    contact.TitulZa = m_titulZa->currentText().trimmed();
    contact.Prijmeni = m_prijmeni->text().trimmed();
    contact.Jmeno = m_jmeno->text().trimmed();
    contact.Funkce = m_funkce->text().trimmed();
    contact.Ulice = m_ulice->text().trimmed();
    contact.PSC = m_psc->text().trimmed();
    contact.Misto = m_misto->text().trimmed();
    contact.Telefon = m_telefon->text().trimmed();
    contact.Mobil = m_mobil->text().trimmed();
    contact.Email = m_email->text().trimmed();
    contact.Poznamka = m_poznamka->toPlainText();
    contact.Zobrazit = m_zobrazit->isChecked();
    if (!m_card.storeContact(m_index, contact)) {
        m_prijmeni->setFocus();
        return;
    }
    QDialog::accept();
}

} // namespace orvento::ui
