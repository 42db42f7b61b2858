#include "ui/import/DefinitionEditorDialog.h"

#include "catalogue/PriceLevelRecords.h"
#include "ui/CardWidgets.h"
#include "ui/DialogButtons.h"
#include "ui/Help.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace orvento::ui {

namespace {

using import::AddressField;
using import::PriceListField;
using import::ValueSource;

constexpr int kNameWidth = 50;
constexpr int kColumnListWidth = 190;
constexpr int kFixedDecimals = 2;
constexpr int kNoteRows = 10;

struct RowCaption {
    const char* name;
    const char* caption;
};

// The price-list rows in the order of PriceListField.
constexpr std::array<RowCaption, import::kPriceListFieldCount> kPriceCaptions = {{
    {"Popis", "Popis položky"},
    {"Katalog", "Katalogové číslo"},
    {"BarCode", "Čárový kód"},
    {"PLU", "PLU"},
    {"Poznamka", "Poznámka"},
    {"Zkratka", "Zkratka"},
    {"TextMJ", "Měrná jednotka"},
    {"SazbaDPH", "Sazba DPH"},
    {"Obrazek", "Obrázek (jméno soub.)"},
    {"NakCena", "Nák. cena bez DPH"},
    {"Hodnota", "Hodnota"},
    {"ProdCena", "Zákl. prodejní cena *)"},
}};

// The address rows in the order of AddressField.
constexpr std::array<RowCaption, import::kAddressFieldCount> kAddressCaptions = {{
    {"NazevAdr", "Název firmy"},
    {"UliceAdr", "Ulice"},
    {"PSCAdr", "PSČ"},
    {"MistoAdr", "Místo"},
    {"StatAdr", "Stát"},
    {"ICOAdr", "IČ"},
    {"DICAdr", "DIČ"},
    {"ZpravaAdr", "Zpráva"},
    {"TelefonAdr", "Telefon"},
    {"FaxAdr", "Fax"},
    {"EmailAdr", "E-mail"},
    {"InternetAdr", "Internet"},
    {"EANAdr", "EAN kód"},
    {"PoznamkaAdr", "Poznámka"},
}};

QComboBox* choiceBox(const QString& name, const QStringList& items, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->addItems(items);
    return box;
}

QCheckBox* checkBox(const char* name, const QString& caption, QWidget* parent) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

QRadioButton* radio(const char* name, const QString& caption, QWidget* parent) {
    auto* button = new QRadioButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

// The small text dialog in which "Poznámka" edits the description.
std::optional<QString> editText(const QString& text, QWidget* parent) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("frmPoznamka"));
    dialog.setWindowTitle(QStringLiteral("Poznámka"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* edit = new QPlainTextEdit(text, &dialog);
    edit->setObjectName(QStringLiteral("mtPopis"));
    edit->setMinimumHeight(edit->fontMetrics().lineSpacing() * kNoteRows);
    layout->addWidget(edit);
    layout->addWidget(okCancelButtons(&dialog));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return edit->toPlainText();
}

} // namespace

DefinitionEditorDialog::DefinitionEditorDialog(import::DefinitionEditor& editor, QWidget* parent)
    : QDialog(parent)
    , m_editor(editor) {
    setObjectName(QStringLiteral("frmImportNastaveni"));
    setWindowTitle(import::DefinitionEditor::caption());
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildCommonPart());
    m_pages = new QStackedWidget(this);
    m_pages->addWidget(buildPriceListPage());
    m_pages->addWidget(buildAddressPage());
    m_pages->addWidget(buildRawPage());
    layout->addWidget(m_pages, 1);
    auto* buttons = okCancelButtons(this);
    m_ok = buttons->findChild<QPushButton*>(QStringLiteral("btnOK"));
    layout->addWidget(buttons);
    installHelpKey(this, import::DefinitionEditor::helpTopic());
    showDefinition();
}

bool DefinitionEditorDialog::run(import::DefinitionEditor& editor, QWidget* parent) {
    DefinitionEditorDialog dialog(editor, parent);
    return dialog.exec() == QDialog::Accepted;
}

QToolButton* DefinitionEditorDialog::pickButton(const char* name, const QString& text,
                                                QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(text);
    return button;
}

