// A list of 10,000 firms with every field mapped, imported into an address book of 10,000 firms,
// half of the rows finding their firm (by IČO, then by the name in capitals), half adding one.
// Times the whole run from opening the source to the summary and reads the process's peak
// memory, each beside its target.
#include "bench/support/BenchAgenda.h"
#include "bench/support/BenchFigures.h"
#include "bench/support/BenchFirms.h"
#include "bench/support/QuietInteraction.h"
#include "import/AddressBookImport.h"
#include "import/ImportProtocol.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlQuery>
#include <QTextStream>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <utility>

using namespace orvento;
using namespace orvento::bench;

namespace {

using import::AddressField;

constexpr double kRunTargetMs = 2000;
constexpr double kMemoryTargetMb = 150;

// Every field of the definition with its source column, in the definition's order.
const std::vector<std::pair<AddressField, QString>>& mappedColumns() {
    static const std::vector<std::pair<AddressField, QString>> columns{
        {AddressField::NazevAdr, QStringLiteral("Nazev")},
        {AddressField::UliceAdr, QStringLiteral("Ulice")},
        {AddressField::PSCAdr, QStringLiteral("PSC")},
        {AddressField::MistoAdr, QStringLiteral("Misto")},
        {AddressField::StatAdr, QStringLiteral("Stat")},
        {AddressField::ICOAdr, QStringLiteral("ICO")},
        {AddressField::DICAdr, QStringLiteral("DIC")},
        {AddressField::ZpravaAdr, QStringLiteral("Zprava")},
        {AddressField::TelefonAdr, QStringLiteral("Telefon")},
        {AddressField::FaxAdr, QStringLiteral("Fax")},
        {AddressField::EmailAdr, QStringLiteral("Email")},
        {AddressField::InternetAdr, QStringLiteral("WWW")},
        {AddressField::EANAdr, QStringLiteral("EAN")},
        {AddressField::PoznamkaAdr, QStringLiteral("Poznamka")}};
    return columns;
}

// The source list: every second row names a stored firm (its IČO as stored, its name in
// capitals), the others are firms the address book does not have.
bool writeSource(core::Database& db, const QString& path, int rows) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QTextStream csv(&file);
    QStringList header;
    for (const auto& column : mappedColumns())
        header << column.second;
    csv << header.join(QLatin1Char(';')) << "\r\n";
    QSqlQuery stored = db.select(QStringLiteral("SELECT Nazev, ICO FROM Adresar ORDER BY ID"));
    for (int i = 0; i < rows && stored.next(); ++i) {
        const bool known = i % 2 == 0;
        const QString name = known ? stored.value(0).toString().toUpper()
                                   : QStringLiteral("Nová firma %1 s.r.o.").arg(i);
        const QString ico = known ? stored.value(1).toString() : QString::number(60000000 + i * 3);
        csv << name << ';' << QStringLiteral("Náměstí Míru %1").arg(i % 200) << ';'
            << QStringLiteral("%1").arg(11000 + i % 8000) << ';' << QStringLiteral("Třebíč") << ';'
            << QStringLiteral("Česká republika") << ';' << ico << ';' << QStringLiteral("CZ") + ico
            << ';' << QStringLiteral("dodávky do 14 dnů") << ';'
            << QStringLiteral("+420 568 %1").arg(100000 + i) << ';'
            << QStringLiteral("+420 568 %1").arg(900000 - i) << ';'
            << QStringLiteral("obchod@firma%1.cz").arg(i) << ';'
            << QStringLiteral("www.firma%1.cz").arg(i) << ';'
            << QStringLiteral("859%1").arg(1000000000 + i) << ';'
            << QStringLiteral("Odběratel od roku %1, platí včas.").arg(1990 + i % 30) << "\r\n";
    }
    stored.finish();
    csv.flush();
    return file.error() == QFile::NoError;
}

import::ImportDefinition definitionFor(const QString& path, const QString& refField,
                                       const QString& refColumn){
    import::ImportDefinition d = import::newDefinition(import::DefinitionKind::AddressBook);
d.sourceKind = core::sources::SourceKind::Csv;
d.fileName = path;
d.compare = true;
d.refField = refField;
d.refColumn = refColumn;
for (const auto& [field, column] : mappedColumns()) {
    import::FieldMapping& m = d.addressBook.field(field);
    m.imported = true;
    m.column = column;
}
return d;
} // namespace

// One run over a fresh address book of `firms` firms; false after saying why it failed.
bool timeRun(core::Database& db, const QString& path, int firms, const QString& refField,
             const QString& refColumn, const char* what) {
    if (!db.execute(QStringLiteral("DELETE FROM Adresar")) || !generateFirms(db, firms, 0) ||
        !writeSource(db, path, firms)) {
        std::fprintf(stderr, "preparing the address book or the list failed\n");
        return false;
    }
    QuietInteraction ui;
    import::ImportProtocol protocol;
    import::AddressBookImport run(db, ui, protocol, import::defaultSourceOpener(), {});
    QElapsedTimer timer;
    timer.start();
    const int result = run.run(definitionFor(path, refField, refColumn));
    const double ms = elapsedMs(timer);
    if (result != import::AddressBookImport::Ok) {
        std::fprintf(stderr, "%s\n", qPrintable(protocol.toPlainText()));
        return false;
    }
    std::printf(
        "%lld rows: %lld added, %lld updated\n", static_cast<long long>(run.counts().sourceRows),
        static_cast<long long>(run.counts().added), static_cast<long long>(run.counts().updated));
    report(what, ms, "ms", kRunTargetMs);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int firms = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 10000;

    printLoadAverage();
    QTemporaryDir folder;
    core::Database* db = openBenchAgenda(folder);
    if (!db)
        return 1;
    const QString path = folder.filePath(QStringLiteral("adresy.csv"));
    if (!timeRun(*db, path, firms, QStringLiteral("ICO"), QStringLiteral("ICO"),
                 "import by IČO, source to summary") ||
        !timeRun(*db, path, firms, QStringLiteral("NAZEV"), QStringLiteral("Nazev"),
                 "import by name, source to summary"))
        return 1;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    report("peak memory", static_cast<double>(usage.ru_maxrss) / 1024.0, "MB", kMemoryTargetMb);
    return 0;
}
