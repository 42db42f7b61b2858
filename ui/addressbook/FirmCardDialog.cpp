#include "ui/addressbook/FirmCardDialog.h"

#include "core/AppContext.h"
#include "core/Navigator.h"
#include "core/ProgramState.h"
#include "core/ShellOperations.h"
#include "ui/DocumentLinkDialog.h"
#include "ui/FileTypeIcons.h"
#include "ui/Help.h"
#include "ui/addressbook/AresVerificationDialog.h"
#include "ui/addressbook/ContactDialog.h"
#include "ui/addressbook/FirmDocumentLinks.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace orvento::ui {

namespace {

using addressbook::FirmCardMode;

// The documents grid's first column shows only the file type's icon.
constexpr int kIconColumnWidth = 24;

struct FieldSpec {
    const char* column;
    const char* caption;
    int length;
};

// The card's line fields in their order on the card.
const FieldSpec kFields[] = {
    {"Nazev", "Název", 50},    {"Ulice", "Ulice", 30},       {"Psc", "PSČ", 10},
    {"Misto", "Místo", 40},    {"Stat", "Stát", 20},         {"ICO", "IČ", 10},
    {"DIC", "DIČ", 20},        {"Telefon", "Telefon", 30},   {"Fax", "Fax", 30},
    {"Email", "E-mail", 50},   {"WWW", "Internet", 50},      {"EANKod", "EAN kód", 20},
    {"Zprava", "Zpráva", 255}, {"CenHladina", "Hladina", 10}};

QString* memberOf(addressbook::Firm& firm, const QString& column) {
    static const std::map<QString, QString addressbook::Firm::*> members = {
        {QStringLiteral("Nazev"), &addressbook::Firm::Nazev},
        {QStringLiteral("Ulice"), &addressbook::Firm::Ulice},
        {QStringLiteral("Psc"), &addressbook::Firm::Psc},
        {QStringLiteral("Misto"), &addressbook::Firm::Misto},
        {QStringLiteral("Stat"), &addressbook::Firm::Stat},
        {QStringLiteral("ICO"), &addressbook::Firm::ICO},
        {QStringLiteral("DIC"), &addressbook::Firm::DIC},
        {QStringLiteral("Telefon"), &addressbook::Firm::Telefon},
        {QStringLiteral("Fax"), &addressbook::Firm::Fax},
        {QStringLiteral("Email"), &addressbook::Firm::Email},
        {QStringLiteral("WWW"), &addressbook::Firm::WWW},
        {QStringLiteral("EANKod"), &addressbook::Firm::EANKod},
        {QStringLiteral("Zprava"), &addressbook::Firm::Zprava},
        {QStringLiteral("CenHladina"), &addressbook::Firm::CenHladina}};
    const auto it = members.find(column);
    return it == members.end() ? nullptr : &(firm.*(it->second));
}

QTableWidget* makeGrid(const char* name, const QStringList& titles, QWidget* parent) {
    auto* grid = new QTableWidget(0, static_cast<int>(titles.size()), parent);
    grid->setObjectName(QString::fromLatin1(name));
    grid->setHorizontalHeaderLabels(titles);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->setWordWrap(false);
    return grid;
}

QPushButton* makeButton(const QString& text, const char* name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

// Lays out a tab page: the grid with its buttons beside it, top to bottom.
QWidget* layOutGridPage(QWidget* page, QTableWidget* grid,
                        std::initializer_list<QPushButton*> buttons) {
    auto* column = new QVBoxLayout;
    for (QPushButton* b : buttons)
        column->addWidget(b);
    column->addStretch();
    auto* layout = new QHBoxLayout(page);
    layout->addWidget(grid, 1);
    layout->addLayout(column);
    return page;
}

QToolButton* makeToolButton(const QString& text, const QString& hint, const char* name,
                            QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(text);
    button->setToolTip(hint);
    return button;
}

} // namespace

FirmCardDialog::FirmCardDialog(core::AppContext& context, addressbook::FirmCard& card,
                               QWidget* parent)
    : QDialog(parent)
    , m_context(context)
    , m_card(card)
    , m_poznamka(new QPlainTextEdit(this))
    , m_tabs(new QTabWidget(this))
    , m_contacts(
          makeGrid("grKontakty",
                   {QStringLiteral("Příjmení"), QStringLiteral("Jméno"), QStringLiteral("Ulice"),
                    QStringLiteral("PSČ"), QStringLiteral("Místo"), QStringLiteral("Telefon"),
                    QStringLiteral("Mobil"), QStringLiteral("E-mail"), QStringLiteral("Funkce")},
                   this))
    , m_documents(makeGrid("grDokumenty",
                           {QString(), QStringLiteral("Popis"), QStringLiteral("Odkaz na soubor")},
                           this))
    , m_editContact(makeButton(QStringLiteral("Opravit kontakt"), "btnOpravitKontakt", this))
    , m_removeContact(makeButton(QStringLiteral("Vyjmout kontakt"), "btnVyjmoutKontakt", this))
    , m_openDocument(makeButton(QStringLiteral("Otevřít &dokument"), "btnOtevritDokument", this))
    , m_editDocument(makeButton(QStringLiteral("&Opravit odkaz"), "btnOpravitOdkaz", this))
    , m_removeDocument(makeButton(QStringLiteral("&Vyjmout odkaz"), "btnVyjmoutOdkaz", this))
    , m_ok(nullptr) {
    setObjectName(QStringLiteral("frmAdrKart"));
    setWindowTitle(card.caption());
    m_poznamka->setObjectName(QStringLiteral("mtPoznamka"));

    QGridLayout* fields = buildFields();
    m_tabs->addTab(buildContactsPage(), QStringLiteral("Kontakty"));
    m_tabs->addTab(buildDocumentsPage(), QStringLiteral("Dokumenty"));
    QDialogButtonBox* box = buildButtonBox();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(m_tabs, 1);
    layout->addWidget(box);
    installHelpKey(this, addressbook::FirmCard::helpTopic());
    resize(760, 720);

    if (!card.editable())
        showReadOnly();
    showFirm();
    showContacts();
    showDocuments();
    m_fields[QStringLiteral("Nazev")]->setFocus();
}

QGridLayout* FirmCardDialog::buildFields() {
    auto* fields = new QGridLayout;
    int row = 0;
    for (const FieldSpec& spec : kFields) {
        const QString column = QString::fromLatin1(spec.column);
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("edt") + column);
        edit->setMaxLength(spec.length);
        m_fields[column] = edit;
        fields->addWidget(new QLabel(QString::fromUtf8(spec.caption), this), row, 0);
        fields->addWidget(edit, row, 1);
        addFieldTools(*fields, row, column, edit);
        ++row;
    }
    fields->addWidget(new QLabel(QStringLiteral("Poznámka"), this), row, 0, Qt::AlignTop);
    fields->addWidget(m_poznamka, row, 1, 1, 2);
    m_poznamka->setMaximumHeight(80);
    return fields;
}