QLineEdit* DefinitionEditorDialog::shownChoice(const char* name, QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setReadOnly(true);
    return field;
}

template <typename Command> void DefinitionEditorDialog::command(Command run) {
    collect();
    run();
    showDefinition();
}

QWidget* DefinitionEditorDialog::buildCommonPart() {
    auto* part = new QWidget(this);
    auto* row = new QHBoxLayout(part);
    row->setContentsMargins(0, 0, 0, 0);
    auto* grid = new QGridLayout;
    m_sourceKind = choiceBox(QStringLiteral("cbxTypSouboru"),
                             import::DefinitionEditor::sourceKindTexts(), part);
    grid->addWidget(new QLabel(QStringLiteral("Zdroj dat"), part), 0, 0);
    grid->addWidget(m_sourceKind, 0, 1, 1, 2);
    connect(m_sourceKind, &QComboBox::activated, this, [this](int index) {
        command([&] { m_editor.setSourceKind(static_cast<core::sources::SourceKind>(index)); });
    });

    m_fileName = new QLineEdit(part);
    m_fileName->setObjectName(QStringLiteral("edtNazevSouboru"));
    auto* fileButton = pickButton("btnNazevSouboru", QStringLiteral("..."), part);
    grid->addWidget(new QLabel(QStringLiteral("Název zdrojového souboru"), part), 1, 0);
    grid->addWidget(m_fileName, 1, 1);
    grid->addWidget(fileButton, 1, 2);
    connect(m_fileName, &QLineEdit::editingFinished, this, [this] {
        if (!m_showing)
            command([&] { m_editor.setFileName(m_fileName->text()); });
    });
    connect(fileButton, &QToolButton::clicked, this,
            [this] { command([&] { m_editor.chooseSourceFile(); }); });

    m_tableLabel = new QLabel(part);
    m_tableName = new QLineEdit(part);
    m_tableName->setObjectName(QStringLiteral("edtNazevTabulky"));
    m_tableButton = pickButton("btnNazevTabulky", QStringLiteral("..."), part);
    grid->addWidget(m_tableLabel, 2, 0);
    grid->addWidget(m_tableName, 2, 1);
    grid->addWidget(m_tableButton, 2, 2);
    connect(m_tableButton, &QToolButton::clicked, this,
            [this] { command([&] { m_editor.chooseTable(); }); });

    m_name = new QLineEdit(part);
    m_name->setObjectName(QStringLiteral("edtNazev"));
    m_name->setMaxLength(kNameWidth);
    auto* note = new QPushButton(QStringLiteral("Poznámka"), part);
    note->setObjectName(QStringLiteral("btnPoznamka"));
    note->setAutoDefault(false);
    grid->addWidget(new QLabel(QStringLiteral("Název definice"), part), 3, 0);
    grid->addWidget(m_name, 3, 1);
    grid->addWidget(note, 3, 2);
    connect(note, &QPushButton::clicked, this, &DefinitionEditorDialog::editNote);
    grid->setColumnStretch(1, 1);
    row->addLayout(grid, 1);

    auto* kind = new QGroupBox(QStringLiteral("Typ operace"), part);
    auto* kindLayout = new QVBoxLayout(kind);
    m_kindText = new QLabel(kind);
    m_kindText->setObjectName(QStringLiteral("lblTypOperace"));
    kindLayout->addWidget(m_kindText);
    row->addWidget(kind, 0, Qt::AlignTop);
    return part;
}

DefinitionEditorDialog::FieldRow DefinitionEditorDialog::makeRow(const QString& name,
                                                                 const QString& caption,
                                                                 bool numeric, int width,
                                                                 QWidget* parent) {
    FieldRow row;
    row.check = new QCheckBox(caption, parent);
    row.check->setObjectName(QStringLiteral("chck") + name);
    row.source = choiceBox(QStringLiteral("cbxSource") + name,
                           {QStringLiteral("z databáze"), QStringLiteral("pevná hodnota")}, parent);
    row.value = new QStackedWidget(parent);
    row.column = new QComboBox(row.value);
    row.column->setObjectName(QStringLiteral("cbxValue") + name);
    row.column->setEditable(true);
    row.column->setMinimumWidth(kColumnListWidth);
    row.value->addWidget(row.column);
    if (numeric) {
        row.number = new NumberField(kFixedDecimals, row.value);
        row.number->setObjectName(QStringLiteral("curValue") + name);
        row.value->addWidget(row.number);
    } else {
        row.text = new QLineEdit(row.value);
        row.text->setObjectName(QStringLiteral("edtValue") + name);
        if (width > 0)
            row.text->setMaxLength(width);
        row.value->addWidget(row.text);
    }
    connect(row.check, &QCheckBox::toggled, this, [this] { showEnabling(); });
    connect(row.source, &QComboBox::currentIndexChanged, this, [this] { showEnabling(); });
    return row;
}

