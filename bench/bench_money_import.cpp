// The Money import over 20,000 documents with 200,000 items and 10,000 stock cards, of which
// 5,000 documents with 50,000 items are new and open (the rest are of another kind, settled or
// stored already). Times the first run and a second one that finds nothing new, then the
// process's peak memory, each beside its target.
#include "bench/support/BenchAgenda.h"
#include "bench/support/BenchFigures.h"
#include "bench/support/QuietInteraction.h"
#include "import/ImportProtocol.h"
#include "import/MoneyImport.h"
#include "import/XBaseMoneyTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QtEndian>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <functional>

using namespace orvento;
using namespace orvento::bench;

namespace {

constexpr int kDocuments = 20000;
constexpr int kItemsPerDocument = 10;
constexpr int kStockCards = 10000;

struct Field {
    const char* name;
    char type; // 'C' or 'N'
    int width;
    int decimals;
};

// A dBase III table as Money keeps one: fixed-width records after a header of field
// descriptors, texts in code page 1250.
class TableWriter {
public:
    TableWriter(const QString& path, std::vector<Field> fields)
        : m_file(path)
        , m_fields(std::move(fields)) {}

    // `count` records, each made by `record` only when it is written (so the benchmark's own
    // data never weighs on the peak memory it reports).
    bool write(int count, const std::function<QStringList(int)>& record) {
        constexpr int kHeaderBytes = 32;
        constexpr int kNameBytes = 11;
        constexpr quint8 kDbase3 = 0x03;
        constexpr quint8 kCodePage1250 = 0xC8;
        int recordLength = 1;
        for (const Field& f : m_fields)
            recordLength += f.width;
        const int headerLength =
            kHeaderBytes + kHeaderBytes * static_cast<int>(m_fields.size()) + 1;
        QByteArray header(kHeaderBytes, '\0');
        header[0] = static_cast<char>(kDbase3);
        qToLittleEndian<quint32>(static_cast<quint32>(count), header.data() + 4);
        qToLittleEndian<quint16>(static_cast<quint16>(headerLength), header.data() + 8);
        qToLittleEndian<quint16>(static_cast<quint16>(recordLength), header.data() + 10);
        header[29] = static_cast<char>(kCodePage1250);
        for (const Field& f : m_fields) {
            QByteArray d(kHeaderBytes, '\0');
            const QByteArray name(f.name);
            std::copy(name.begin(), name.begin() + std::min<qsizetype>(name.size(), kNameBytes - 1),
                      d.begin());
            d[11] = f.type;
            d[16] = static_cast<char>(f.width);
            d[17] = static_cast<char>(f.decimals);
            header += d;
        }
        header += '\x0D';
        if (!m_file.open(QIODevice::WriteOnly) || m_file.write(header) != header.size())
            return false;
        QStringEncoder encoder("windows-1250");
        QByteArray out;
        for (int r = 0; r < count; ++r) {
            const QStringList values = record(r);
            out += ' ';
            for (std::size_t c = 0; c < m_fields.size(); ++c) {
                const Field& f = m_fields[c];
                QByteArray value = encoder(values.value(static_cast<qsizetype>(c)));
                value.truncate(f.width);
                const QByteArray pad(f.width - value.size(), ' ');
                out += f.type == 'N' ? pad + value : value + pad;
            }
            if (out.size() > (1 << 20)) {
                m_file.write(out);
                out.clear();
            }
        }
        out += '\x1A';
        return m_file.write(out) == out.size();
    }

private:
    QFile m_file;
    std::vector<Field> m_fields;
};

QString number(double value, int decimals = 0) {
    return QString::number(value, 'f', decimals);
}

bool writeMoneyFiles(const QString& year, const QString& firm) {
    const auto document = [](int r) {
        const int d = r + 1;
        // A quarter each: new and open, another kind, settled, stored already.
        const int kind = d % 4;
        return QStringList{kind == 1 ? QStringLiteral("F") : QStringLiteral("N"),
                           kind == 2 ? QStringLiteral("45000") : QStringLiteral("0"),
                           QStringLiteral("OBJ%1").arg(d, 6, 10, QLatin1Char('0')),
                           number(d),
                           QStringLiteral("Objednávka %1").arg(d),
                           QStringLiteral("převodem"),
                           QStringLiteral("vlastní"),
                           QStringLiteral("45300"),
                           QStringLiteral("45330"),
                           QStringLiteral("Odběratel %1 s.r.o.").arg(d),
                           QStringLiteral("Dlouhá %1").arg(d % 300),
                           QStringLiteral("60200"),
                           QStringLiteral("Brno"),
                           QStringLiteral("12345678"),
                           QStringLiteral("CZ12345678"),
                           QStringLiteral("Děkujeme za objednávku č. %1.").arg(d),
                           QStringLiteral("S pozdravem"),
                           QString(),
                           QStringLiteral("Jan Novák"),
                           QStringLiteral("21"),
                           QStringLiteral("12"),
                           QStringLiteral("1210.00"),
                           QStringLiteral("0"),
                           QStringLiteral("0"),
                           QStringLiteral("1000.00")};
    };
    // The items of each document lie spread over the table, as Money appends them.
    const auto item = [](int r) {
        const int i = r / kDocuments;
        const int d = r % kDocuments + 1;
        const int card = (d * kItemsPerDocument + i) % kStockCards + 1;
        return QStringList{number(d),
                           i == 3 ? number(d) : QStringLiteral("0"),
                           i == 2 ? QStringLiteral("S") : QStringLiteral("Z"),
                           number(card),
                           QStringLiteral("HL"),
                           QStringLiteral("Položka %1/%2").arg(d).arg(i),
                           QStringLiteral("K-%1").arg(card),
                           QString(),
                           QString(),
                           QString(),
                           QString(),
                           QStringLiteral("21"),
                           number(i % 2),
                           number(i + 1),
                           number(100 + i, 2),
                           number(i % 3 * 5, 2),
                           number(1 + i % 4, 4),
                           QStringLiteral("ks")};
    };
    const auto card = [](int r) {
        return QStringList{QStringLiteral("HL"), number(r + 1), number(60 + (r + 1) % 50, 4)};
    };

    const auto text = [](const char* name, int width) {
        return Field{name, 'C', width, 0};
    };
    const auto num = [](const char* name, int width, int decimals = 0) {
        return Field{name, 'N', width, decimals};
    };
    return TableWriter(year + QStringLiteral("ObSezObj.dat"),
                       {text("Druh dokl.", 1),   num("Vyrizeno", 10),    text("Doklad", 10),
                        num("Cislo", 10),        text("Popis", 50),      text("PlatPodm", 20),
                        text("Doprava", 20),     num("Vystaveno", 10),   num("Vyridit do", 10),
                        text("O_NazevOb", 50),   text("O_UliceOb", 30),  text("O_PscOb", 10),
                        text("O_MestoOb", 40),   text("A_ICO", 10),      text("A_DIC", 20),
                        text("TextPredPo", 200), text("TextZaPol", 200), text("Poznamka", 100),
                        text("A_Jmeno", 40),     num("SazbaDPH2", 5, 1), num("SazbaDPH1", 5, 1),
                        num("Celkem", 14, 2),    num("Zaklad0", 14, 2),  num("Zaklad5", 14, 2),
                        num("Zaklad22", 14, 2)})
               .write(kDocuments, document) &&
           TableWriter(year + QStringLiteral("ObPolObj.dat"),
                       {num("Cislo", 10), num("MasterCisl", 10), text("TypPolozky", 1),
                        num("Cislo Zas.", 10), text("Sklad", 5), text("Popis", 50),
                        text("Katalog", 20), text("BarCode", 20), text("Poznamka", 50),
                        text("PLU", 6), text("Zkratka", 20), num("Sazba DPH", 5, 1),
                        num("Cena s DPH", 1), num("Poradi", 5), num("SlevaZakl", 14, 4),
                        num("Sleva", 6, 2), num("PocetMJ", 12, 4), text("MJ", 10)})
               .write(kDocuments * kItemsPerDocument, item) &&
           TableWriter(firm + QStringLiteral("SkSezZas.dat"),
                       {text("Sklad", 5), num("Cislo", 10), num("Posl.N.Cen", 14, 4)})
               .write(kStockCards, card);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    printLoadAverage();
    QTemporaryDir folder;
    core::Database* db = openBenchAgenda(folder);
    if (!db)
        return 1;
    const QString year = folder.filePath(QStringLiteral("Money/Rok/"));
    const QString firm = folder.filePath(QStringLiteral("Money/Firma/"));
    if (!QDir().mkpath(year) || !QDir().mkpath(firm) || !writeMoneyFiles(year, firm)) {
        std::fprintf(stderr, "writing the Money tables failed\n");
        return 1;
    }
    {
        core::Transaction unit(*db);
        for (int d = 3; d <= kDocuments; d += 4)
            db->execute(QStringLiteral("INSERT INTO Nabidky (Doklad) VALUES (:Doklad)"),
                        {{QStringLiteral("Doklad"),
                          QStringLiteral("obj%1").arg(d, 6, 10, QLatin1Char('0'))}});
        unit.commit();
    }

    // What the runs spend on reading Money's tables alone.
    const double reading = millisecondsOf([&] {
        for (const QString& table :
             {year + QStringLiteral("ObSezObj"), year + QStringLiteral("ObPolObj"),
              firm + QStringLiteral("SkSezZas")}) {
            import::XBaseMoneyTable t;
            if (t.open(table, {QStringLiteral("Cislo")}) != import::MoneyTable::kOpened)
                std::fprintf(stderr, "%s\n", qPrintable(t.why()));
        }
    });
    std::printf("reading the three tables (one field each): %.1f ms\n", reading);

    import::ImportDefinition d;
    d.kind = import::DefinitionKind::Money;
    d.rawText = QStringLiteral("AgendaPath=%1\r\nYearPath=%2\r\nImportPC=-1").arg(firm, year);
    QuietInteraction ui;
    import::ImportProtocol protocol;
    const auto runOnce = [&](qint64& imported, int& units) {
        import::MoneyImport run(*db, ui, protocol, {}, import::XBaseMoneyTable::factory());
        const int result = run.run(d, folder.path());
        imported = run.imported();
        units = run.units();
        return result;
    };
    qint64 imported = 0;
    int units = 0;
    int result = 0;
    const double first = millisecondsOf([&] { result = runOnce(imported, units); });
    if (result != 0) {
        std::fprintf(stderr, "%s\n", qPrintable(protocol.toPlainText()));
        return 1;
    }
    const auto items = db->scalar(QStringLiteral("SELECT COUNT(*) FROM NabPolozky"));
    std::printf("%lld documents imported with %lld items in %d units of work\n",
                static_cast<long long>(imported), items ? items->toLongLong() : -1LL, units);
    report("first run: 5,000 new documents with 50,000 items", first, 5000);
    const double again = millisecondsOf([&] { result = runOnce(imported, units); });
    std::printf("second run: %lld documents imported\n", static_cast<long long>(imported));
    report("second run, nothing new", again, 1000);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    report("peak memory", static_cast<double>(usage.ru_maxrss) / 1024.0, "MB", 250);
    return result == 0 ? 0 : 1;
}