void FirmCardDialog::addFieldTools(QGridLayout& fields, int row, const QString& column,
                                   QLineEdit* edit) {
    if (column == QLatin1String("Psc")) {
        auto* pick = makeToolButton(QStringLiteral("..."),
                                    QStringLiteral("Výběr PSČ a Místa ze seznamu"), "btnPSC", this);
        connect(pick, &QToolButton::clicked, this, &FirmCardDialog::pickPostCode);
        fields.addWidget(pick, row, 2);
        edit->installEventFilter(this);
    } else if (column == QLatin1String("ICO")) {
        auto* ares = makeToolButton(QStringLiteral("ARES"),
                                    QStringLiteral("Ověření IČ z internetového registru ARES"),
                                    "btnAres", this);
        connect(ares, &QToolButton::clicked, this, &FirmCardDialog::checkInRegister);
        fields.addWidget(ares, row, 2);
    } else if (column == QLatin1String("Email")) {
        auto* mail = makeToolButton(QStringLiteral("@"), QStringLiteral("Zaslání e-mailu"),
                                    "btnEmail", this);
        connect(mail, &QToolButton::clicked, this,
                [edit] { core::shell::openMailLink(edit->text().trimmed()); });
        fields.addWidget(mail, row, 2);
    } else if (column == QLatin1String("WWW")) {
        auto* web =
            makeToolButton(QStringLiteral("www"), QStringLiteral("Navštívení internetové stránky"),
                           "btnWWW", this);
        connect(web, &QToolButton::clicked, this,
                [edit] { core::shell::openWebAddress(edit->text().trimmed()); });
        fields.addWidget(web, row, 2);
    } else if (column == QLatin1String("CenHladina")) {
        edit->setReadOnly(true);
        auto* pick = makeToolButton(QStringLiteral("..."), QStringLiteral("Výběr cenové hladiny"),
                                    "btnHladina", this);
        auto* clear = makeToolButton(QStringLiteral("X"), QStringLiteral("Zrušení cenové hladiny"),
                                     "btnZrusitHladinu", this);
        connect(pick, &QToolButton::clicked, this, &FirmCardDialog::pickPriceLevel);
        connect(clear, &QToolButton::clicked, this, &FirmCardDialog::clearPriceLevel);
        auto* buttons = new QHBoxLayout;
        buttons->addWidget(pick);
        buttons->addWidget(clear);
        fields.addLayout(buttons, row, 2);
    }
}