QWidget* DefinitionEditorDialog::buildPriceListPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("tsImportCeniku"));
    auto* layout = new QHBoxLayout(page);
    auto* fields = new QGroupBox(page);
    auto* grid = new QGridLayout(fields);
    grid->addWidget(new QLabel(QStringLiteral("Přiřazení proměnných:"), fields), 0, 0, 1, 4);
    for (std::size_t i = 0; i < import::kPriceListFieldCount; ++i) {
        const auto field = static_cast<PriceListField>(i);
        const QString name = QString::fromLatin1(kPriceCaptions[i].name);
        m_priceRows[i] = makeRow(name, QString::fromUtf8(kPriceCaptions[i].caption),
                                 import::isNumberField(field),
                                 import::DefinitionEditor::priceListFieldWidth(field), fields);
        const int at = static_cast<int>(i) + 1;
        grid->addWidget(m_priceRows[i].check, at, 0);
        grid->addWidget(m_priceRows[i].source, at, 1);
        grid->addWidget(m_priceRows[i].value, at, 2);
        if (field == PriceListField::Hodnota) {
            m_valueKind =
                choiceBox(QStringLiteral("cbxTypHodnota"),
                          {QStringLiteral("pevná marže"), QStringLiteral("pevný rabat")}, fields);
            grid->addWidget(m_valueKind, at, 3);
        } else if (field == PriceListField::ProdCena) {
            auto* basis = new QWidget(fields);
            auto* basisRow = new QHBoxLayout(basis);
            basisRow->setContentsMargins(0, 0, 0, 0);
            basisRow->addWidget(new QLabel(QStringLiteral(">>> typ ceny"), basis));
            m_salePriceBasis = choiceBox(QStringLiteral("cbxProdCenaTypCeny"),
                                         catalogue::priceTypeCaptions(), basis);
            basisRow->addWidget(m_salePriceBasis);
            grid->addWidget(basis, at, 3);
        }
    }
    grid->setRowStretch(static_cast<int>(import::kPriceListFieldCount) + 1, 1);
    layout->addWidget(fields, 1);

    auto* right = new QVBoxLayout;
    right->addWidget(buildPriceListSettings());
    right->addWidget(buildNewItemsGroup());
    right->addWidget(buildItemsGroup());
    auto* note = new QLabel(import::DefinitionEditor::noteText(), page);
    note->setObjectName(QStringLiteral("lblPoznamka"));
    note->setWordWrap(true);
    right->addWidget(note);
    right->addStretch(1);
    layout->addLayout(right, 1);
    return page;
}

