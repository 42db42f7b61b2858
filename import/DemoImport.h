#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace orvento::core {
class Database;
}

namespace orvento::import {

// One row of the demo supplier's price list.
struct SupplierRow {
    QString catalogue; // matches the demo catalogue's `Katalog` for the wares it already has
    QString description;
    QString unit;
    double price = 0; // purchase price without VAT
    double vat = 0;   // per cent
};

// The column titles of the supplier's list, in order, as both demo files carry them.
QStringList supplierColumns();
// The demo supplier's price list drawn from the demo catalogue in `demo`: about half of its
// items with new purchase prices, and new wares the catalogue does not have yet.
std::vector<SupplierRow> demoSupplierRows(core::Database& demo);
// The list as a ";"-separated text file in UTF-8 with a byte order mark, with a title line and
// numbers with a decimal comma. False when the file cannot be written.
bool writeSupplierCsv(const QString& path, const std::vector<SupplierRow>& rows);

// A ";"-separated text file in UTF-8 with a byte order mark: the title line, then the rows, fields
// with a ";" or a double quote quoted. False when the file cannot be written.
bool writeDemoCsv(const QString& path, const QStringList& header,
                  const std::vector<QStringList>& rows);

// Where the demo files lie under the demo agenda's shared documents (Dokumenty/DEMO/).
QString demoImportFolder(); // "Import"
QString demoCsvFileName();
QString demoWorkbookFileName();
QString demoWorkbookSheet();
// A demo file as a definition names it: under %DATAPATH%, so the agenda may move.
QString demoStoredPath(const QString& file);
// The names of the two demo definitions.
QString demoCsvDefinitionName();
QString demoWorkbookDefinitionName();

// Stores a price-list definition for each demo file in `demo`: compared by `Katalog`, new wares
// into the sheet "Elektroinstalace"'s basic group, the file under %DATAPATH%. False with `error`.
bool fillDemoImportDefinitions(core::Database& demo, QString& error);

} // namespace orvento::import