QWidget* FirmCardDialog::buildContactsPage() {
    auto* page = new QWidget(this);
    auto* addContactButton = makeButton(QStringLiteral("Přidat kontakt"), "btnPridatKontakt", this);
    connect(addContactButton, &QPushButton::clicked, this, &FirmCardDialog::addContact);
    connect(m_editContact, &QPushButton::clicked, this, &FirmCardDialog::editContact);
    connect(m_removeContact, &QPushButton::clicked, this, &FirmCardDialog::removeContact);
    connect(m_contacts, &QTableWidget::cellDoubleClicked, this, &FirmCardDialog::editContact);
    return layOutGridPage(page, m_contacts, {addContactButton, m_editContact, m_removeContact});
}

QWidget* FirmCardDialog::buildDocumentsPage() {
    auto* page = new QWidget(this);
    auto* addDocumentButton = makeButton(QStringLiteral("&Přidat odkaz"), "btnPridatOdkaz", this);
    connect(addDocumentButton, &QPushButton::clicked, this, &FirmCardDialog::addDocument);
    connect(m_editDocument, &QPushButton::clicked, this, &FirmCardDialog::editDocument);
    connect(m_removeDocument, &QPushButton::clicked, this, &FirmCardDialog::removeDocument);
    connect(m_openDocument, &QPushButton::clicked, this, &FirmCardDialog::openDocument);
    connect(m_documents, &QTableWidget::cellDoubleClicked, this, &FirmCardDialog::openDocument);
    m_documents->setColumnWidth(0, kIconColumnWidth);
    return layOutGridPage(page, m_documents,
                          {m_openDocument, addDocumentButton, m_editDocument, m_removeDocument});
}