QWidget* DefinitionEditorDialog::buildPriceListSettings() {
    auto* group = new QGroupBox(QStringLiteral("Na importované položky ceníku nastavit"), this);
    auto* grid = new QGridLayout(group);
    m_setPriceGroup = checkBox("chckCenSkup", QStringLiteral("cenovou skupinu"), group);
    m_priceGroup = shownChoice("edtCenSkupina", group);
    auto* pickGroup = pickButton("btnCenSkupina", QStringLiteral("..."), group);
    auto* clearGroup = pickButton("btnCenSkupinaZrusit", QStringLiteral("x"), group);
    grid->addWidget(m_setPriceGroup, 0, 0);
    grid->addWidget(m_priceGroup, 0, 1);
    grid->addWidget(pickGroup, 0, 2);
    grid->addWidget(clearGroup, 0, 3);
    connect(pickGroup, &QToolButton::clicked, this,
            [this] { command([&] { m_editor.choosePriceGroup(); }); });
    connect(clearGroup, &QToolButton::clicked, this,
            [this] { command([&] { m_editor.clearPriceGroup(); }); });

    m_setIdentifiers = checkBox("chckIdentif", QStringLiteral("identifikátory"), group);
    m_identifiers = shownChoice("edtIdentif", group);
    auto* identifiers = pickButton("btnIdentif", QStringLiteral("..."), group);
    identifiers->setToolTip(QStringLiteral("Úprava identifikátorů"));
    connect(identifiers, &QToolButton::clicked, this,
            [this] { command([&] { m_editor.editIdentifiers(); }); });
    grid->addWidget(m_setIdentifiers, 1, 0);
    grid->addWidget(m_identifiers, 1, 1);
    grid->addWidget(identifiers, 1, 2);

    m_setRounding =
        checkBox("chckZaokrouhleni", QStringLiteral("Zaokrouhlení při výpočtu *)"), group);
    m_rounding = choiceBox(QStringLiteral("cbxZaokrouhleni"), catalogue::roundingCaptions(), group);
    grid->addWidget(m_setRounding, 2, 0);
    grid->addWidget(m_rounding, 2, 1, 1, 3);

    m_setPriceType = checkBox("chckTypCeny", QStringLiteral("Typ ceny *)"), group);
    m_priceType = choiceBox(QStringLiteral("cbxTypCeny"), catalogue::priceTypeCaptions(), group);
    grid->addWidget(m_setPriceType, 3, 0);
    grid->addWidget(m_priceType, 3, 1, 1, 3);

    m_setRecompute = checkBox("chckPrepocitat", QStringLiteral("cenu aut. přepočítat *)"), group);
    m_recompute = choiceBox(QStringLiteral("cbxPrepocitat"),
                            {QStringLiteral("ano"), QStringLiteral("ne")}, group);
    auto* by = new QWidget(group);
    auto* byRow = new QHBoxLayout(by);
    byRow->setContentsMargins(0, 0, 0, 0);
    byRow->addWidget(m_recompute);
    byRow->addWidget(new QLabel(QStringLiteral("podle"), by));
    m_recomputeBy =
        choiceBox(QStringLiteral("cbxPrepocPodle"),
                  {QStringLiteral("pevné marže"), QStringLiteral("pevného rabatu")}, by);
    byRow->addWidget(m_recomputeBy);
    grid->addWidget(m_setRecompute, 4, 0);
    grid->addWidget(by, 4, 1, 1, 3);

    m_onlyNew = checkBox("chckNastavNaNove", QStringLiteral("pouze na nově vytvořené"), group);
    grid->addWidget(m_onlyNew, 5, 0, 1, 4);
    grid->setColumnStretch(1, 1);
    for (QCheckBox* box :
         {m_setPriceGroup, m_setIdentifiers, m_setRounding, m_setPriceType, m_setRecompute})
        connect(box, &QCheckBox::toggled, this, [this] { showEnabling(); });
    return group;
}

QWidget* DefinitionEditorDialog::buildNewItemsGroup() {
    auto* group = new QGroupBox(QStringLiteral("Zařazení nových položek"), this);
    auto* grid = new QGridLayout(group);
    m_newSheet = shownChoice("edtIDListu", group);
    auto* sheet = pickButton("btnIDListu", QStringLiteral("..."), group);
    grid->addWidget(new QLabel(QStringLiteral("Zařadit do listu"), group), 0, 0);
    grid->addWidget(m_newSheet, 0, 1);
    grid->addWidget(sheet, 0, 2);
    m_newGroup = shownChoice("edtIDSkup", group);
    auto* pick = pickButton("btnIDSkup", QStringLiteral("..."), group);
    grid->addWidget(new QLabel(QStringLiteral(">>> do skupiny"), group), 1, 0);
    grid->addWidget(m_newGroup, 1, 1);
    grid->addWidget(pick, 1, 2);
    grid->setColumnStretch(1, 1);
    connect(sheet, &QToolButton::clicked, this,
            [this] { command([&] { m_editor.chooseNewItemsSheet(); }); });
    connect(pick, &QToolButton::clicked, this,
            [this] { command([&] { m_editor.chooseNewItemsGroup(); }); });
    return group;
}

