#include "import/DefinitionEditor.h"

#include "catalogue/CatalogueRecords.h"
#include "catalogue/pricing/FieldPrecision.h"
#include "core/AppContext.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/ProgressScope.h"
#include "core/UserInteraction.h"
#include "import/ImportDefinitionStore.h"
#include "import/PriceListTexts.h"
#include "services/AccessRights.h"
#include "services/RecordRefresh.h"

#include <QFileInfo>

#include <algorithm>
#include <array>

namespace orvento::import {

namespace {

using core::sources::SourceKind;

const QString kTable = QStringLiteral("Import");
constexpr int kNameWidth = 50;

// One "porovnávat podle" choice: its caption, the stored `RefField` and the row that feeds it.
struct Reference {
    const char* caption;
    const char* code;
    std::size_t field;
};

constexpr std::array<Reference, 5> kPriceListReferences = {{
    {"Katalogu", "KATALOG", static_cast<std::size_t>(PriceListField::Katalog)},
    {"Čár. kódu", "BARCODE", static_cast<std::size_t>(PriceListField::BarCode)},
    {"PLU", "PLU", static_cast<std::size_t>(PriceListField::PLU)},
    {"Zkratky", "ZKRATKA", static_cast<std::size_t>(PriceListField::Zkratka)},
    {"Popisu pol.", "POPIS", static_cast<std::size_t>(PriceListField::Popis)},
}};
constexpr std::array<Reference, 3> kAddressReferences = {{
    {"IČO", "ICO", static_cast<std::size_t>(AddressField::ICOAdr)},
    {"EAN kódu", "EANKOD", static_cast<std::size_t>(AddressField::EANAdr)},
    {"Názvu", "NAZEV", static_cast<std::size_t>(AddressField::NazevAdr)},
}};

// The address book's column widths, in the order of AddressField; 0 for the unlimited note.
// The item's text widths, in the order of PriceListField; 0 for the note and the numbers.
constexpr std::array<int, kPriceListFieldCount> kPriceListWidths = {50, 20, 20, 6, 0, 20,
                                                                    10, 0,  30, 0, 0, 0};
constexpr std::array<int, kAddressFieldCount> kAddressWidths = {50,  30, 10, 40, 20, 10, 20,
                                                                255, 30, 30, 50, 50, 20, 0};

template <std::size_t N> QStringList captionsOf(const std::array<Reference, N>& references) {
    QStringList captions;
    for (const Reference& r : references)
        captions << QString::fromUtf8(r.caption);
    return captions;
}

template <std::size_t N>
int indexOfCode(const std::array<Reference, N>& references, const QString& code) {
    for (std::size_t i = 0; i < N; ++i) {
        if (code.compare(QLatin1String(references[i].code), Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    }
    return 0;
}

QString fileFilter(SourceKind kind) {
    const QString all = QStringLiteral(";;Všechny soubory (*.*)");
    switch (kind) {
    case SourceKind::Mdb:
        return QStringLiteral("Soubory Access (*.mdb)") + all;
    case SourceKind::Xls:
        return QStringLiteral("Sešity MS Excel / OpenDocument (*.xls *.xlsx *.ods)") + all;
    case SourceKind::Dbf:
        return QStringLiteral("Soubory dBase (*.dbf)") + all;
    case SourceKind::Csv:
        return QStringLiteral("Textové soubory (*.csv)") + all;
    }
    return all.mid(2);
}

// An open dialog's default extension: a name typed without one means the file with it.
QString withDefaultExtension(const QString& chosen, SourceKind kind) {
    if (!QFileInfo(chosen).suffix().isEmpty() || QFileInfo::exists(chosen))
        return chosen;
    const QString extended =
        chosen + QLatin1Char('.') + core::sources::sourceKindCode(kind).toLower();
    return QFileInfo::exists(extended) ? extended : chosen;
}

QString structureWaitText() {
    return QStringLiteral("Zjišťuji strukturu externí databáze - operace může chvilku trvat\n"
                          "prosím čekejte...");
}

QString structureErrorText(const QString& reason) {
    return QStringLiteral("Při zjišťování struktury databáze došlo k následující chybě:\n\n") +
           reason +
           QStringLiteral("\n\nPoznámka: zkontrolujte, zda nemáte soubor otevřený v nějaké jiné "
                          "aplikaci (např. MS Excel, apod.).");
}

QString sheetName(core::Database& db, qint64 id) {
    for (const catalogue::SheetRow& sheet : catalogue::readSheets(db)) {
        if (sheet.id == id)
            return sheet.nazev;
    }
    return {};
}

// A stored sheet and group that are gone (or a group moved to another sheet) become none.
void settleSheetAndGroup(core::Database& db, qint64& sheet, qint64& group, QString& sheetText,
                         QString& groupText) {
    sheetText = sheet != 0 ? sheetName(db, sheet) : QString();
    if (sheetText.isEmpty())
        sheet = 0;
    groupText.clear();
    if (group != 0) {
        const auto row = catalogue::readGroup(db, group);
        if (row && sheet != 0 && row->sklad == sheet)
            groupText = row->nazev;
        else
            group = 0;
    }
}

} // namespace

DefinitionEditor::DefinitionEditor(core::AppContext& context)
    : m_context(context)
    , m_db(context.db().agenda)
    , m_ui(context.ui())
    , m_open(&core::sources::openSource) {}

QStringList DefinitionEditor::sourceKindTexts() {
    using core::sources::SourceKind;
    QStringList texts;
    for (const SourceKind kind :
         {SourceKind::Mdb, SourceKind::Xls, SourceKind::Dbf, SourceKind::Csv})
        texts << pricelisttext::sourceKindCaption(kind);
    return texts;
}

QString DefinitionEditor::kindText(DefinitionKind kind) {
    switch (kind) {
    case DefinitionKind::PriceList:
        return QStringLiteral("import ceníku");
    case DefinitionKind::AddressBook:
        return QStringLiteral("import adresáře firem");
    default:
        return {};
    }
}

QStringList DefinitionEditor::referenceTexts(DefinitionKind kind) {
    return kind == DefinitionKind::AddressBook ? captionsOf(kAddressReferences)
                                               : captionsOf(kPriceListReferences);
}

int DefinitionEditor::addressFieldWidth(AddressField field) {
    return kAddressWidths[static_cast<std::size_t>(field)];
}

int DefinitionEditor::priceListFieldWidth(PriceListField field) {
    return kPriceListWidths[static_cast<std::size_t>(field)];
}

QString DefinitionEditor::filterOffText() {
    return QStringLiteral("filtr je vypnutý - referenční položku bude program hledat v celém "
                          "ceníku (tzn. ve všech listech)");
}

QString DefinitionEditor::noteText() {
    return QStringLiteral(
        "Na každé importované položce dojde zároveň k přepočtu prodejních cen (podle nastavení "
        "na kartě nebo nastavení v cen. skupině - pozor: parametry definované v cenové skupině "
        "mají přednost!). Proměnné  označené *) proto mohou mít  po přepočtu jinou hodnotu, než "
        "je nastavené v této definici.");
}

QString DefinitionEditor::derivedTableName(SourceKind kind, const QString& file) {
    const QFileInfo info(file.trimmed());
    if (file.trimmed().isEmpty())
        return {};
    switch (kind) {
    case SourceKind::Dbf:
        return info.completeBaseName();
    case SourceKind::Csv:
        return info.fileName().replace(QLatin1Char('.'), QLatin1Char('#'));
    default:
        return {};
    }
}

bool DefinitionEditor::start(EditMode mode, DefinitionKind kind, qint64 id) {
    m_mode = mode;
    m_readOnly = false;
    m_lock.release();
    m_columns.clear();
    m_reference = 0;
    m_names = {};
    if (mode == EditMode::Edit) {
        const services::RecordAccess access = services::openRecord(services::Module::Import, m_ui);
        if (access == services::RecordAccess::Denied)
            return false;
        m_readOnly = access == services::RecordAccess::ReadOnly;
    } else if (!services::checkModule(services::Module::Import, services::ModuleAction::Create,
                                      m_ui)) {
        return false;
    }

    if (mode == EditMode::New) {
        m_definition = newDefinition(kind);
        return true;
    }
    QString error;
    const auto stored = ImportDefinitionStore(m_db).read(id, error);
    if (!stored) {
        if (error.isEmpty())
            m_ui.warning(services::recordGoneMessage());
        else
            m_ui.error(error);
        return false;
    }
    m_definition = *stored;
    showStoredChoices();
    readStructure();
    if (mode == EditMode::Copy) {
        m_definition.id = 0;
        return true;
    }
    if (!m_readOnly &&
        services::RecordLock::take(kTable, id, m_ui, m_lock, services::LockScope::Global) !=
            services::RecordLock::State::Held)
        m_readOnly = true;
    return true;
}

EditorPage DefinitionEditor::page() const {
    switch (m_definition.kind) {
    case DefinitionKind::PriceList:
        return EditorPage::PriceList;
    case DefinitionKind::AddressBook:
        return EditorPage::AddressBook;
    default:
        return EditorPage::Raw;
    }
}

void DefinitionEditor::showStoredChoices() {
    PriceListSettings& p = m_definition.priceList;
    settleSheetAndGroup(m_db, p.newItemsSheet, p.newItemsGroup, m_names.newItemsSheet,
                        m_names.newItemsGroup);
    settleSheetAndGroup(m_db, p.filterSheet, p.filterGroup, m_names.filterSheet,
                        m_names.filterGroup);
    m_reference = m_definition.kind == DefinitionKind::AddressBook
                      ? indexOfCode(kAddressReferences, m_definition.refField)
                      : indexOfCode(kPriceListReferences, m_definition.refField);
}

void DefinitionEditor::setSourceKind(SourceKind kind) {
    m_definition.sourceKind = kind;
    deriveTableName();
}

void DefinitionEditor::setFileName(const QString& file) {
    m_definition.fileName = file;
    deriveTableName();
}

void DefinitionEditor::deriveTableName() {
    if (!showsTableName())
        m_definition.tableName = derivedTableName(m_definition.sourceKind, m_definition.fileName);
}

bool DefinitionEditor::showsTableName() const {
    return m_definition.sourceKind == SourceKind::Mdb || m_definition.sourceKind == SourceKind::Xls;
}

QString DefinitionEditor::tableLabel() const {
    return m_definition.sourceKind == SourceKind::Xls ? QStringLiteral("Název zdrojového listu")
                                                      : QStringLiteral("Název zdrojové tabulky");
}

std::unique_ptr<core::sources::ImportSource> DefinitionEditor::openChosenSource(QString& error) {
    return m_open(m_definition.sourceKind, m_definition.fileName.trimmed(), error);
}

void DefinitionEditor::chooseSourceFile() {
    const SourceKind kind = m_definition.sourceKind;
    const auto chosen =
        m_ui.chooseOpenFile(QStringLiteral("Vyberte zdrojový soubor"),
                            QFileInfo(m_definition.fileName).absolutePath(), fileFilter(kind));
    if (!chosen)
        return;
    setFileName(withDefaultExtension(*chosen, kind));
    QString error;
    const auto source = openChosenSource(error);
    if (!source) {
        // Saying nothing here would leave the person guessing why no columns came.
        m_ui.warning(QStringLiteral("Zadaný zdrojový soubor se nepodařilo korektně otevřít.") +
                     (error.isEmpty() ? QString() : QStringLiteral("\n\n") + error));
        return;
    }
    if (showsTableName() && !pickTable(*source))
        return;
    readStructure();
}

bool DefinitionEditor::pickTable(const core::sources::ImportSource& source) {
    const QStringList tables = source.tables();
    const int current = std::max(0, static_cast<int>(tables.indexOf(m_definition.tableName)));
    const auto index =
        m_ui.chooseItem(QStringLiteral("Vyberte importní tabulku"), tableLabel(), tables, current);
    if (!index || *index < 0 || *index >= tables.size())
        return false;
    m_definition.tableName = tables.at(*index);
    return true;
}

void DefinitionEditor::chooseTable() {
    if (m_definition.fileName.trimmed().isEmpty()) {
        m_ui.information(QStringLiteral("Nejprve vyberte název zdrojového souboru."));
        return;
    }
    QString error;
    const auto source = openChosenSource(error);
    if (!source) {
        m_ui.warning(QStringLiteral("Zadaný zdrojový soubor se nepodařilo korektně otevřít."));
        return;
    }
    if (pickTable(*source))
        readStructure();
}

void DefinitionEditor::readStructure() {
    m_columns.clear();
    const QString file = m_definition.fileName.trimmed();
    const QString table = m_definition.tableName;
    if (file.isEmpty() || table.isEmpty())
        return;
    if (m_definition.sourceKind == SourceKind::Csv && !QFileInfo::exists(file))
        return;
    core::ProgressScope wait(m_ui, structureWaitText(), 0, false);
    QString error;
    const auto source = openChosenSource(error);
    if (!source)
        return;
    const auto opened = source->openTable(table, error);
    if (!opened) {
        wait.end();
        m_ui.error(structureErrorText(error));
        return;
    }
    const QStringList names = opened->columns();
    for (const QString& name : names) {
        // A text file's header ends at its first empty name.
        if (name.isEmpty() && m_definition.sourceKind == SourceKind::Csv)
            break;
        if (!name.isEmpty())
            m_columns << name;
    }
}

void DefinitionEditor::setReferenceChoice(int index) {
    const int count = static_cast<int>(referenceTexts(m_definition.kind).size());
    m_reference = index >= 0 && index < count ? index : 0;
}

void DefinitionEditor::setFixedNumber(PriceListField field, double value) {
    m_definition.priceList.field(field).fixedNumber = catalogue::toFieldPrecision(value);
}

std::optional<qint64>
DefinitionEditor::pickedId(const std::shared_ptr<core::PendingNavigation>& pending) const {
    if (!pending || !pending->answered() ||
        pending->result().status != core::NavigationStatus::Done || pending->result().ids.empty())
        return std::nullopt;
    return pending->result().ids.front();
}

void DefinitionEditor::chooseSheet(qint64& sheet, qint64& group, QString& sheetText,
                                   QString& groupText) {
    const auto picked = pickedId(m_context.navigator().pickSheet());
    if (!picked)
        return;
    if (*picked != sheet) {
        group = 0;
        groupText.clear();
    }
    sheet = *picked;
    sheetText = sheetName(m_db, *picked);
}

void DefinitionEditor::chooseGroup(qint64 sheet, qint64& group, QString& groupText,
                                   const QString& noSheetMessage) {
    if (sheet == 0) {
        m_ui.information(noSheetMessage);
        return;
    }
    const auto picked = pickedId(m_context.navigator().pickGroup(sheet));
    if (!picked)
        return;
    if (const auto row = catalogue::readGroup(m_db, *picked)) {
        group = *picked;
        groupText = row->nazev;
    }
}

void DefinitionEditor::chooseNewItemsSheet() {
    PriceListSettings& p = m_definition.priceList;
    chooseSheet(p.newItemsSheet, p.newItemsGroup, m_names.newItemsSheet, m_names.newItemsGroup);
}

void DefinitionEditor::chooseNewItemsGroup() {
    PriceListSettings& p = m_definition.priceList;
    chooseGroup(p.newItemsSheet, p.newItemsGroup, m_names.newItemsGroup,
                QStringLiteral("Nejprve vyberte list, do kterého se nové položky zařadí."));
}

void DefinitionEditor::chooseFilterSheet() {
    PriceListSettings& p = m_definition.priceList;
    chooseSheet(p.filterSheet, p.filterGroup, m_names.filterSheet, m_names.filterGroup);
}

void DefinitionEditor::chooseFilterGroup() {
    PriceListSettings& p = m_definition.priceList;
    chooseGroup(p.filterSheet, p.filterGroup, m_names.filterGroup,
                QStringLiteral("Nejprve vyberte list, ve kterém se bude hledat."));
}

void DefinitionEditor::choosePriceGroup() {
    const auto pending = m_context.navigator().pickPriceGroup(m_definition.priceList.priceGroup);
    if (pickedId(pending))
        m_definition.priceList.priceGroup = pending->result().code;
}

void DefinitionEditor::editIdentifiers() {
    const auto pending = m_context.navigator().editIdentifiers(m_definition.priceList.identifiers);
    if (pending->answered() && pending->result().status == core::NavigationStatus::Done)
        m_definition.priceList.identifiers = pending->result().code;
}

void DefinitionEditor::choosePriceLevel() {
    const auto pending = m_context.navigator().pickPriceLevel(m_definition.addressBook.priceLevel);
    if (pickedId(pending))
        m_definition.addressBook.priceLevel = pending->result().code;
}

bool DefinitionEditor::deriveReference(const FieldMapping* mapped, const QString& code) {
    m_definition.refField.clear();
    m_definition.refColumn.clear();
    if (!m_definition.compare)
        return true;
    if (mapped && mapped->imported && mapped->source == ValueSource::Column &&
        !mapped->column.trimmed().isEmpty()) {
        m_definition.refField = code;
        m_definition.refColumn = mapped->column;
        return true;
    }
    m_ui.warning(QStringLiteral("Položka, podle které se mají záznamy porovnávat (tzv. referenční "
                                "položka) není ze zdrojové databáze správně přiřazena."));
    return false;
}

bool DefinitionEditor::checkPriceList() {
    const Reference& ref = kPriceListReferences[static_cast<std::size_t>(m_reference)];
    if (!deriveReference(&m_definition.priceList.fields[ref.field], QLatin1String(ref.code)))
        return false;
    const PriceListSettings& p = m_definition.priceList;
    if ((!m_definition.compare || m_definition.createMissing) &&
        (p.newItemsSheet == 0 || p.newItemsGroup == 0)) {
        m_ui.warning(QStringLiteral("Musíte určit, do kterého listu a do které skupiny se mají "
                                    "nové položky zařadit."));
        return false;
    }
    if (p.filterOn && p.filterSheet == 0) {
        m_ui.warning(QStringLiteral("Musíte určit list, ve kterém bude program referenční "
                                    "položku hledat (nebo filtr vypněte)."));
        return false;
    }
    if (p.filterOn && p.filterGroupOn && p.filterGroup == 0) {
        m_ui.warning(QStringLiteral("Musíte určit skupinu, ve které bude program referenční "
                                    "položku hledat (nebo vypněte přepínač \"... ve "
                                    "skupině\")."));
        return false;
    }
    return true;
}

bool DefinitionEditor::checkAddressBook() {
    const Reference& ref = kAddressReferences[static_cast<std::size_t>(
        std::clamp(m_reference, 0, static_cast<int>(kAddressReferences.size()) - 1))];
    return deriveReference(&m_definition.addressBook.fields[ref.field], QLatin1String(ref.code));
}

DefinitionEditor::Outcome DefinitionEditor::confirm() {
    if (m_readOnly)
        return Outcome::StayOpen;
    m_definition.name = m_definition.name.left(kNameWidth);
    if (m_definition.name.trimmed().isEmpty()) {
        m_ui.information(QStringLiteral("Zadejte prosím libovolný název definice."));
        return Outcome::StayOpen;
    }
    if (page() == EditorPage::PriceList && !checkPriceList())
        return Outcome::StayOpen;
    if (page() == EditorPage::AddressBook && !checkAddressBook())
        return Outcome::StayOpen;

    if (!m_lock.stillHeldForSave(m_ui)) {
        m_readOnly = true;
        return Outcome::StayOpen;
    }
    ImportDefinitionStore store(m_db);
    QString error;
    if (m_mode == EditMode::Edit) {
        if (!store.update(m_definition, error)) {
            m_ui.error(error);
            return Outcome::StayOpen;
        }
        return Outcome::Saved;
    }
    const auto id = store.insert(m_definition, error);
    if (!id) {
        m_ui.error(error);
        return Outcome::StayOpen;
    }
    m_definition.id = *id;
    return Outcome::Saved;
}

} // namespace orvento::import