QDialogButtonBox* FirmCardDialog::buildButtonBox() {
    auto* box = new QDialogButtonBox(this);
    m_ok = box->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    m_ok->setObjectName(QStringLiteral("btnOK"));
    m_ok->setDefault(true);
    QPushButton* cancel = box->addButton(QStringLiteral("Storno"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("btnStorno"));
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // A card that cannot save has no OK.
    m_ok->setVisible(!m_card.viewOnly());
    m_ok->setEnabled(m_card.editable());
    return box;
}

// A card that cannot save shows the firm without offering changes.
void FirmCardDialog::showReadOnly() {
    for (auto& [column, edit] : m_fields)
        edit->setReadOnly(true);
    m_poznamka->setReadOnly(true);
    for (const char* name : {"btnPSC", "btnAres", "btnHladina", "btnZrusitHladinu",
                             "btnPridatKontakt", "btnPridatOdkaz"})
        if (auto* button = findChild<QAbstractButton*>(QString::fromLatin1(name)))
            button->setEnabled(false);
}

std::optional<qint64> FirmCardDialog::open(core::AppContext& context, FirmCardMode mode,
                                           qint64 firmId, QWidget* parent,
                                           const QString& icoToLoad) {
    addressbook::FirmCard card(core::programState().db->agenda, core::programState().db->global,
                               context.ui());
    if (!card.open(mode, firmId))
        return std::nullopt;
    if (!icoToLoad.isEmpty())
        card.loadFromRegister(icoToLoad);
    FirmCardDialog dialog(context, card, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return card.savedId();
}

QLineEdit* FirmCardDialog::field(const QString& column) const {
    const auto it = m_fields.find(column);
    return it == m_fields.end() ? nullptr : it->second;
}

void FirmCardDialog::showFirm() {
    addressbook::Firm& firm = m_card.firm();
    for (auto& [column, edit] : m_fields)
        if (const QString* value = memberOf(firm, column))
            edit->setText(*value);
    m_poznamka->setPlainText(firm.Poznamka);
}

void FirmCardDialog::takeFields() {
    addressbook::Firm& firm = m_card.firm();
    for (auto& [column, edit] : m_fields)
        if (QString* value = memberOf(firm, column))
            *value = edit->text().trimmed();
    firm.Poznamka = m_poznamka->toPlainText();
}

int FirmCardDialog::currentRow(QTableWidget* grid) const {
    return grid->currentRow();
}

void FirmCardDialog::showContacts(int current) {
    const auto& contacts = m_card.contacts();
    m_contacts->setRowCount(static_cast<int>(contacts.size()));
    for (int r = 0; r < static_cast<int>(contacts.size()); ++r) {
        const addressbook::Contact& c = contacts[static_cast<size_t>(r)];
        const QStringList texts = {c.Prijmeni, c.Jmeno, c.Ulice, c.PSC,   c.Misto,
                                   c.Telefon,  c.Mobil, c.Email, c.Funkce};
        for (int col = 0; col < texts.size(); ++col) {
            auto* item = new QTableWidgetItem(texts.at(col));
            if (c.Zobrazit) {
                QFont font = item->font();
                font.setBold(true);
                item->setFont(font);
            }
            m_contacts->setItem(r, col, item);
        }
    }
    if (!contacts.empty())
        m_contacts->setCurrentCell(std::clamp(current, 0, static_cast<int>(contacts.size()) - 1),
                                   0);
    updateButtons();
}

void FirmCardDialog::showDocuments(int current) {
    const auto& documents = m_card.documents();
    FileTypeIcons icons;
    m_documents->setRowCount(static_cast<int>(documents.size()));
    for (int r = 0; r < static_cast<int>(documents.size()); ++r) {
        const addressbook::FirmDocument& d = documents[static_cast<size_t>(r)];
        const QIcon own = icons.of(m_card.pathOf(d));
        auto* icon = new QTableWidgetItem;
        icon->setIcon(own.isNull() ? icons.plainFile() : own);
        m_documents->setItem(r, 0, icon);
        m_documents->setItem(r, 1, new QTableWidgetItem(d.Popis));
        m_documents->setItem(r, 2, new QTableWidgetItem(d.File));
    }
    if (!documents.empty())
        m_documents->setCurrentCell(std::clamp(current, 0, static_cast<int>(documents.size()) - 1),
                                    1);
    updateButtons();
}

void FirmCardDialog::updateButtons() {
    const bool contacts = !m_card.contacts().empty();
    m_editContact->setEnabled(contacts);
    m_removeContact->setEnabled(contacts && m_card.editable());
    const bool documents = !m_card.documents().empty();
    m_openDocument->setEnabled(documents);
    m_editDocument->setEnabled(documents);
    m_removeDocument->setEnabled(documents && m_card.editable());
}

void FirmCardDialog::addContact() {
    ContactDialog dialog(m_context, m_card, std::nullopt, this);
    if (dialog.exec() == QDialog::Accepted)
        showContacts(currentRow(m_contacts));
}

void FirmCardDialog::editContact() {
    const int row = currentRow(m_contacts);
    if (row < 0)
        return;
    ContactDialog dialog(m_context, m_card, static_cast<size_t>(row), this);
    if (dialog.exec() == QDialog::Accepted)
        showContacts(row);
}

void FirmCardDialog::removeContact() {
    const int row = currentRow(m_contacts);
    if (row >= 0 && m_card.removeContact(static_cast<size_t>(row)))
        showContacts(row);
}

void FirmCardDialog::addDocument() {
    FirmDocumentLinks links(m_card);
    if (DocumentLinkDialog::add(m_context.ui(), links, this))
        showDocuments(currentRow(m_documents));
}

void FirmCardDialog::editDocument() {
    const int row = currentRow(m_documents);
    FirmDocumentLinks links(m_card);
    if (row >= 0 && DocumentLinkDialog::edit(m_context.ui(), links, static_cast<size_t>(row), this))
        showDocuments(row);
}

void FirmCardDialog::removeDocument() {
    const int row = currentRow(m_documents);
    if (row >= 0 && m_card.removeDocument(static_cast<size_t>(row)))
        showDocuments(row);
}

void FirmCardDialog::openDocument() {
    const int row = currentRow(m_documents);
    if (row < 0 || static_cast<size_t>(row) >= m_card.documents().size())
        return;
    core::shell::openFile(m_card.pathOf(m_card.documents()[static_cast<size_t>(row)]),
                          m_context.ui());
}

void FirmCardDialog::pickPostCode() {
    const auto pending = m_context.navigator().pickPostCode();
    if (!pending->answered() || pending->result().status != core::NavigationStatus::Done ||
        pending->result().ids.empty())
        return;
    QString psc;
    QString misto;
    if (m_card.takePostCode(pending->result().ids.front(), psc, misto)) {
        m_fields[QStringLiteral("Psc")]->setText(psc);
        m_fields[QStringLiteral("Misto")]->setText(misto);
    }
}

void FirmCardDialog::checkInRegister() {
    if (!m_card.editable())
        return;
    takeFields();
    const bool changed =
        m_card.registerCommand([this](const addressbook::AresVerification& verification) {
            return AresVerificationDialog::ask(verification, this);
        });
    if (!changed)
        return;
    const addressbook::Firm& firm = m_card.firm();
    m_fields[QStringLiteral("Nazev")]->setText(firm.Nazev);
    m_fields[QStringLiteral("Ulice")]->setText(firm.Ulice);
    m_fields[QStringLiteral("Psc")]->setText(firm.Psc);
    m_fields[QStringLiteral("Misto")]->setText(firm.Misto);
    m_fields[QStringLiteral("ICO")]->setText(firm.ICO);
}

void FirmCardDialog::pickPriceLevel() {
    QLineEdit* level = m_fields[QStringLiteral("CenHladina")];
    const auto pending = m_context.navigator().pickPriceLevel(level->text());
    if (pending->answered() && pending->result().status == core::NavigationStatus::Done)
        level->setText(pending->result().code);
}

void FirmCardDialog::clearPriceLevel() {
    m_fields[QStringLiteral("CenHladina")]->clear();
}

bool FirmCardDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && m_card.editable() &&
        watched == m_fields[QStringLiteral("Psc")]) {
        QLineEdit* place = m_fields[QStringLiteral("Misto")];
        QString misto = place->text();
        m_card.completePlace(m_fields[QStringLiteral("Psc")]->text(), misto);
        place->setText(misto);
    }
    return QDialog::eventFilter(watched, event);
}

void FirmCardDialog::accept() {
    if (!m_card.editable())
        return;
    takeFields();
    switch (m_card.confirm()) {
    case catalogue::CardOutcome::StayOpen:
        if (m_card.firm().Nazev.trimmed().isEmpty())
            m_fields[QStringLiteral("Nazev")]->setFocus();
        return;
    case catalogue::CardOutcome::Saved:
        QDialog::accept();
        return;
    case catalogue::CardOutcome::SaveFailed:
        // The card stays open with every edit, to be saved again or left with "Storno".
        return;
    }
}

} // namespace orvento::ui