QWidget* DefinitionEditorDialog::buildItemsGroup() {
    auto* group = new QGroupBox(QStringLiteral("Položky"), this);
    auto* grid = new QGridLayout(group);
    m_noCompare =
        radio("rbNeporovnavat", QStringLiteral("neporovnávat (přidat vše jako nové)"), group);
    m_compare = radio("rbPorovnavat", QStringLiteral("porovnávat podle"), group);
    m_reference = choiceBox(
        QStringLiteral("cbxRefField"),
        import::DefinitionEditor::referenceTexts(import::DefinitionKind::PriceList), group);
    grid->addWidget(m_noCompare, 0, 0, 1, 3);
    grid->addWidget(m_compare, 1, 0);
    grid->addWidget(m_reference, 1, 1, 1, 2);
    m_createMissing = checkBox("chckNovaPolozka",
                               QStringLiteral("nebude-li položka nalezena, vytvoř novou"), group);
    grid->addWidget(m_createMissing, 2, 0, 1, 3);

    m_filterOn = checkBox("chckHledatPouzeV",
                          QStringLiteral("filtr - hledat referenční položku pouze..."), group);
    grid->addWidget(m_filterOn, 3, 0, 1, 3);
    m_filterSheetOn = checkBox("chckHledatVListu", QStringLiteral("... v listu"), group);
    m_filterSheetOn->setChecked(true);
    m_filterSheet = shownChoice("edtIDListuHledatV", group);
    auto* sheet = pickButton("btnIDListuHledatV", QStringLiteral("..."), group);
    grid->addWidget(m_filterSheetOn, 4, 0);
    grid->addWidget(m_filterSheet, 4, 1);
    grid->addWidget(sheet, 4, 2);
    m_filterGroupOn = checkBox("chckHledatVeSkup", QStringLiteral("... ve skupině"), group);
    m_filterGroup = shownChoice("edtIDSkupHledatV", group);
    auto* pick = pickButton("btnIDSkupHledatV", QStringLiteral("..."), group);
    grid->addWidget(m_filterGroupOn, 5, 0);
    grid->addWidget(m_filterGroup, 5, 1);
    grid->addWidget(pick, 5, 2);
    m_filterOff = new QLabel(import::DefinitionEditor::filterOffText(), group);
    m_filterOff->setObjectName(QStringLiteral("lblFiltrVypnuty"));
    m_filterOff->setWordWrap(true);
    // A wrapped label in a grid is given the height of one line; the text takes two.
    m_filterOff->setMinimumHeight(2 * m_filterOff->fontMetrics().lineSpacing() + 2);
    grid->addWidget(m_filterOff, 6, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    connect(sheet, &QToolButton::clicked, this,
            [this] { command([&] { m_editor.chooseFilterSheet(); }); });
    connect(pick, &QToolButton::clicked, this,
            [this] { command([&] { m_editor.chooseFilterGroup(); }); });
    for (QAbstractButton* button : std::initializer_list<QAbstractButton*>{
             m_compare, m_noCompare, m_filterOn, m_filterGroupOn})
        connect(button, &QAbstractButton::toggled, this, [this] { showEnabling(); });
    return group;
}

QWidget* DefinitionEditorDialog::buildAddressPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("tsImportAdresare"));
    auto* layout = new QHBoxLayout(page);
    auto* fields = new QGroupBox(page);
    auto* grid = new QGridLayout(fields);
    grid->addWidget(new QLabel(QStringLiteral("Přiřazení proměnných:"), fields), 0, 0, 1, 3);
    for (std::size_t i = 0; i < import::kAddressFieldCount; ++i) {
        const auto field = static_cast<AddressField>(i);
        m_addressRows[i] = makeRow(QString::fromLatin1(kAddressCaptions[i].name),
                                   QString::fromUtf8(kAddressCaptions[i].caption), false,
                                   import::DefinitionEditor::addressFieldWidth(field), fields);
        const int at = static_cast<int>(i) + 1;
        grid->addWidget(m_addressRows[i].check, at, 0);
        grid->addWidget(m_addressRows[i].source, at, 1);
        grid->addWidget(m_addressRows[i].value, at, 2);
    }
    grid->setRowStretch(static_cast<int>(import::kAddressFieldCount) + 1, 1);
    layout->addWidget(fields, 1);

    auto* right = new QVBoxLayout;
    auto* settings = new QGroupBox(QStringLiteral("Na import. adresy nastavit"), page);
    auto* settingsGrid = new QGridLayout(settings);
    m_setPriceLevel = checkBox("chckCenHladAdr", QStringLiteral("cenovou hladinu"), settings);
    m_priceLevel = shownChoice("edtCenHladAdr", settings);
    auto* pickLevel = pickButton("btnCenHladAdr", QStringLiteral("..."), settings);
    pickLevel->setToolTip(QStringLiteral("Výběr cenové hladiny"));
    auto* clearLevel = pickButton("btnCenHladAdrZrusit", QStringLiteral("x"), settings);
    clearLevel->setToolTip(QStringLiteral("Zrušení cenové hladiny"));
    settingsGrid->addWidget(m_setPriceLevel, 0, 0);
    settingsGrid->addWidget(m_priceLevel, 0, 1);
    settingsGrid->addWidget(pickLevel, 0, 2);
    settingsGrid->addWidget(clearLevel, 0, 3);
    m_onlyNewFirms =
        checkBox("chckNastavNaNoveAdr", QStringLiteral("pouze na nově vytvořené"), settings);
    settingsGrid->addWidget(m_onlyNewFirms, 1, 0, 1, 4);
    settingsGrid->setColumnStretch(1, 1);
    connect(pickLevel, &QToolButton::clicked, this,
            [this] { command([&] { m_editor.choosePriceLevel(); }); });
    connect(clearLevel, &QToolButton::clicked, this,
            [this] { command([&] { m_editor.clearPriceLevel(); }); });
    connect(m_setPriceLevel, &QCheckBox::toggled, this, [this] { showEnabling(); });
    right->addWidget(settings);

    auto* firms = new QGroupBox(QStringLiteral("Adresy"), page);
    auto* firmsGrid = new QGridLayout(firms);
    m_noCompareFirms =
        radio("rbNeporovnavatAdr", QStringLiteral("neporovnávat (přidat vše jako nové)"), firms);
    m_compareFirms = radio("rbPorovnavatAdr", QStringLiteral("porovnávat podle"), firms);
    m_referenceFirms = choiceBox(
        QStringLiteral("cbxRefFieldAdr"),
        import::DefinitionEditor::referenceTexts(import::DefinitionKind::AddressBook), firms);
    m_createMissingFirms =
        checkBox("chckNovaAdresa", QStringLiteral("nebude-li adr. nalezena, vytvoř novou"), firms);
    firmsGrid->addWidget(m_noCompareFirms, 0, 0, 1, 2);
    firmsGrid->addWidget(m_compareFirms, 1, 0);
    firmsGrid->addWidget(m_referenceFirms, 1, 1);
    firmsGrid->addWidget(m_createMissingFirms, 2, 0, 1, 2);
    connect(m_compareFirms, &QRadioButton::toggled, this, [this] { showEnabling(); });
    right->addWidget(firms);
    right->addStretch(1);
    layout->addLayout(right);
    return page;
}

