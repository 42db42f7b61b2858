#include "addressbook/FirmRecords.h"
#include "catalogue/IdentifierRecords.h"
#include "catalogue/ItemRecord.h"
#include "catalogue/NamedSettings.h"
#include "catalogue/PriceLevelRecords.h"
#include "core/CatalogueRows.h"
#include "core/Database.h"
#include "core/Schema.h"
#include "core/TemplateDatabases.h"
#include "notes/NoteRecord.h"
#include "offers/OfferRecords.h"
#include "offers/OfferTemplateRecords.h"
#include "services/UserRecord.h"

#include <QDirIterator>
#include <QFile>
#include <QMetaType>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace orvento;
using core::DatabaseKind;

namespace {

// One mapping as the check sees it: its columns and stored values of a default record, and a
// round trip of that record through its insert and update.
struct MappingCase {
    QString name;
    DatabaseKind kind = DatabaseKind::Agenda;
    QString table;
    QStringList columns;
    std::vector<QVariant> defaults;
    std::function<bool(core::Database&)> insertAndUpdate;
};

template <class Record>
MappingCase caseOf(const char* name, DatabaseKind kind, const core::RecordMapping<Record>& m) {
    MappingCase c{QString::fromLatin1(name), kind, m.table(), m.columns(), {}, {}};
    for (const auto& field : m.fields())
        c.defaults.push_back(field.get(Record{}));
    c.insertAndUpdate = [&m](core::Database& db) {
        return m.insert(db, Record{}) && m.update(db, Record{}, db.newRowId());
    };
    return c;
}

// Every mapping of the program. A mapping added to the tree without being listed here fails
// EveryMappingOfTheTreeIsListed below.
std::vector<MappingCase> allMappings() {
    return {
        caseOf("sheetMapping", DatabaseKind::Agenda, core::sheetMapping()),
        caseOf("groupMapping", DatabaseKind::Agenda, core::groupMapping()),
        caseOf("userMapping", DatabaseKind::Global, services::userMapping()),
        caseOf("zasobyMapping", DatabaseKind::Agenda, catalogue::zasobyMapping()),
        caseOf("zasobyCardUpdateMapping", DatabaseKind::Agenda,
               catalogue::zasobyCardUpdateMapping()),
        caseOf("zasobyPriceMapping", DatabaseKind::Agenda, catalogue::zasobyPriceMapping()),
        caseOf("priceLevelMapping", DatabaseKind::Agenda, catalogue::priceLevelMapping()),
        caseOf("groupLevelRowMapping", DatabaseKind::Agenda, catalogue::groupLevelRowMapping()),
        caseOf("priceGroupMapping", DatabaseKind::Agenda, catalogue::priceGroupMapping()),
        caseOf("firmMapping", DatabaseKind::Agenda, addressbook::firmMapping()),
        caseOf("contactMapping", DatabaseKind::Agenda, addressbook::contactMapping()),
        caseOf("documentMapping", DatabaseKind::Agenda, addressbook::documentMapping()),
        caseOf("headerMapping", DatabaseKind::Agenda, offers::headerMapping()),
        caseOf("itemMapping", DatabaseKind::Agenda, offers::itemMapping()),
        caseOf("documentMapping", DatabaseKind::Agenda, offers::documentMapping()),
        caseOf("templateMapping", DatabaseKind::Agenda, offers::templateMapping()),
        caseOf("identifierMapping", DatabaseKind::Agenda, catalogue::identifierMapping()),
        caseOf("namedSettingMapping", DatabaseKind::Agenda, catalogue::namedSettingMapping()),
        caseOf("noteMapping", DatabaseKind::Global, notes::noteMapping()),
    };
}

// Whether a member's stored value suits the column it is written to: a yes/no member in a text
// column, or a text in a number column, would be stored without complaint and read back wrong.
bool suits(core::ColumnType type, const QVariant& value) {
    const int id = value.metaType().id();
    switch (type) {
    case core::ColumnType::Text:
    case core::ColumnType::Memo:
        return id == QMetaType::QString;
    case core::ColumnType::Double:
        return id == QMetaType::Double || id == QMetaType::Float;
    case core::ColumnType::Bit:
        return id == QMetaType::Bool;
    case core::ColumnType::Integer:
    case core::ColumnType::Counter:
        return id == QMetaType::Int || id == QMetaType::LongLong || id == QMetaType::UInt ||
               id == QMetaType::ULongLong;
    case core::ColumnType::DateTime:
        return id == QMetaType::QDateTime;
    case core::ColumnType::Binary:
        return id == QMetaType::QByteArray;
    }
    return false;
}

// Every mapped column exists in its table under the schema's own spelling and is mapped once;
// the ID is the database's to give; each member's value suits its column.
TEST(MappingsAgainstSchema, EveryMappedColumnExistsInItsTable) {
    for (const MappingCase& c : allMappings()) {
        SCOPED_TRACE(c.name.toStdString() + " on " + c.table.toStdString());
        const core::TableDef* table = core::findTable(c.kind, c.table);
        ASSERT_NE(table, nullptr);
        EXPECT_EQ(table->name, c.table);
        QSet<QString> seen;
        for (qsizetype i = 0; i < c.columns.size(); ++i) {
            const QString& column = c.columns[i];
            EXPECT_FALSE(seen.contains(column.toUpper()))
                << "mapped twice: " << column.toStdString();
            seen.insert(column.toUpper());
            EXPECT_NE(column.compare(QStringLiteral("ID"), Qt::CaseInsensitive), 0);
            const core::ColumnDef* def = table->column(column);
            if (!def) {
                ADD_FAILURE() << "no column " << column.toStdString();
                continue;
            }
            EXPECT_EQ(def->name, column);
            EXPECT_TRUE(suits(def->type, c.defaults[static_cast<size_t>(i)]))
                << column.toStdString() << " holds "
                << c.defaults[static_cast<size_t>(i)].typeName();
        }
    }
}

// The statements built from each mapping run on a database built from the schema.
TEST(MappingsAgainstSchema, InsertAndUpdateRunOnAFreshDatabase) {
    QTemporaryDir dir;
    for (const DatabaseKind kind : {DatabaseKind::Global, DatabaseKind::Agenda}) {
        const QString path = dir.filePath(kind == DatabaseKind::Global ? QStringLiteral("G.MDB")
                                                                       : QStringLiteral("A.MDB"));
        QString error;
        ASSERT_TRUE(core::buildDatabaseFile(path, kind, false, &error)) << error.toStdString();
        core::Database db(QStringLiteral("mapping-check-") + path);
        ASSERT_TRUE(db.open(path));
        for (const MappingCase& c : allMappings()) {
            if (c.kind != kind)
                continue;
            core::Transaction unit(db);
            EXPECT_TRUE(c.insertAndUpdate(db))
                << c.name.toStdString() << ": " << db.lastError().toStdString();
        }
    }
}

// A mapping is declared in a header as `const core::RecordMapping<Record>& name();`; every one
// the sources declare is in the list above.
TEST(MappingsAgainstSchema, EveryMappingOfTheTreeIsListed) {
    QSet<QString> listed;
    for (const MappingCase& c : allMappings())
        listed.insert(c.name);
    const QRegularExpression declaration(
        QStringLiteral(R"(RecordMapping<[^>]+>\s*&\s*(\w+)\s*\(\s*\)\s*;)"));
    int found = 0;
    for (const char* folder : {"core", "services", "catalogue", "offers", "addressbook", "import",
                               "output", "backup", "notes", "ui", "tools"}) {
        QDirIterator it(QStringLiteral(ORVENTO_SOURCE_DIR "/") + QString::fromLatin1(folder),
                        {QStringLiteral("*.h")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const QString text = QString::fromUtf8(file.readAll());
            for (auto match = declaration.globalMatch(text); match.hasNext();) {
                const QString name = match.next().captured(1);
                ++found;
                EXPECT_TRUE(listed.contains(name))
                    << name.toStdString() << " in " << file.fileName().toStdString();
            }
        }
    }
    EXPECT_EQ(found, static_cast<int>(allMappings().size()));
}

} // namespace
