#include "import/DefinitionEditor.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "import/DefinitionList.h"
#include "import/ImportDefinitionStore.h"
#include "services/RecordLock.h"
#include "support/OpenAgenda.h"
#include "support/ScriptedInteraction.h"
#include "support/TestContext.h"
#include "support/TestEnvironment.h"
#include "support/TestStore.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace orvento;
using import::DefinitionEditor;
using import::DefinitionKind;
using import::EditMode;
using import::PriceListField;
using import::ValueSource;
using testsupport::ScriptedInteraction;
using Kind = ScriptedInteraction::Kind;

namespace {

// A source of the test's making: one table with the given column names and no rows.
class FakeTable : public core::sources::SourceTable {
public:
    explicit FakeTable(QStringList columns)
        : m_columns(std::move(columns)) {}
    QStringList columns() const override { return m_columns; }
    qint64 rowCount() const override { return 0; }
    bool next(core::sources::Row&) override { return false; }
    QString error() const override { return {}; }

private:
    QStringList m_columns;
};

class FakeSource : public core::sources::ImportSource {
public:
    FakeSource(QStringList tables, QStringList columns)
        : m_tables(std::move(tables))
        , m_columns(std::move(columns)) {}
    QStringList tables() const override { return m_tables; }
    std::unique_ptr<core::sources::SourceTable> openTable(const QString& name,
                                                          QString& error) override {
        opened = name;
        if (m_columns.isEmpty()) {
            error = QStringLiteral("Tabulka chybí.");
            return nullptr;
        }
        return std::make_unique<FakeTable>(m_columns);
    }
    inline static QString opened;

private:
    QStringList m_tables;
    QStringList m_columns;
};

DefinitionEditor::SourceOpener fakeOpener(QStringList tables, QStringList columns) {
    return [tables, columns](core::sources::SourceKind, const QString&, QString&) {
        return std::make_unique<FakeSource>(tables, columns);
    };
}

DefinitionEditor::SourceOpener failingOpener() {
    return [](core::sources::SourceKind, const QString&, QString& error) {
        error = QStringLiteral("Poškozený soubor.");
        return std::unique_ptr<core::sources::ImportSource>();
    };
}

class DefinitionEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.useDataFolder();
        ASSERT_TRUE(
            testsupport::openTestAgenda(env, QStringLiteral("0001.res"), QStringLiteral("FIRMA")));
        QDir().mkpath(core::programState().folders.lock);
        core::programState().user.import = core::AccessLevel::Full;
        db().execute(QStringLiteral("DELETE FROM Import"));
        sheet = addSheet(QStringLiteral("Zboží"));
        group = addGroup(sheet, QStringLiteral("Kabely"));
    }
    void TearDown() override {
        core::programState().user.import = core::AccessLevel::Full;
        core::programState().db->agenda.close();
    }

    static core::Database& db() { return core::programState().db->agenda; }
    qint64 addSheet(const QString& name) {
        return *db().insertRow(QStringLiteral("INSERT INTO Sklady (Nazev, Poradi) VALUES (:N, 9)"),
                               {{QStringLiteral("N"), name}});
    }
    qint64 addGroup(qint64 toSheet, const QString& name) {
        return *db().insertRow(
            QStringLiteral(
                "INSERT INTO Skupiny (Sklad, Nazev, Kod, Zakladni) VALUES (:S, :N, '', 0)"),
            {{QStringLiteral("S"), toSheet}, {QStringLiteral("N"), name}});
    }
    // A stored price-list definition that puts new items into the test's sheet and group.
    qint64 storeDefinition(const QString& name, qint64 toSheet, qint64 toGroup) {
        import::ImportDefinition d = import::newDefinition(DefinitionKind::PriceList);
        d.name = name;
        d.description = QStringLiteral("popis ") + name;
        d.priceList.newItemsSheet = toSheet;
        d.priceList.newItemsGroup = toGroup;
        QString error;
        return *import::ImportDefinitionStore(db()).insert(d, error);
    }
    int definitionCount() {
        return db().scalar(QStringLiteral("SELECT COUNT(*) FROM Import"))->toInt();
    }
    void chooseSheetAndGroup(DefinitionEditor& editor) {
        test.navigator.answerWindow({core::NavigationStatus::Done, {sheet}});
        editor.chooseNewItemsSheet();
        test.navigator.answerWindow({core::NavigationStatus::Done, {group}});
        editor.chooseNewItemsGroup();
    }

    testsupport::TestEnvironment env;
    ScriptedInteraction ui;
    testsupport::TestContext test{ui};
    qint64 sheet = 0;
    qint64 group = 0;
};