QWidget* DefinitionEditorDialog::buildRawPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("tsOstatni"));
    auto* layout = new QVBoxLayout(page);
    m_rawText = new QPlainTextEdit(page);
    m_rawText->setObjectName(QStringLiteral("mtNastaveni"));
    m_rawText->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(m_rawText);
    return page;
}

void DefinitionEditorDialog::showRow(const FieldRow& row, const import::FieldMapping& field,
                                     bool numeric) {
    row.check->setChecked(field.imported);
    row.source->setCurrentIndex(static_cast<int>(field.source));
    row.column->setEditText(field.column);
    if (numeric)
        row.number->display(field.fixedNumber);
    else
        row.text->setText(field.fixedText);
}

void DefinitionEditorDialog::showColumns() {
    const QStringList& columns = m_editor.columns();
    auto refill = [&columns](const FieldRow& row) {
        // The list is the source's, the text the one chosen before, whether listed or not.
        const QString chosen = row.column->currentText();
        row.column->clear();
        row.column->addItems(columns);
        row.column->setEditText(chosen);
    };
    for (const FieldRow& row : m_priceRows)
        refill(row);
    for (const FieldRow& row : m_addressRows)
        refill(row);
}

void DefinitionEditorDialog::showDefinition() {
    m_showing = true;
    const import::ImportDefinition& d = m_editor.definition();
    m_sourceKind->setCurrentIndex(static_cast<int>(d.sourceKind));
    m_fileName->setText(d.fileName);
    m_tableLabel->setText(m_editor.tableLabel());
    m_tableName->setText(d.tableName);
    m_name->setText(d.name);
    m_kindText->setText(import::DefinitionEditor::kindText(d.kind));
    m_pages->setCurrentIndex(static_cast<int>(m_editor.page()));
    showColumns();

    const import::PriceListSettings& p = d.priceList;
    for (std::size_t i = 0; i < import::kPriceListFieldCount; ++i)
        showRow(m_priceRows[i], p.fields[i], import::isNumberField(static_cast<PriceListField>(i)));
    m_valueKind->setCurrentIndex(static_cast<int>(p.valueKind));
    m_salePriceBasis->setCurrentIndex(static_cast<int>(p.salePriceBasis));
    m_setPriceGroup->setChecked(p.setPriceGroup);
    m_priceGroup->setText(p.priceGroup);
    m_setIdentifiers->setChecked(p.setIdentifiers);
    m_identifiers->setText(p.identifiers);
    m_setRounding->setChecked(p.setRounding);
    m_rounding->setCurrentIndex(p.rounding);
    m_setPriceType->setChecked(p.setPriceType);
    m_priceType->setCurrentIndex(static_cast<int>(p.priceType));
    m_setRecompute->setChecked(p.setRecompute);
    m_recompute->setCurrentIndex(static_cast<int>(p.recompute));
    m_recomputeBy->setCurrentIndex(static_cast<int>(p.recomputeBy));
    m_onlyNew->setChecked(p.onlyNewItems);
    m_newSheet->setText(m_editor.newItemsSheetName());
    m_newGroup->setText(m_editor.newItemsGroupName());
    m_filterOn->setChecked(p.filterOn);
    m_filterSheet->setText(m_editor.filterSheetName());
    m_filterGroupOn->setChecked(p.filterGroupOn);
    m_filterGroup->setText(m_editor.filterGroupName());

    const bool firms = m_editor.page() == import::EditorPage::AddressBook;
    (d.compare ? (firms ? m_compareFirms : m_compare) : (firms ? m_noCompareFirms : m_noCompare))
        ->setChecked(true);
    (firms ? m_referenceFirms : m_reference)->setCurrentIndex(m_editor.referenceChoice());
    (firms ? m_createMissingFirms : m_createMissing)->setChecked(d.createMissing);

    const import::AddressBookSettings& a = d.addressBook;
    for (std::size_t i = 0; i < import::kAddressFieldCount; ++i)
        showRow(m_addressRows[i], a.fields[i], false);
    m_setPriceLevel->setChecked(a.setPriceLevel);
    m_priceLevel->setText(a.priceLevel);
    m_onlyNewFirms->setChecked(a.onlyNewItems);
    if (m_editor.page() == import::EditorPage::Raw)
        m_rawText->setPlainText(d.rawText);
    m_showing = false;
    showEnabling();
}

