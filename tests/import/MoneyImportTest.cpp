#include "MoneyImportAgenda.h"

#include "core/RtfCodec.h"
#include "services/ChangeStamps.h"
#include "support/RefusedWrites.h"

#include <QRegularExpression>

#include <cmath>
#include <limits>

using namespace orvento;
using Style = import::ImportProtocol::Style;

namespace {

class MoneyImportTest : public testsupport::MoneyImportAgenda {};

// One document with every field, an item whose purchase price comes from its stock card and a
// second one without a card, priced as the item card prices them on whole units.
TEST_F(MoneyImportTest, ADocumentBecomesAnOfferFieldByFieldWithItsLinesInOrder) {
    core::programState().settings.zaokrouhlitCelkem = 0;
    addDocument({{"Doklad", "NAB-001"},
                 {"Cislo", 11.0},
                 {"Popis", "Rozvaděč"},
                 {"PlatPodm", "převodem"},
                 {"Doprava", "vlastní"},
                 {"Vystaveno", 45292.0},
                 {"Vyridit do", 0.0},
                 {"O_NazevOb", "Elektro s.r.o."},
                 {"O_UliceOb", "Dlouhá 5"},
                 {"O_PscOb", "60200"},
                 {"O_MestoOb", "Brno"},
                 {"A_ICO", "12345678"},
                 {"A_DIC", "CZ12345678"},
                 {"A_Jmeno", "Jan Novák"},
                 {"TextPredPo", "Nabízíme\r\nVám"},
                 {"TextZaPol", ""},
                 {"Poznamka", "interní"},
                 {"SazbaDPH2", 21.0},
                 {"SazbaDPH1", 12.0},
                 {"Celkem", 500.0},
                 {"Zaklad0", 10.0},
                 {"Zaklad5", 20.0},
                 {"Zaklad22", 300.0}});
    addItem(11, {{"Popis", "Jistič"},
                 {"Cislo Zas.", 3.0},
                 {"Sklad", "HL"},
                 {"Sazba DPH", 21.0},
                 {"Cena s DPH", 0.0},
                 {"SlevaZakl", 125.0},
                 {"Sleva", 10.0},
                 {"PocetMJ", 3.0},
                 {"Poradi", 1.0},
                 {"MJ", "ks"},
                 {"Katalog", "J-16"}});
    addItem(11, {{"Popis", "Montáž"},
                 {"Cislo Zas.", 0.0},
                 {"Sazba DPH", 21.0},
                 {"Cena s DPH", 4.0},
                 {"SlevaZakl", 121.0},
                 {"PocetMJ", 0.0},
                 {"Poradi", 0.0}});
    tables.records["SKSEZZAS"] = {{{"Sklad", "HL"}, {"Cislo", 3.0}, {"Posl.N.Cen", 100.0}}};

    ASSERT_EQ(run(definitionText()), 0);
    EXPECT_EQ(imported, 1);

    const auto offers = rows(QStringLiteral("SELECT * FROM Nabidky"));
    ASSERT_EQ(offers.size(), 1u);
    const QSqlRecord& o = offers[0];
    EXPECT_EQ(o.value("Doklad").toString(), QStringLiteral("NAB-001"));
    EXPECT_EQ(o.value("ZpPlatby").toString(), QStringLiteral("převodem"));
    EXPECT_EQ(o.value("DatVystaveni").toDateTime(), services::fromStampValue(45292));
    EXPECT_TRUE(o.value("DatPlatnosti").isNull());
    EXPECT_TRUE(o.value("DatVyrizeni").isNull());
    EXPECT_EQ(o.value("AdrCislo").toInt(), 0);
    EXPECT_EQ(o.value("AdrKontakt").toString(), QStringLiteral("Jan Novák"));
    EXPECT_EQ(o.value("Nadpis").toString(), QStringLiteral("Nabídka"));
    const QString before = o.value("TextPred").toString();
    EXPECT_TRUE(before.contains(QStringLiteral("Arial")) &&
                before.contains(QStringLiteral("\\fs18")));
    EXPECT_EQ(core::rtf::plainText(before), QStringLiteral("Nabízíme\nVám"));
    EXPECT_EQ(o.value("TextZa").toString(), QString());
    EXPECT_EQ(o.value("Poznamka").toString(), QStringLiteral("interní"));
    EXPECT_DOUBLE_EQ(o.value("SazDPHZakl").toDouble(), 21);
    EXPECT_DOUBLE_EQ(o.value("SazDPHSniz").toDouble(), 12);
    EXPECT_EQ(o.value("NabZaok").toInt(), 0);
    EXPECT_DOUBLE_EQ(o.value("Celkem").toDouble(), 500);
    EXPECT_DOUBLE_EQ(o.value("CelkemBDPH").toDouble(), 330);
    // Purchase prices of the first line only: the second has no stock card.
    EXPECT_DOUBLE_EQ(o.value("CelkemNC").toDouble(), 300);
    EXPECT_FALSE(o.value("CenHladAdr").toBool());
    EXPECT_EQ(o.value("VytvorID").toInt(), 7);
    EXPECT_EQ(o.value("UpravID").toInt(), 7);
    EXPECT_EQ(o.value("Vytvoril").toString(), QStringLiteral("Nováková"));
    EXPECT_FALSE(o.value("Zamek").toBool());

    const auto items = rows(QStringLiteral("SELECT * FROM NabPolozky ORDER BY ID"));
    ASSERT_EQ(items.size(), 2u);
    // In the index's order: the item at position 0 comes first.
    const QSqlRecord& i = items[1];
    EXPECT_EQ(i.value("CisloNab").toLongLong(), o.value("ID").toLongLong());
    EXPECT_EQ(i.value("Katalog").toString(), QStringLiteral("J-16"));
    EXPECT_EQ(i.value("Zaok").toInt(), 1);
    EXPECT_DOUBLE_EQ(i.value("NakCena").toDouble(), 100);
    EXPECT_DOUBLE_EQ(i.value("ProdCenaPo").toDouble(), 113);
    EXPECT_DOUBLE_EQ(i.value("PCSDPHMJ").toDouble(), 137);
    EXPECT_DOUBLE_EQ(i.value("PCBDPHPOL").toDouble(), 339);
    EXPECT_DOUBLE_EQ(i.value("PCSDPHPOL").toDouble(), 411);
    EXPECT_DOUBLE_EQ(i.value("ZiskPol").toDouble(), 39);
    EXPECT_DOUBLE_EQ(i.value("Marze").toDouble(), 25);
    EXPECT_DOUBLE_EQ(i.value("Rabat").toDouble(), 20);
    const QSqlRecord& j = items[0];
    EXPECT_TRUE(j.value("SDPH").toBool());
    EXPECT_DOUBLE_EQ(j.value("PocetMJ").toDouble(), 0.0001);
    EXPECT_EQ(j.value("Poradi").toInt(), 1);
    EXPECT_DOUBLE_EQ(o.value("Zisk").toDouble(), 39 + j.value("ZiskPol").toDouble());

    const QString file = money + QStringLiteral("Rok/ObSezObj");
    const QStringList expected{QStringLiteral("Import dat z Money - Start *"),
                               QString(),
                               QStringLiteral("Objednávky/nabídky"),
                               QStringLiteral("• kontrola souborů na disku..."),
                               file + QStringLiteral(".dat"),
                               money + QStringLiteral("Rok/ObPolObj.dat"),
                               money + QStringLiteral("Firma/SkSezZas.dat"),
                               QStringLiteral("...kontrola OK"),
                               QStringLiteral("• otevření databází..."),
                               file,
                               money + QStringLiteral("Rok/ObPolObj"),
                               money + QStringLiteral("Firma/SkSezZas"),
                               QStringLiteral("...otevření OK"),
                               QStringLiteral("• nastavení indexu..."),
                               QStringLiteral("SkSezZas"),
                               QStringLiteral("ObPolObj"),
                               QStringLiteral("...index OK"),
                               QStringLiteral("• otevření interních databází..."),
                               QStringLiteral("Nabidky"),
                               QStringLiteral("NabPolozky"),
                               QStringLiteral(".. interní databáze OK"),
                               QStringLiteral("• import nových dokladů... prosím čekejte..."),
                               QStringLiteral("• celkem naimportovaných dokladů: 1"),
                               QString(),
                               QStringLiteral("Import dat z Money - Dokončeno *"),
                               QString(),
                               QString()};
    const QStringList got = lines();
    ASSERT_EQ(got.size(), expected.size()) << got.join(QLatin1Char('\n')).toStdString();
    const QRegularExpression stamp(
        QStringLiteral("\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d:\\d\\d hod$"));
    for (qsizetype n = 0; n < got.size(); ++n) {
        if (expected[n].endsWith(QLatin1Char('*'))) {
            EXPECT_TRUE(got[n].startsWith(expected[n].chopped(1)) && stamp.match(got[n]).hasMatch())
                << got[n].toStdString();
        } else {
            EXPECT_EQ(got[n], expected[n]);
        }
    }
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(MoneyImportTest, OnlyOpenDocumentsOfTheKindWithANewNumberAreImported) {
    ASSERT_TRUE(db().execute(QStringLiteral("INSERT INTO Nabidky (Doklad) VALUES ('žluť-1')")));
    addDocument({{"Doklad", "ŽLUŤ-1"}, {"Cislo", 1.0}});                     // stored, other case
    addDocument({{"Doklad", "F-1"}, {"Cislo", 2.0}, {"Druh dokl.", "F"}});   // another kind
    addDocument({{"Doklad", "V-1"}, {"Cislo", 3.0}, {"Vyrizeno", 45000.0}}); // settled
    addDocument({{"Doklad", "   "}, {"Cislo", 4.0}});                        // no number
    addDocument({{"Doklad", "N-1"}, {"Cislo", 5.0}});
    addDocument({{"Doklad", "n-1"}, {"Cislo", 6.0}}); // the same number again in this run
    // The number as stored is cut to the column's width; the check compares that.
    addDocument({{"Doklad", "DLOUHE-0001"}, {"Cislo", 7.0}});
    addDocument({{"Doklad", "dlouhe-0002"}, {"Cislo", 8.0}});
    // A lower-case kind is read upper-cased; ImportPC missing reads as true.
    ASSERT_EQ(run(definitionText(QStringLiteral("DruhDokl=n"))), 0);
    EXPECT_EQ(numbers(), (QStringList{QStringLiteral("žluť-1"), QStringLiteral("N-1"),
                                      QStringLiteral("DLOUHE-000")}));
    EXPECT_EQ(imported, 2);
    EXPECT_TRUE(tables.opened.count(QStringLiteral("SKSEZZAS")));

    // Run again: nothing new.
    protocol.clear();
    ASSERT_EQ(run(definitionText(QStringLiteral("DruhDokl=n"))), 0);
    EXPECT_EQ(imported, 0);
    EXPECT_TRUE(lines().contains(QStringLiteral("• celkem naimportovaných dokladů: 0")));
}

TEST_F(MoneyImportTest, WithoutSalePricesNoStockFileIsNeededAndItemsCarryPurchasePrices) {
    QFile::remove(money + QStringLiteral("Firma/SkSezZas.dat"));
    addDocument({{"Doklad", "N-2"}, {"Cislo", 2.0}, {"Celkem", 999.0}, {"Zaklad22", 5.0}});
    addItem(2, {{"Popis", "Kabel"},
                {"SlevaZakl", 12.345},
                {"PocetMJ", 3.0},
                {"Sazba DPH", 21.0},
                {"Poradi", 4.0},
                {"Sleva", 50.0},
                {"Cena s DPH", 1.0}});
    ASSERT_EQ(run(definitionText(QStringLiteral("ImportPC=false"))), 0);
    EXPECT_FALSE(tables.opened.count(QStringLiteral("SKSEZZAS")));
    const auto o = rows(QStringLiteral("SELECT Celkem, CelkemBDPH, CelkemNC, Zisk FROM Nabidky"));
    ASSERT_EQ(o.size(), 1u);
    EXPECT_DOUBLE_EQ(o[0].value(0).toDouble(), 0);
    EXPECT_DOUBLE_EQ(o[0].value(1).toDouble(), 0);
    EXPECT_DOUBLE_EQ(o[0].value(2).toDouble(), 37.04);
    EXPECT_DOUBLE_EQ(o[0].value(3).toDouble(), 0);
    const auto i =
        rows(QStringLiteral("SELECT NakCena, PocetMJ, SazbaDPH, Poradi, ProdCena, Sleva, "
                            "PCSDPHPOL, SDPH FROM NabPolozky"));
    ASSERT_EQ(i.size(), 1u);
    EXPECT_DOUBLE_EQ(i[0].value(0).toDouble(), 12.345);
    EXPECT_DOUBLE_EQ(i[0].value(2).toDouble(), 21);
    EXPECT_EQ(i[0].value(3).toInt(), 4);
    for (int zero : {4, 5, 6})
        EXPECT_DOUBLE_EQ(i[0].value(zero).toDouble(), 0);
    EXPECT_FALSE(i[0].value(7).toBool());
}

TEST_F(MoneyImportTest, SetPartsAreSkippedWithAWarningAndTheTablesLastItemIsTaken) {
    addDocument({{"Doklad", "S-1"}, {"Cislo", 1.0}, {"Celkem", 50.0}});
    addDocument({{"Doklad", "PRAZDNY"}, {"Cislo", 2.0}, {"Celkem", 70.0}});
    addDocument({{"Doklad", "POSLEDNI"}, {"Cislo", 3.0}});
    // Stored out of order: the index brings each document's items together.
    addItem(3, {{"Popis", "poslední"}, {"Poradi", 1.0}});
    addItem(1, {{"Popis", "sada"}, {"TypPolozky", "S"}, {"Poradi", 1.0}, {"SlevaZakl", 10.0}});
    addItem(1, {{"Popis", "díl"}, {"MasterCisl", 1.0}, {"Poradi", 2.0}});
    addItem(9, {{"Popis", "bez dokladu"}});
    ASSERT_EQ(run(definitionText(QStringLiteral("ImportPC=0"))), 0);
    EXPECT_TRUE(
        hasLine(QStringLiteral("• VAROVÁNÍ - importovaný doklad č. S-1 obsahuje položku typu "
                               "SADA, - záznam bude naimportován s nulovou sazbou DPH. "
                               "Otevřete naimportovaný doklad a sazbu DPH doplňte ručně!"),
                Style::Red));
    const auto items = rows(QStringLiteral("SELECT n.Doklad, p.Popis FROM NabPolozky p JOIN "
                                           "Nabidky n ON n.ID = p.CisloNab ORDER BY p.ID"));
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].value(1).toString(), QStringLiteral("sada"));
    EXPECT_EQ(items[1].value(0).toString(), QStringLiteral("POSLEDNI"));
    EXPECT_EQ(numbers().size(), 3);
}