TEST_F(DefinitionEditorTest, NewDefinitionNeedsNameSheetAndGroupBeforeItIsSaved) {
    DefinitionEditor editor(test.context);
    ASSERT_TRUE(editor.start(EditMode::New, DefinitionKind::PriceList));
    EXPECT_EQ(editor.page(), import::EditorPage::PriceList);
    EXPECT_EQ(editor.confirm(), DefinitionEditor::Outcome::StayOpen);
    EXPECT_TRUE(
        ui.saw(Kind::Information, QStringLiteral("Zadejte prosím libovolný název definice.")));
    editor.definition().name = QStringLiteral("Dodavatel");
    EXPECT_EQ(editor.confirm(), DefinitionEditor::Outcome::StayOpen);
    EXPECT_TRUE(ui.saw(Kind::Warning, QStringLiteral("Musíte určit, do kterého listu a do které "
                                                     "skupiny se mají nové položky zařadit.")));
    editor.chooseNewItemsGroup();
    EXPECT_TRUE(ui.saw(Kind::Information,
                       QStringLiteral("Nejprve vyberte list, do kterého se nové položky zařadí.")));
    chooseSheetAndGroup(editor);
    EXPECT_EQ(editor.newItemsSheetName(), QStringLiteral("Zboží"));
    EXPECT_EQ(editor.newItemsGroupName(), QStringLiteral("Kabely"));
    // Another sheet drops the group chosen in the first.
    const qint64 other = addSheet(QStringLiteral("Služby"));
    test.navigator.answerWindow({core::NavigationStatus::Done, {other}});
    editor.chooseNewItemsSheet();
    EXPECT_EQ(editor.definition().priceList.newItemsGroup, 0);
    EXPECT_TRUE(editor.newItemsGroupName().isEmpty());
    chooseSheetAndGroup(editor);
    EXPECT_EQ(test.navigator.requests().last(), QStringLiteral("pickGroup %1").arg(sheet));

    test.navigator.answerWindow({core::NavigationStatus::Done, {4}, false, QStringLiteral("VO")});
    editor.choosePriceGroup();
    EXPECT_EQ(editor.definition().priceList.priceGroup, QStringLiteral("VO"));
    ASSERT_EQ(editor.confirm(), DefinitionEditor::Outcome::Saved);
    EXPECT_EQ(definitionCount(), 1);
    const QString stored =
        db().scalar(QStringLiteral("SELECT Nastaveni FROM Import WHERE ID = :ID"),
                    {{QStringLiteral("ID"), editor.savedId()}})
            ->toString();
    EXPECT_TRUE(
        stored.contains(QStringLiteral("\r\nIDListu=%1\r\nIDSkup=%2\r\n").arg(sheet).arg(group)));
    EXPECT_TRUE(stored.contains(QStringLiteral("\r\nCenSkupina=VO\r\n")));
}