void DefinitionEditorDialog::showEnabling() {
    if (m_showing)
        return;
    const bool table = m_editor.showsTableName();
    m_tableLabel->setVisible(table);
    m_tableName->setVisible(table);
    m_tableButton->setVisible(table);
    auto enable = [](const FieldRow& row) {
        const bool on = row.check->isChecked();
        row.source->setEnabled(on);
        row.value->setEnabled(on);
        const bool fixed = row.source->currentIndex() == static_cast<int>(ValueSource::Fixed);
        row.value->setCurrentIndex(fixed ? 1 : 0);
    };
    std::for_each(m_priceRows.begin(), m_priceRows.end(), enable);
    std::for_each(m_addressRows.begin(), m_addressRows.end(), enable);
    m_valueKind->setEnabled(
        m_priceRows[static_cast<std::size_t>(PriceListField::Hodnota)].check->isChecked());
    m_salePriceBasis->setEnabled(
        m_priceRows[static_cast<std::size_t>(PriceListField::ProdCena)].check->isChecked());
    m_rounding->setEnabled(m_setRounding->isChecked());
    m_priceType->setEnabled(m_setPriceType->isChecked());
    m_recompute->setEnabled(m_setRecompute->isChecked());
    m_recomputeBy->setEnabled(m_setRecompute->isChecked());
    m_reference->setEnabled(m_compare->isChecked());
    m_createMissing->setEnabled(m_compare->isChecked());
    const bool filter = m_filterOn->isChecked();
    m_filterSheetOn->setEnabled(false);
    m_filterSheet->setEnabled(filter);
    m_filterGroupOn->setEnabled(filter);
    m_filterGroup->setEnabled(filter && m_filterGroupOn->isChecked());
    m_filterOff->setVisible(!filter);
    m_referenceFirms->setEnabled(m_compareFirms->isChecked());
    m_createMissingFirms->setEnabled(m_compareFirms->isChecked());
    m_ok->setEnabled(!m_editor.readOnly());
}

