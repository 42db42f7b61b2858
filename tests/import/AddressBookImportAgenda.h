#pragma once

#include "MemorySource.h"
#include "ProtocolLines.h"
#include "addressbook/FirmRecords.h"
#include "catalogue/CatalogueAgenda.h"
#include "import/AddressBookImport.h"
#include "import/ImportDefinition.h"
#include "import/ImportProtocol.h"
#include "import/ImportRun.h"

#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>

namespace orvento::testsupport {

// An empty agenda with a source file on disk (its rows come from memory) and an address-book
// definition that adds every row as a new address.
class AddressBookImportAgenda : public CatalogueAgenda {
protected:
    void SetUp() override {
        CatalogueAgenda::SetUp();
        sourcePath = env.dataFolder() + QStringLiteral("adresy.csv");
        QFile file(sourcePath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("Firma;ICO\n");
    }

    static import::ImportDefinition definition() {
        import::ImportDefinition d = import::newDefinition(import::DefinitionKind::AddressBook);
        d.name = QStringLiteral("Adresy");
        d.sourceKind = core::sources::SourceKind::Csv;
        d.fileName = QStringLiteral("/jinde/adresy.csv");
        return d;
    }
    static void map(import::ImportDefinition& d, import::AddressField field,
                    const QString& column) {
        import::FieldMapping& m = d.addressBook.field(field);
        m.imported = true;
        m.source = import::ValueSource::Column;
        m.column = column;
    }
    static void fix(import::ImportDefinition& d, import::AddressField field, const QString& value) {
        import::FieldMapping& m = d.addressBook.field(field);
        m.imported = true;
        m.source = import::ValueSource::Fixed;
        m.fixedText = value;
    }
    // Compares `refField` ("ICO", "NAZEV", "EANKOD") with the mapped source column `column`.
    static void compareBy(import::ImportDefinition& d, const QString& refField,
                          import::AddressField field, const QString& column,
                          bool createMissing = true) {
        map(d, field, column);
        d.compare = true;
        d.refField = refField;
        d.refColumn = column;
        d.createMissing = createMissing;
    }

    // The whole run as the wizard starts it.
    int run(const import::ImportDefinition& d, const QStringList& columns,
            std::vector<core::sources::Row> rows) {
        import::ImportRun importRun(db(), ui, protocol);
        importRun.setSourceOpener(MemorySource::opener(columns, std::move(rows)));
        const int result = importRun.execute(d, sourcePath);
        interrupted = importRun.interrupted();
        return result;
    }
    // The address-book run alone, its units of work `rowsPerUnit` rows at most.
    int runInUnits(const import::ImportDefinition& d, const QStringList& columns,
                   std::vector<core::sources::Row> rows, std::size_t rowsPerUnit) {
        import::ImportDefinition thisRun = d;
        thisRun.fileName = sourcePath;
        import::AddressBookImport run(db(), ui, protocol,
                                      MemorySource::opener(columns, std::move(rows)), {});
        run.setRowsPerUnit(rowsPerUnit);
        const int result = run.run(thisRun);
        interrupted = run.interrupted();
        counts = run.counts();
        return result;
    }

    QStringList lines() const { return linesOf(protocol); }
    bool hasLine(const QString& text, import::ImportProtocol::Style style) const {
        return hasLineIn(protocol, text, style);
    }

    qint64 addFirm(addressbook::Firm firm) {
        EXPECT_TRUE(addressbook::firmMapping().insert(db(), firm));
        return db().newRowId();
    }
    qint64 addFirm(const QString& nazev, const QString& ico) {
        addressbook::Firm firm;
        firm.Nazev = nazev;
        firm.ICO = ico;
        return addFirm(firm);
    }
    static addressbook::Firm firm(qint64 id) { return addressbook::readFirm(db(), id).value(); }
    int firmCount() { return value(QStringLiteral("SELECT COUNT(*) FROM Adresar")).toInt(); }
    // The IDs of the firms with `column` = `text`, in table order.
    std::vector<qint64> firmsWith(const QString& column, const QString& text) {
        std::vector<qint64> ids;
        QSqlQuery q = db().select(
            QStringLiteral("SELECT ID FROM Adresar WHERE %1 = :Hodnota ORDER BY ID").arg(column),
            {{QStringLiteral("Hodnota"), text}});
        while (q.next())
            ids.push_back(q.value(0).toLongLong());
        return ids;
    }
    QVariant markOf(qint64 id) {
        return value(QStringLiteral("SELECT Znacka FROM Adresar WHERE ID = :ID"),
                     {{QStringLiteral("ID"), id}});
    }

    import::ImportProtocol protocol;
    import::AddressBookImport::Counts counts;
    QString sourcePath;
    bool interrupted = false;
};

} // namespace orvento::testsupport