TEST_F(DefinitionEditorTest, TheReferenceComesOnlyFromACheckedRowTakenFromTheSource) {
    DefinitionEditor editor(test.context);
    ASSERT_TRUE(editor.start(EditMode::New, DefinitionKind::PriceList));
    editor.definition().name = QStringLiteral("Čárové kódy");
    chooseSheetAndGroup(editor);
    editor.definition().compare = true;
    editor.setReferenceChoice(1); // "Čár. kódu"
    auto& barCode = editor.definition().priceList.field(PriceListField::BarCode);
    barCode = {true, ValueSource::Fixed, QStringLiteral("EAN"), QStringLiteral("123"), 0};
    const QString referenceWarning =
        QStringLiteral("Položka, podle které se mají záznamy porovnávat (tzv. referenční položka) "
                       "není ze zdrojové databáze správně přiřazena.");
    EXPECT_EQ(editor.confirm(), DefinitionEditor::Outcome::StayOpen);
    EXPECT_TRUE(ui.saw(Kind::Warning, referenceWarning));
    barCode.source = ValueSource::Column;
    barCode.imported = false;
    ui.clear();
    EXPECT_EQ(editor.confirm(), DefinitionEditor::Outcome::StayOpen);
    EXPECT_TRUE(ui.saw(Kind::Warning, referenceWarning)) << "an unchecked row feeds nothing";

    // Comparing without creating new items needs no sheet for them; the filter needs its own.
    barCode.imported = true;
    editor.definition().createMissing = false;
    editor.definition().priceList.newItemsSheet = 0;
    editor.definition().priceList.newItemsGroup = 0;
    editor.definition().priceList.filterOn = true;
    ui.clear();
    EXPECT_EQ(editor.confirm(), DefinitionEditor::Outcome::StayOpen);
    EXPECT_TRUE(ui.saw(Kind::Warning, QStringLiteral("Musíte určit list, ve kterém bude program "
                                                     "referenční položku hledat (nebo filtr "
                                                     "vypněte).")));
    editor.chooseFilterGroup();
    EXPECT_TRUE(ui.saw(Kind::Information,
                       QStringLiteral("Nejprve vyberte list, ve kterém se bude hledat.")));
    test.navigator.answerWindow({core::NavigationStatus::Done, {sheet}});
    editor.chooseFilterSheet();
    editor.definition().priceList.filterGroupOn = true;
    ui.clear();
    EXPECT_EQ(editor.confirm(), DefinitionEditor::Outcome::StayOpen);
    EXPECT_TRUE(
        ui.saw(Kind::Warning,
               QStringLiteral("Musíte určit skupinu, ve které bude program referenční "
                              "položku hledat (nebo vypněte přepínač \"... ve skupině\").")));
    editor.definition().priceList.filterGroupOn = false;
    ASSERT_EQ(editor.confirm(), DefinitionEditor::Outcome::Saved);
    QString error;
    const auto stored = import::ImportDefinitionStore(db()).read(editor.savedId(), error);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->refField, QStringLiteral("BARCODE"));
    EXPECT_EQ(stored->refColumn, QStringLiteral("EAN"));
    EXPECT_EQ(stored->priceList.filterSheet, sheet);
}

TEST_F(DefinitionEditorTest, AnAddressBookDefinitionDerivesItsReferenceTheSameWay) {
    DefinitionEditor editor(test.context);
    ASSERT_TRUE(editor.start(EditMode::New, DefinitionKind::AddressBook));
    EXPECT_EQ(editor.page(), import::EditorPage::AddressBook);
    editor.definition().name = QStringLiteral("Firmy");
    editor.definition().compare = true;
    editor.setReferenceChoice(0); // "IČO"
    EXPECT_EQ(editor.confirm(), DefinitionEditor::Outcome::StayOpen);
    editor.definition().addressBook.field(import::AddressField::ICOAdr) = {
        true, ValueSource::Column, QStringLiteral("ic"), {}, 0};
    ASSERT_EQ(editor.confirm(), DefinitionEditor::Outcome::Saved) << "no sheet asked for firms";
    QString error;
    EXPECT_EQ(import::ImportDefinitionStore(db()).read(editor.savedId(), error)->refField,
              QStringLiteral("ICO"));
}

