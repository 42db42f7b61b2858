#pragma once

#include "MemorySource.h"
#include "ProtocolLines.h"
#include "catalogue/CatalogueAgenda.h"
#include "import/ImportDefinition.h"
#include "import/ImportProtocol.h"
#include "import/ImportRun.h"

#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>

namespace orvento::testsupport {

// An agenda with one sheet and its basic group, a source file on disk (its rows come from
// memory) and a price-list definition that adds everything into that group.
class PriceListImportAgenda : public CatalogueAgenda {
protected:
    void SetUp() override {
        CatalogueAgenda::SetUp();
        sourcePath = env.dataFolder() + QStringLiteral("cenik.csv");
        QFile file(sourcePath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("Kat;Popis\n");
    }

    import::ImportDefinition definition() const { import::ImportDefinition d;
    d.kind = import::DefinitionKind::PriceList;
    d.name = QStringLiteral("Dodavatel");
    d.sourceKind = core::sources::SourceKind::Csv;
    d.fileName = QStringLiteral("/jinde/cenik.csv");
    d.compare = false;
    d.createMissing = true;
    d.priceList.newItemsSheet = sheet;
    d.priceList.newItemsGroup = basicGroup;
    return d;
} static void map(import::ImportDefinition& d, import::PriceListField field,
                  const QString& column) {
    import::FieldMapping& m = d.priceList.field(field);
    m.imported = true;
    m.source = import::ValueSource::Column;
    m.column = column;
}
// Compares by the catalogue number in column "Kat".
static void compareByKatalog(import::ImportDefinition& d, bool createMissing = true) {
    map(d, import::PriceListField::Katalog, QStringLiteral("Kat"));
    d.compare = true;
    d.refField = QStringLiteral("KATALOG");
    d.refColumn = QStringLiteral("Kat");
    d.createMissing = createMissing;
}

int run(const import::ImportDefinition& d, const QStringList& columns,
        std::vector<core::sources::Row> rows, core::ProgressScope::Display display = {}) {
    import::ImportRun importRun(db(), ui, protocol);
    importRun.setSourceOpener(MemorySource::opener(columns, std::move(rows)));
    importRun.setDisplay(std::move(display));
    const int result = importRun.execute(d, sourcePath);
    interrupted = importRun.interrupted();
    return result;
}

QStringList lines() const {
    return linesOf(protocol);
}
bool hasLine(const QString& text, import::ImportProtocol::Style style) const {
    return hasLineIn(protocol, text, style);
}

qint64 addItemWith(const QString& katalog, const QString& popis, double rate = 21) {
    catalogue::ItemRecord item;
    item.Katalog = katalog;
    item.Popis = popis;
    item.price.SazbaDPH = rate;
    return addItem(item);
}
// Every stored column of every item, to show that a run changed nothing.
QStringList catalogueSnapshot() {
    QStringList rows;
    QSqlQuery q = db().select(QStringLiteral("SELECT * FROM Zasoby ORDER BY ID"));
    while (q.next()) {
        QStringList values;
        for (int i = 0; i < q.record().count(); ++i)
            values << q.value(i).toString();
        rows << values.join(QLatin1Char('|'));
    }
    return rows;
}
int itemCount() {
    return value(QStringLiteral("SELECT COUNT(*) FROM Zasoby")).toInt();
}

import::ImportProtocol protocol;
QString sourcePath;
bool interrupted = false;
}; // namespace orvento::testsupport

} // namespace orvento::testsupport