TEST_F(MoneyImportTest, AFailureBeforeWritingEndsTheRunWithItsRedLineAndNoOffer) {
    addDocument({{"Doklad", "N-1"}, {"Cislo", 1.0}});
    QFile::remove(money + QStringLiteral("Rok/ObPolObj.dat"));
    EXPECT_EQ(run(definitionText()), -1);
    EXPECT_TRUE(hasLine(QStringLiteral("!CHYBA - soubor ") + money +
                            QStringLiteral("Rok/ObPolObj.dat neexistuje"),
                        Style::Red));

    QFile upper(money + QStringLiteral("Rok/OBPOLOBJ.DAT"));
    ASSERT_TRUE(upper.open(QIODevice::WriteOnly));
    tables.failOpen = {QStringLiteral("SKSEZZAS")};
    EXPECT_EQ(run(definitionText()), -1);
    EXPECT_TRUE(hasLine(QStringLiteral("!CHYBA - nelze otevřít databázi ") + money +
                            QStringLiteral("Firma/SkSezZas.dat"),
                        Style::Red));
    EXPECT_TRUE(hasLine(QStringLiteral("soubor je poškozený"), Style::Red));

    tables.failOpen.clear();
    tables.failIndex = {QStringLiteral("OBPOLOBJ")};
    // Folders given with backslashes and in another letter case are found all the same.
    const QString text =
        QStringLiteral("AgendaPath=") + money + QStringLiteral("FIRMA\\\r\nYearPath=") +
        QString(money).replace(QLatin1Char('/'), QLatin1Char('\\')) + QStringLiteral("rok");
    EXPECT_EQ(run(text), -1);
    EXPECT_TRUE(hasLine(QStringLiteral("!CHYBA - nelze nastavit index v ") + money +
                            QStringLiteral("Rok/OBPOLOBJ.DAT"),
                        Style::Red));
    EXPECT_FALSE(lines().last().startsWith(QStringLiteral("Import dat z Money - Dokončeno")));
    EXPECT_TRUE(numbers().isEmpty());
}

