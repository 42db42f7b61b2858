// Writes the template databases the program copies on first start: an empty agenda, the global
// database with the post codes, and the demo agenda with its price list, address book and offers
// (and the pictures of its items under DEMO/OBRAZKY, the supplier price lists its import
// definitions read under DEMO/Import).
#include "DemoWorkbook.h"

#include "addressbook/DemoAddressBook.h"
#include "addressbook/PostCodeData.h"
#include "catalogue/DemoCatalogue.h"
#include "core/Schema.h"
#include "core/SqliteFolderStore.h"
#include "core/TemplateDatabases.h"
#include "import/AddressBookImportDemo.h"
#include "import/DemoImport.h"
#include "import/MoneyImportSettings.h"
#include "offers/DemoOffers.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

using namespace orvento::core;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        QTextStream(stderr) << "usage: orvento_mkdb <Res folder> <post codes .csv>\n";
        return 2;
    }
    const QString& folder = args.at(1);
    const QString& postCodes = args.at(2);
    QDir().mkpath(folder);
    QString postCodeError;
    const DatabaseFiller fillPostCodes = [&](Database& db) {
        return orvento::addressbook::loadPostCodes(db, postCodes, &postCodeError);
    };
    // The demo offers take their items from the demo price list and their customers from the
    // demo address book, so both come first. The pictures the items name ship beside the demo
    // documents, which the program copies into the data folder's Dokumenty/DEMO/ with the demo
    // agenda: the agenda's default picture store.
    const QString demoPictures = QDir(folder).filePath(QStringLiteral("DEMO/OBRAZKY"));
    // The supplier's price list, drawn from the demo catalogue, lies there too, once as text and
    // once as a workbook, each with an import definition in the demo agenda.
    const QString demoImport =
        QDir(folder).filePath(QStringLiteral("DEMO/") + orvento::import::demoImportFolder());
    QString importError;
    const auto writeDemoImport = [&](Database& db) {
        namespace im = orvento::import;
        const std::vector<im::SupplierRow> rows = im::demoSupplierRows(db);
        if (!QDir().mkpath(demoImport) ||
            !im::writeSupplierCsv(QDir(demoImport).filePath(im::demoCsvFileName()), rows) ||
            !writeSupplierWorkbook(QDir(demoImport).filePath(im::demoWorkbookFileName()), rows)) {
            importError = QStringLiteral(" (the demo import files)");
            return false;
        }
        if (!im::fillDemoImportDefinitions(db, importError))
            return false;
        // A list of firms to import into the address book lies beside them, with its definition.
        if (!im::writeDemoAddressList(db, QDir(demoImport).filePath(im::demoAddressFileName()))) {
            importError = QStringLiteral(" (the demo address list)");
            return false;
        }
        return im::fillDemoAddressDefinition(db, importError);
    };
    // Every new agenda, the demo too, holds the Money definition with empty folders.
    const DatabaseFiller fillMoneyDefinition = [&](Database& db) {
        return orvento::import::storeMoneyDefinition(db, importError);
    };
    const DatabaseFiller fillDemoAgenda = [&](Database& db) {
        return orvento::catalogue::fillDemoCatalogue(db) &&
               orvento::addressbook::fillDemoAddressBook(db) &&
               orvento::offers::fillDemoOffers(db) &&
               orvento::catalogue::writeDemoPictures(demoPictures) && writeDemoImport(db) &&
               fillMoneyDefinition(db);
    };
    struct Target {
        orvento::core::DatabaseTemplate name;
        DatabaseKind kind;
        bool demo;
        DatabaseFiller fill;
    };
    using orvento::core::DatabaseTemplate;
    for (const Target& t :
         {Target{DatabaseTemplate::EmptyAgenda, DatabaseKind::Agenda, false, fillMoneyDefinition},
          Target{DatabaseTemplate::Global, DatabaseKind::Global, false, fillPostCodes},
          Target{DatabaseTemplate::DemoAgenda, DatabaseKind::Agenda, true, fillDemoAgenda}}) {
        QString error;
        const QString name = orvento::core::SqliteFolderStore::templateFileName(t.name);
        if (!buildDatabaseFile(QDir(folder).filePath(name), t.kind, t.demo, &error, t.fill)) {
            QTextStream(stderr) << "orvento_mkdb: " << name << ": " << error << postCodeError
                                << importError << "\n";
            return 1;
        }
    }
    return 0;
}
