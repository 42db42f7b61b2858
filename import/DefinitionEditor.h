#pragma once

#include "core/Navigator.h"
#include "core/sources/ImportSource.h"
#include "import/ImportDefinition.h"
#include "services/RecordLock.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace orvento::core {
class AppContext;
class Database;
class UserInteraction;
} // namespace orvento::core

namespace orvento::import {

// How the editor opens: a new definition, an existing one, or a copy of one saved as new.
enum class EditMode { New, Edit, Copy };
// The page below the common part.
enum class EditorPage { PriceList, AddressBook, Raw };

// The definition editor (frmImportNastaveni) without its window: the typed definition the
// controls edit, the source and its columns, the chosen sheets, groups and codes by name, the
// checks of OK and the save. Opening an existing definition follows a card: rights, the row read
// again, then its lock for as long as the editor lives.
class DefinitionEditor {
public:
    using SourceOpener = std::function<std::unique_ptr<core::sources::ImportSource>(
        core::sources::SourceKind, const QString& path, QString& error)>;
    enum class Outcome { StayOpen, Saved };

    explicit DefinitionEditor(core::AppContext& context);
    // Tests read the structure of a source of their own making.
    void setSourceOpener(SourceOpener opener) { m_open = std::move(opener); }

    static QString caption() { return QStringLiteral("Nastavení importu"); }
    static QString helpTopic() { return QStringLiteral("pgImportNastaveni.htm"); }
    // "Zdroj dat" in the order of core::sources::SourceKind.
    static QStringList sourceKindTexts();
    // "import ceníku", "import adresáře firem"; empty for other kinds.
    static QString kindText(DefinitionKind kind);
    // The "porovnávat podle" choices of the kind.
    static QStringList referenceTexts(DefinitionKind kind);
    // The longest fixed value an address field takes (the address book's column).
    static int addressFieldWidth(AddressField field);
    // The longest fixed text a price-list field takes (the item's column); 0 for no limit.
    static int priceListFieldWidth(PriceListField field);
    static QString filterOffText();
    static QString noteText();
    // The table a DBF or CSV source is known by; empty for the other kinds.
    static QString derivedTableName(core::sources::SourceKind kind, const QString& file);

    // False (after the message) when the editor does not open.
    bool start(EditMode mode, DefinitionKind kind, qint64 id = 0);

    EditMode mode() const { return m_mode; }
    bool readOnly() const { return m_readOnly; }
    EditorPage page() const;
    ImportDefinition& definition() { return m_definition; }
    const ImportDefinition& definition() const { return m_definition; }

    // The source. A DBF or CSV source's table follows its file.
    void setSourceKind(core::sources::SourceKind kind);
    void setFileName(const QString& file);
    bool showsTableName() const;
    QString tableLabel() const;
    // "..." beside the file: the open dialog, then the table and the columns.
    void chooseSourceFile();
    // "..." beside the table.
    void chooseTable();
    // The source's column names offered in every column list (empty when none were read).
    const QStringList& columns() const { return m_columns; }
    // Reads the columns of the chosen source and table again.
    void readStructure();

    int referenceChoice() const { return m_reference; }
    void setReferenceChoice(int index);

    // A fixed number as its field holds it.
    void setFixedNumber(PriceListField field, double value);

    // Sheets and groups, kept by ID and shown by name.
    QString newItemsSheetName() const { return m_names.newItemsSheet; }
    QString newItemsGroupName() const { return m_names.newItemsGroup; }
    QString filterSheetName() const { return m_names.filterSheet; }
    QString filterGroupName() const { return m_names.filterGroup; }
    void chooseNewItemsSheet();
    void chooseNewItemsGroup();
    void chooseFilterSheet();
    void chooseFilterGroup();
    // The price group and the address book's price level, by `Zkratka`.
    void choosePriceGroup();
    // "..." at "identifikátory": the identifier editor on the definition's list.
    void editIdentifiers();
    void clearPriceGroup() { m_definition.priceList.priceGroup.clear(); }
    void choosePriceLevel();
    void clearPriceLevel() { m_definition.addressBook.priceLevel.clear(); }

    // OK: the checks, then the INSERT or UPDATE. A failed save is told after its rollback and
    // the editor stays as the person left it.
    Outcome confirm();
    // The saved row's ID (the new one after an INSERT).
    qint64 savedId() const { return m_definition.id; }
    // Lets the record go (the editor closes).
    void close() { m_lock.release(); }
    bool holdsLock() const { return m_lock.isHeld(); }

private:
    struct Names {
        QString newItemsSheet;
        QString newItemsGroup;
        QString filterSheet;
        QString filterGroup;
    };

    void showStoredChoices();
    void deriveTableName();
    std::unique_ptr<core::sources::ImportSource> openChosenSource(QString& error);
    // "Vyberte importní tabulku": false when cancelled.
    bool pickTable(const core::sources::ImportSource& source);
    void chooseSheet(qint64& sheet, qint64& group, QString& sheetText, QString& groupText);
    void chooseGroup(qint64 sheet, qint64& group, QString& groupText,
                     const QString& noSheetMessage);
    std::optional<qint64> pickedId(const std::shared_ptr<core::PendingNavigation>& pending) const;
    bool checkPriceList();
    bool checkAddressBook();
    bool deriveReference(const FieldMapping* mapped, const QString& code);

    core::AppContext& m_context;
    core::Database& m_db;
    core::UserInteraction& m_ui;
    SourceOpener m_open;
    EditMode m_mode = EditMode::New;
    bool m_readOnly = false;
    ImportDefinition m_definition;
    QStringList m_columns;
    int m_reference = 0;
    Names m_names;
    services::RecordLock m_lock;
};

} // namespace orvento::import