TEST_F(MoneyImportTest, PrerusitEndsTheRunWithinFiveRecordsWithoutAQuestion) {
    for (int n = 1; n <= 20; ++n)
        addDocument({{"Doklad", QStringLiteral("N-%1").arg(n)}, {"Cislo", double(n)}});
    // "Přerušit" pressed while the third document is read.
    tables.onNext = [](const QString& table, std::size_t at) {
        if (table == QStringLiteral("OBSEZOBJ") && at == 2)
            core::programState().cancelRequested = true;
    };
    ASSERT_EQ(run(definitionText()), 0);
    EXPECT_TRUE(interrupted);
    EXPECT_EQ(numbers().size(), 5);
    EXPECT_EQ(imported, 5);
    EXPECT_TRUE(
        lines().contains(QStringLiteral("• celkem naimportovaných dokladů: %1").arg(imported)));
    EXPECT_TRUE(
        lines()[lines().size() - 3].startsWith(QStringLiteral("Import dat z Money - Dokončeno")));
    EXPECT_TRUE(ui.texts(testsupport::ScriptedInteraction::Kind::Question).isEmpty());
}

TEST_F(MoneyImportTest, AFailedWriteLeavesNoPartOfItsDocument) {
    // The database refuses the second item of the second document.
    ASSERT_TRUE(testsupport::refuseWrites(
        db(), QStringLiteral("refuse"), QStringLiteral("INSERT"), QStringLiteral("NabPolozky"),
        QStringLiteral("NEW.Popis = 'chyba'"), QStringLiteral("disk je plný")));
    addDocument({{"Doklad", "A"}, {"Cislo", 1.0}});
    addDocument({{"Doklad", "B"}, {"Cislo", 2.0}});
    addItem(1, {{"Popis", "dobrá"}});
    addItem(2, {{"Popis", "dobrá"}, {"Poradi", 1.0}});
    addItem(2, {{"Popis", "chyba"}, {"Poradi", 2.0}});
    EXPECT_EQ(run(definitionText(QStringLiteral("ImportPC=False"))), -1);
    EXPECT_TRUE(std::any_of(protocol.lines().begin(), protocol.lines().end(), [](const auto& l) {
        return l.style == Style::Red &&
               l.text.startsWith(QStringLiteral("!CHYBA při ukládání do databáze: ")) &&
               l.text.contains(QStringLiteral("disk je plný"));
    }));
    // Both documents were in one unit: neither stays, and the count says so.
    EXPECT_TRUE(numbers().isEmpty());
    EXPECT_TRUE(rows(QStringLiteral("SELECT ID FROM NabPolozky")).empty());
    EXPECT_TRUE(lines().contains(QStringLiteral("• celkem naimportovaných dokladů: 0")));
}