TEST_F(DefinitionEditorTest, ADeletedSheetLoadsEmptyAndMustBeChosenAgain) {
    const qint64 gone = addSheet(QStringLiteral("Starý"));
    const qint64 goneGroup = addGroup(gone, QStringLiteral("Stará"));
    const qint64 id = storeDefinition(QStringLiteral("Stará definice"), gone, goneGroup);
    db().execute(QStringLiteral("DELETE FROM Sklady WHERE ID = :ID"),
                 {{QStringLiteral("ID"), gone}});
    DefinitionEditor editor(test.context);
    ASSERT_TRUE(editor.start(EditMode::Edit, DefinitionKind::PriceList, id));
    EXPECT_EQ(editor.definition().priceList.newItemsSheet, 0);
    EXPECT_TRUE(editor.newItemsSheetName().isEmpty());
    EXPECT_EQ(editor.definition().priceList.newItemsGroup, 0) << "its group went with it";
    EXPECT_EQ(editor.confirm(), DefinitionEditor::Outcome::StayOpen);
    EXPECT_TRUE(ui.sawContaining(Kind::Warning, QStringLiteral("do kterého listu")));
    chooseSheetAndGroup(editor);
    EXPECT_EQ(editor.confirm(), DefinitionEditor::Outcome::Saved);
    EXPECT_EQ(definitionCount(), 1) << "an edit updates its row";
}

TEST_F(DefinitionEditorTest, CopyAddsARowAndLeavesTheOriginalUnlocked) {
    const qint64 id = storeDefinition(QStringLiteral("Vzor"), sheet, group);
    import::DefinitionList list(test.context);
    ASSERT_TRUE(list.reload(id));
    auto copy = list.openCurrent(EditMode::Copy);
    ASSERT_TRUE(copy);
    EXPECT_FALSE(copy->holdsLock());
    EXPECT_FALSE(
        services::recordHeldElsewhere(QStringLiteral("Import"), id, services::LockScope::Global));
    EXPECT_EQ(copy->definition().name, QStringLiteral("Vzor"));
    ASSERT_EQ(copy->confirm(), DefinitionEditor::Outcome::Saved);
    EXPECT_NE(copy->savedId(), id);
    list.afterSave(*copy);
    ASSERT_EQ(list.rows().size(), 2u);
    EXPECT_EQ(list.currentId(), copy->savedId());
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(DISTINCT Nastaveni) FROM Import"))->toInt(),
              1)
        << "the copy has the same settings";
}

TEST_F(DefinitionEditorTest, ADefinitionEditedElsewhereOpensReadOnly) {
    const qint64 id = storeDefinition(QStringLiteral("Sdílená"), sheet, group);
    testsupport::OtherWorkstation other(
        testsupport::recordEditedElsewhere(env, QStringLiteral("Import"), id, true));
    ASSERT_EQ(other.firstLine(), QStringLiteral("held"));
    import::DefinitionList list(test.context);
    ASSERT_TRUE(list.reload(id));
    auto editor = list.openCurrent(EditMode::Edit);
    ASSERT_TRUE(editor);
    EXPECT_TRUE(editor->readOnly());
    EXPECT_TRUE(ui.saw(Kind::Information, services::recordInUseMessage()));
    editor->definition().name = QStringLiteral("Přepsaná");
    EXPECT_EQ(editor->confirm(), DefinitionEditor::Outcome::StayOpen);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT Nazev FROM Import"))->toString(),
              QStringLiteral("Sdílená"));
    EXPECT_FALSE(list.removeCurrent());
    EXPECT_TRUE(ui.saw(Kind::Warning, services::recordInUseDeleteMessage()));
    other.stop();

    // Free again: the editor holds the lock until it closes.
    auto free = list.openCurrent(EditMode::Edit);
    ASSERT_TRUE(free);
    EXPECT_FALSE(free->readOnly());
    EXPECT_TRUE(free->holdsLock());
    free->close();
    EXPECT_FALSE(free->holdsLock());
}

