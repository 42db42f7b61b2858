#include "MoneyImportAgenda.h"
#include "MoneyTestFiles.h"

#include "import/XBaseMoneyTable.h"

#include <QProcess>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <shapefil.h>

using namespace orvento;
using import::MoneyTable;
using import::XBaseMoneyTable;
using testsupport::Field;
using testsupport::writeTable;

namespace {

const std::vector<Field> kItemFields{
    {"Cislo", FTDouble, 10, 0},    {"MasterCisl", FTDouble, 10, 0}, {"Poradi", FTDouble, 5, 0},
    {"Popis", FTString, 50, 0},    {"Cislo Zas.", FTDouble, 10, 0}, {"Sklad", FTString, 5, 0},
    {"SlevaZakl", FTDouble, 12, 4}};

class MoneyXBaseTableTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

TEST_F(MoneyXBaseTableTest, AnIndexSortsInMemoryAndSeeksByItsLeadingKeys) {
    writeTable(path(QStringLiteral("OBPOLOBJ.DAT")), kItemFields,
               {{10.0, 0.0, 1.0, "desátý", 3.0, "HL"},
                {9.0, 0.0, 2.0, "devátý b", 0.0, "HL"},
                {9.0, 0.0, 1.0, "devátý a", 7.0, "VED"},
                {9.0, 4.0, 1.0, "díl", 0.0, "HL"}});
    XBaseMoneyTable table;
    // Opened by the name without ".dat", in another letter case; fields matched ignoring case.
    ASSERT_EQ(table.open(path(QStringLiteral("ObPolObj")),
                         {QStringLiteral("CISLO"), QStringLiteral("mastercisl"),
                          QStringLiteral("Poradi"), QStringLiteral("Popis"),
                          QStringLiteral("cislo zas."), QStringLiteral("Sklad")}),
              MoneyTable::kOpened)
        << table.why().toStdString();
    EXPECT_EQ(table.recordCount(), 4);
    table.first();
    EXPECT_EQ(table.value(QStringLiteral("Popis")).toString(), QStringLiteral("desátý"));

    ASSERT_EQ(table.setIndex(QStringLiteral("Cislo+MasterCisl+Poradi")), MoneyTable::kIndexSet);
    ASSERT_EQ(table.seek(9.0), MoneyTable::kFound);
    QStringList order;
    do
        order << table.value(QStringLiteral("Popis")).toString();
    while (table.next() != MoneyTable::kNoFurtherRecord);
    // Numbers sort as numbers: 10 after 9.
    EXPECT_EQ(order, (QStringList{QStringLiteral("devátý a"), QStringLiteral("devátý b"),
                                  QStringLiteral("díl"), QStringLiteral("desátý")}));
    EXPECT_EQ(table.seek(QStringLiteral("10")), MoneyTable::kFound);
    EXPECT_EQ(table.seek(11.0), MoneyTable::kNotFound);
    EXPECT_EQ(table.value(QStringLiteral("Popis")).toString(), QStringLiteral("desátý"));

    ASSERT_EQ(table.setIndex(QStringLiteral("Sklad+Cislo Zas.")), MoneyTable::kIndexSet);
    ASSERT_EQ(table.seekKeys({QStringLiteral("VED"), 7.0}), MoneyTable::kFound);
    EXPECT_EQ(table.value(QStringLiteral("Popis")).toString(), QStringLiteral("devátý a"));
    EXPECT_EQ(table.seekKeys({QStringLiteral("VED"), 3.0}), MoneyTable::kNotFound);
    EXPECT_NE(table.setIndex(QStringLiteral("Sklad+Cena")), MoneyTable::kIndexSet);
    EXPECT_TRUE(table.why().contains(QStringLiteral("Cena")));

    // What Money writes after the opening is not seen.
    QFile file(path(QStringLiteral("OBPOLOBJ.DAT")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("přepsáno");
    file.close();
    EXPECT_EQ(table.value(QStringLiteral("Popis")).toString(), QStringLiteral("devátý a"));
}

TEST_F(MoneyXBaseTableTest, AFileInAnotherLayoutOrLackingAFieldFailsAtOpening) {
    XBaseMoneyTable table;
    writeTable(path(QStringLiteral("ObPolObj.dat")), kItemFields,
               {{1.0, 0.0, 1.0, "a", 0.0, "HL"}});
    EXPECT_EQ(table.open(path(QStringLiteral("ObPolObj")), {QStringLiteral("PocetMJ")}),
              MoneyTable::kFailed);
    EXPECT_TRUE(table.why().contains(QStringLiteral("PocetMJ")));

    QFile bad(path(QStringLiteral("Text.dat")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("Druh dokl.;Doklad\nN;NAB-1\n");
    bad.close();
    EXPECT_EQ(table.open(path(QStringLiteral("Text")), {}), MoneyTable::kFailed);
    EXPECT_FALSE(table.why().isEmpty());

    // A table that claims more records than the file holds.
    QFile cut(path(QStringLiteral("ObPolObj.dat")));
    ASSERT_TRUE(cut.open(QIODevice::ReadWrite));
    ASSERT_TRUE(cut.resize(cut.size() - 20));
    cut.close();
    EXPECT_EQ(table.open(path(QStringLiteral("ObPolObj")), {QStringLiteral("Popis")}),
              MoneyTable::kFailed);
    EXPECT_FALSE(table.why().isEmpty());
    EXPECT_EQ(table.open(path(QStringLiteral("Chybi")), {}), MoneyTable::kFailed);
}

// A Visual FoxPro table written by python3-dbf: a memo and a binary number, and a field name with
// a blank patched into the header afterwards (the writer takes no such names).
constexpr char kFoxProTable[] = R"(
import dbf, sys
t = dbf.Table(sys.argv[1], 'CISLO N(10,0); POZNAMKA M; CENA_S_DPH B', dbf_type='vfp',
              codepage='cp1250')
t.open(mode=dbf.READ_WRITE)
t.append((5, 'Dlouhá poznámka ' * 40, 4.0))
t.close()
data = bytearray(open(sys.argv[1], 'rb').read())
at = data.index(b'CENA_S_DPH')
data[at:at + 10] = b'Cena s DPH'
open(sys.argv[1], 'wb').write(data)
)";

TEST_F(MoneyXBaseTableTest, AFoxProTableWithMemosAndBinaryNumbersReads) {
    const QString script = path(QStringLiteral("make.py"));
    QFile file(script);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(kFoxProTable);
    file.close();
    QProcess python;
    python.start(QStringLiteral(ORVENTO_SYSTEM_PYTHON), {script, path(QStringLiteral("p.dbf"))});
    constexpr int kTimeoutMs = 30000;
    if (!python.waitForFinished(kTimeoutMs) || python.exitCode() != 0)
        GTEST_SKIP() << "python3-dbf is not installed: "
                     << python.readAllStandardError().toStdString();
    ASSERT_TRUE(QFile::rename(path(QStringLiteral("p.dbf")), path(QStringLiteral("ObSezObj.dat"))));
    ASSERT_TRUE(QFile::rename(path(QStringLiteral("p.fpt")), path(QStringLiteral("ObSezObj.fpt"))));
    XBaseMoneyTable table;
    const QStringList fields{QStringLiteral("Cislo"), QStringLiteral("Poznamka"),
                             QStringLiteral("Cena s DPH")};
    ASSERT_EQ(table.open(path(QStringLiteral("ObSezObj")), fields), MoneyTable::kOpened)
        << table.why().toStdString();
    EXPECT_EQ(table.value(QStringLiteral("Poznamka")).toString(),
              QStringLiteral("Dlouhá poznámka ").repeated(40).trimmed());
    EXPECT_DOUBLE_EQ(table.value(QStringLiteral("Cena s DPH")).toDouble(), 4);

    // A memo that points past its memo file fails the opening.
    QFile memo(path(QStringLiteral("ObSezObj.fpt")));
    ASSERT_TRUE(memo.open(QIODevice::ReadWrite));
    ASSERT_TRUE(memo.resize(512));
    memo.close();
    EXPECT_EQ(table.open(path(QStringLiteral("ObSezObj")), fields), MoneyTable::kFailed);
    EXPECT_FALSE(table.why().isEmpty());
}

class MoneyImportFromFilesTest : public testsupport::MoneyImportAgenda {};

// The whole run over tables on disk, the folders named in another letter case.
TEST_F(MoneyImportFromFilesTest, DocumentsOfRealTablesBecomeOffers) {
    writeTable(money + QStringLiteral("Rok/ObSezObj.dat"), testsupport::kMoneyDocumentFields,
               {{"N", 0.0, "OBJ-7", 7.0, "Světla", "hotově", "", 45300.0, 45330.0, "Žlutý kůň"},
                {"N", 45301.0, "OBJ-8", 8.0, "vyřízená"}});
    writeTable(money + QStringLiteral("Rok/ObPolObj.dat"), testsupport::kMoneyItemFields,
               {{7.0, 0.0, "Z", 12.0, "HL", "Zářivka", "Z-1", "", "", "", "", 21.0, 0.0, 1.0, 200.0,
                 0.0, 2.0, "ks"}});
    writeTable(
        money + QStringLiteral("Firma/SkSezZas.dat"),
        {{"Sklad", FTString, 5, 0}, {"Cislo", FTDouble, 10, 0}, {"Posl.N.Cen", FTDouble, 12, 4}},
        {{"HL", 12.0, 150.0}});
    const QString text = QStringLiteral("AgendaPath=") + money +
                         QStringLiteral("firma\r\nYearPath=") + money +
                         QStringLiteral("ROK\\\r\nImportPC=True");
    import::ImportDefinition d;
    d.kind = import::DefinitionKind::Money;
    d.rawText = text;
    import::MoneyImport run(db(), ui, protocol, {}, XBaseMoneyTable::factory());
    ASSERT_EQ(run.run(d, env.dataFolder()), 0) << lines().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(numbers(), QStringList{QStringLiteral("OBJ-7")});
    const auto o = rows(QStringLiteral("SELECT AdrNazev, CelkemNC, Zisk FROM Nabidky"));
    EXPECT_EQ(o[0].value(0).toString(), QStringLiteral("Žlutý kůň"));
    EXPECT_DOUBLE_EQ(o[0].value(1).toDouble(), 300);
    EXPECT_DOUBLE_EQ(o[0].value(2).toDouble(), 100);
    const auto i = rows(QStringLiteral("SELECT Popis, NakCena, PCBDPHPOL FROM NabPolozky"));
    ASSERT_EQ(i.size(), 1u);
    EXPECT_EQ(i[0].value(0).toString(), QStringLiteral("Zářivka"));
    EXPECT_DOUBLE_EQ(i[0].value(1).toDouble(), 150);
    EXPECT_DOUBLE_EQ(i[0].value(2).toDouble(), 400);
}

} // namespace