TEST_F(MoneyImportTest, BadValuesAreWarnedAboutAndLongTextsCut) {
    addDocument({{"Doklad", "D-1"},
                 {"Cislo", 1.0},
                 {"Vystaveno", 5.0e7},
                 {"Vyridit do", -700000.0},
                 {"Celkem", std::numeric_limits<double>::quiet_NaN()},
                 {"Popis", QString(80, QLatin1Char('x'))}});
    addItem(1, {{"Popis", QString(60, QLatin1Char('y'))}, {"PLU", "12345678"}});
    ASSERT_EQ(run(definitionText()), 0);
    const auto o =
        rows(QStringLiteral("SELECT DatVystaveni, DatPlatnosti, Celkem, Popis FROM Nabidky"));
    ASSERT_EQ(o.size(), 1u);
    EXPECT_TRUE(o[0].value(0).isNull());
    EXPECT_TRUE(o[0].value(1).isNull());
    EXPECT_DOUBLE_EQ(o[0].value(2).toDouble(), 0);
    EXPECT_EQ(o[0].value(3).toString().size(), 50);
    const auto i = rows(QStringLiteral("SELECT Popis, PLU FROM NabPolozky"));
    EXPECT_EQ(i[0].value(0).toString().size(), 50);
    EXPECT_EQ(i[0].value(1).toString(), QStringLiteral("123456"));
    int warnings = 0;
    for (const auto& line : protocol.lines())
        warnings += line.style == Style::Red &&
                    line.text.startsWith(QStringLiteral("• VAROVÁNÍ - doklad č. D-1"));
    EXPECT_EQ(warnings, 3);
}

} // namespace