TEST_F(DefinitionEditorTest, RightsDecideWhatOpens) {
    const qint64 id = storeDefinition(QStringLiteral("Práva"), sheet, group);
    import::DefinitionList list(test.context);
    ASSERT_TRUE(list.reload(id));
    const QString noRights =
        QStringLiteral("Litujeme, ale pro tuto funkci nemáte potřebná přístupová práva.");
    core::programState().user.import = core::AccessLevel::ReadOnly;
    EXPECT_FALSE(list.openNew(DefinitionKind::PriceList));
    EXPECT_FALSE(list.openCurrent(EditMode::Copy));
    EXPECT_TRUE(ui.saw(Kind::Information, noRights));
    auto readOnly = list.openCurrent(EditMode::Edit);
    ASSERT_TRUE(readOnly);
    EXPECT_TRUE(readOnly->readOnly());
    EXPECT_FALSE(readOnly->holdsLock());
    EXPECT_TRUE(ui.sawContaining(Kind::Information, QStringLiteral("pouze pro čtení")));
    readOnly.reset();
    core::programState().user.import = core::AccessLevel::NoDelete;
    ui.clear();
    EXPECT_FALSE(list.removeCurrent());
    EXPECT_TRUE(ui.saw(Kind::Information, noRights));
    core::programState().user.import = core::AccessLevel::Denied;
    ui.clear();
    EXPECT_FALSE(list.openCurrent(EditMode::Edit));
    EXPECT_TRUE(ui.saw(Kind::Information, noRights));
    EXPECT_EQ(definitionCount(), 1);
}

TEST_F(DefinitionEditorTest, DeleteAsksAndMovesToTheNeighbour) {
    const qint64 first = storeDefinition(QStringLiteral("První"), sheet, group);
    const qint64 second = storeDefinition(QStringLiteral("Druhá"), sheet, group);
    const qint64 third = storeDefinition(QStringLiteral("Třetí"), sheet, group);
    import::DefinitionList list(test.context);
    ASSERT_TRUE(list.reload(second));
    EXPECT_EQ(list.currentDescription(), QStringLiteral("popis Druhá"));
    ui.answer(false);
    EXPECT_FALSE(list.removeCurrent());
    EXPECT_TRUE(
        ui.saw(Kind::Question, QStringLiteral("Opravdu chcete vyjmout označenou definici ?")));
    EXPECT_EQ(definitionCount(), 3);
    ui.answer(true);
    EXPECT_TRUE(list.removeCurrent());
    EXPECT_EQ(list.currentId(), third);
    ui.answer(true);
    EXPECT_TRUE(list.removeCurrent());
    EXPECT_EQ(list.currentId(), first) << "the last row gone: the previous one";
    // Deleted elsewhere meanwhile: the warning and nothing asked.
    db().execute(QStringLiteral("DELETE FROM Import"));
    ui.clear();
    EXPECT_FALSE(list.removeCurrent());
    EXPECT_TRUE(ui.saw(Kind::Warning, QStringLiteral("Při obnově tabulky došlo k chybě, požadovaný "
                                                     "záznam byl pravděpodobně smazán jiným "
                                                     "uživatelem.")));
    EXPECT_FALSE(list.hasRows());
}