void DefinitionEditorDialog::collectRow(const FieldRow& row, import::FieldMapping& field,
                                        bool numeric) {
    field.imported = row.check->isChecked();
    field.source = row.source->currentIndex() == static_cast<int>(ValueSource::Fixed)
                       ? ValueSource::Fixed
                       : ValueSource::Column;
    field.column = row.column->currentText();
    if (!numeric)
        field.fixedText = row.text->text();
}

void DefinitionEditorDialog::collect() {
    import::ImportDefinition& d = m_editor.definition();
    m_editor.setFileName(m_fileName->text());
    if (m_editor.showsTableName())
        d.tableName = m_tableName->text();
    d.name = m_name->text();
    import::PriceListSettings& p = d.priceList;
    for (std::size_t i = 0; i < import::kPriceListFieldCount; ++i) {
        const auto field = static_cast<PriceListField>(i);
        collectRow(m_priceRows[i], p.fields[i], import::isNumberField(field));
        if (import::isNumberField(field))
            m_editor.setFixedNumber(field, m_priceRows[i].number->value());
    }
    p.valueKind = static_cast<import::MarginKind>(m_valueKind->currentIndex());
    p.salePriceBasis = static_cast<import::PriceBasis>(m_salePriceBasis->currentIndex());
    p.setPriceGroup = m_setPriceGroup->isChecked();
    p.setIdentifiers = m_setIdentifiers->isChecked();
    p.setRounding = m_setRounding->isChecked();
    p.rounding = m_rounding->currentIndex();
    p.setPriceType = m_setPriceType->isChecked();
    p.priceType = static_cast<import::PriceBasis>(m_priceType->currentIndex());
    p.setRecompute = m_setRecompute->isChecked();
    p.recompute = static_cast<import::RecomputeChoice>(m_recompute->currentIndex());
    p.recomputeBy = static_cast<import::MarginKind>(m_recomputeBy->currentIndex());
    p.onlyNewItems = m_onlyNew->isChecked();
    p.filterOn = m_filterOn->isChecked();
    p.filterGroupOn = m_filterGroupOn->isChecked();

    import::AddressBookSettings& a = d.addressBook;
    for (std::size_t i = 0; i < import::kAddressFieldCount; ++i)
        collectRow(m_addressRows[i], a.fields[i], false);
    a.setPriceLevel = m_setPriceLevel->isChecked();
    a.onlyNewItems = m_onlyNewFirms->isChecked();

    switch (m_editor.page()) {
    case import::EditorPage::PriceList:
        d.compare = m_compare->isChecked();
        d.createMissing = m_createMissing->isChecked();
        m_editor.setReferenceChoice(m_reference->currentIndex());
        break;
    case import::EditorPage::AddressBook:
        d.compare = m_compareFirms->isChecked();
        d.createMissing = m_createMissingFirms->isChecked();
        m_editor.setReferenceChoice(m_referenceFirms->currentIndex());
        break;
    case import::EditorPage::Raw:
        d.rawText = m_rawText->toPlainText();
        break;
    }
}

void DefinitionEditorDialog::editNote() {
    if (const auto text = editText(m_editor.definition().description, this))
        m_editor.definition().description = *text;
}

void DefinitionEditorDialog::accept() {
    collect();
    if (m_editor.confirm() == import::DefinitionEditor::Outcome::Saved)
        QDialog::accept();
    else
        showDefinition();
}

} // namespace orvento::ui