TEST_F(DefinitionEditorTest, SourceFileTableAndColumns) {
    EXPECT_EQ(DefinitionEditor::derivedTableName(core::sources::SourceKind::Csv,
                                                 QStringLiteral("/x/ceník.csv")),
              QStringLiteral("ceník#csv"));
    EXPECT_EQ(DefinitionEditor::derivedTableName(core::sources::SourceKind::Dbf,
                                                 QStringLiteral("/x/sklad.2026.dbf")),
              QStringLiteral("sklad.2026"));
    DefinitionEditor editor(test.context);
    ASSERT_TRUE(editor.start(EditMode::New, DefinitionKind::PriceList));
    editor.chooseTable();
    EXPECT_TRUE(
        ui.saw(Kind::Information, QStringLiteral("Nejprve vyberte název zdrojového souboru.")));

    // A workbook: the file, then its sheet, then the sheet's columns.
    editor.setSourceKind(core::sources::SourceKind::Xls);
    EXPECT_EQ(editor.tableLabel(), QStringLiteral("Název zdrojového listu"));
    editor.setSourceOpener(fakeOpener({QStringLiteral("List1"), QStringLiteral("Ceny")},
                                      {QStringLiteral("Kat"), QStringLiteral("Cena")}));
    editor.definition().priceList.field(PriceListField::Popis).column = QStringLiteral("Název");
    ui.chooseFile(QStringLiteral("/x/ceny.xls"));
    ui.chooseIndex(1);
    editor.chooseSourceFile();
    EXPECT_EQ(editor.definition().tableName, QStringLiteral("Ceny"));
    EXPECT_EQ(editor.columns(), (QStringList{QStringLiteral("Kat"), QStringLiteral("Cena")}));
    EXPECT_FALSE(ui.waitShown()) << "the wait window hides again";
    EXPECT_EQ(editor.definition().priceList.field(PriceListField::Popis).column,
              QStringLiteral("Název"))
        << "a text already chosen stays";

    // A text file: the table follows the file, the header ends at its first empty name.
    const QString csv = env.dataFolder() + QStringLiteral("ceník.csv");
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\"Kat\";\"Popis\";;\"Cena\"\r\n");
    file.close();
    editor.setSourceKind(core::sources::SourceKind::Csv);
    editor.setSourceOpener(fakeOpener(
        {}, {QStringLiteral("Kat"), QStringLiteral("Popis"), QString(), QStringLiteral("Cena")}));
    ui.chooseFile(csv);
    editor.chooseSourceFile();
    EXPECT_FALSE(editor.showsTableName());
    EXPECT_EQ(editor.definition().tableName, QStringLiteral("ceník#csv"));
    EXPECT_EQ(FakeSource::opened, QStringLiteral("ceník#csv"));
    EXPECT_EQ(editor.columns(), (QStringList{QStringLiteral("Kat"), QStringLiteral("Popis")}));

    // A table that cannot be read: the error with its note, and no columns.
    editor.setSourceOpener(fakeOpener({}, {}));
    editor.readStructure();
    EXPECT_TRUE(editor.columns().isEmpty());
    EXPECT_TRUE(ui.saw(Kind::Error,
                       QStringLiteral("Při zjišťování struktury databáze došlo k následující "
                                      "chybě:\n\nTabulka chybí.\n\nPoznámka: zkontrolujte, zda "
                                      "nemáte soubor otevřený v nějaké jiné aplikaci (např. MS "
                                      "Excel, apod.).")));
    editor.setSourceKind(core::sources::SourceKind::Mdb);
    editor.setSourceOpener(failingOpener());
    editor.chooseTable();
    EXPECT_TRUE(ui.saw(Kind::Warning,
                       QStringLiteral("Zadaný zdrojový soubor se nepodařilo korektně otevřít.")));
}

TEST_F(DefinitionEditorTest, AStoredBadFixedNumberKeepsTheEditorClosed) {
    db().execute(
        QStringLiteral("INSERT INTO Import (TypOperace, Nazev, Popis, Nastaveni) VALUES "
                       "(0, 'Vadná', '', :T)"),
        {{QStringLiteral("T"), QStringLiteral("SourceNakCena=1\r\nValueNakCena=dvanáct")}});
    import::DefinitionList list(test.context);
    ASSERT_TRUE(list.reload(0));
    EXPECT_FALSE(list.openCurrent(EditMode::Edit));
    EXPECT_TRUE(ui.sawContaining(Kind::Error, QStringLiteral("dvanáct")));
}

} // namespace
