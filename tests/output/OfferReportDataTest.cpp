#include "core/Database.h"
#include "core/ProgramState.h"
#include "output/DataSetReader.h"
#include "output/ReportData.h"
#include "output/ReportSession.h"
#include "services/ProfileStore.h"
#include "services/ProfileValues.h"
#include "support/OpenAgenda.h"
#include "support/ScriptedInteraction.h"
#include "support/TestStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace orvento;
using testsupport::ScriptedInteraction;
using Kind = ScriptedInteraction::Kind;

namespace {

class OfferReportDataTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(
            testsupport::openTestAgenda(env, QStringLiteral("0001.res"), QStringLiteral("Firma")));
        state().settings.nazev = QStringLiteral("Dodavatel & syn");
        state().settings.symbolMeny = QStringLiteral("Kč");
        state().settings.obrazkyPriTisku = true;
        state().settings.slozkaObrazku = QStringLiteral("/obrazky/");
        state().user.jmeno = QStringLiteral("Novák");
        state().user.nakupniCeny = true;
    }

    static core::ProgramState& state() { return core::programState(); }
    static core::Database& db() { return state().db->agenda; }
    output::ReportContext context() { return {state().settings, state().user, db(), nullptr}; }

    qint64 addOffer(const QString& doklad, double celkem, double celkemBdph) {
        EXPECT_TRUE(db().execute(
            QStringLiteral("INSERT INTO Nabidky (Doklad, Popis, SazDPHZakl, SazDPHSniz, Celkem, "
                           "CelkemBDPH, CelkemNC, Zisk, AdrCislo, IDStav, Zamek, DatVystaveni) "
                           "VALUES (:Doklad, :Popis, 21, 12, :Celkem, :CelkemBDPH, 50, 30, "
                           ":AdrCislo, 0, 0, :Dat)"),
            {{QStringLiteral("Doklad"), doklad},
             {QStringLiteral("Popis"), QStringLiteral("Nabídka <%1>").arg(doklad)},
             {QStringLiteral("Celkem"), celkem},
             {QStringLiteral("CelkemBDPH"), celkemBdph},
             {QStringLiteral("AdrCislo"), m_firm},
             {QStringLiteral("Dat"), QDateTime(QDate(2024, 3, 5), QTime(0, 0))}}));
        return db().newRowId();
    }

    void addItem(qint64 offer, int poradi, const QString& popis, double net, double rate,
                 bool cost = false, double sleva = 0.0, qint64 card = 0) {
        const double vat = net * rate / 100.0;
        ASSERT_TRUE(db().execute(
            QStringLiteral(
                "INSERT INTO NabPolozky (CisloNab, Poradi, Popis, PocetMJ, ProdCena, SDPH, "
                "SazbaDPH, Sleva, NakCena, PCBDPHPOL, VyseDPHPol, PCSDPHPOL, Nakladova, "
                "CisloKarty, ZiskMJ, ZiskPol) VALUES (:CisloNab, :Poradi, :Popis, 2, :ProdCena, 0, "
                ":SazbaDPH, :Sleva, 10, :Net, :Vat, :Gross, :Nakladova, :CisloKarty, 4, 8)"),
            {{QStringLiteral("CisloNab"), offer},
             {QStringLiteral("Poradi"), poradi},
             {QStringLiteral("Popis"), popis},
             {QStringLiteral("ProdCena"), net / 2.0 / (1.0 - sleva / 100.0)},
             {QStringLiteral("SazbaDPH"), rate},
             {QStringLiteral("Sleva"), sleva},
             {QStringLiteral("Net"), net},
             {QStringLiteral("Vat"), vat},
             {QStringLiteral("Gross"), net + vat},
             {QStringLiteral("Nakladova"), cost},
             {QStringLiteral("CisloKarty"), card}}));
    }

    testsupport::TestEnvironment env;
    qint64 m_firm = 0;
};

double headerValue(const output::OfferReport& r, const char* column) {
    return r.header.value(0, QString::fromLatin1(column)).toDouble();
}

} // namespace

// Only the base rate, a cost item that counts in the sums but is not printed, items printed in
// their print order whatever order they were stored in.
TEST_F(OfferReportDataTest, SumsWithTheBaseRateAndACostItem) {
    const qint64 offer = addOffer(QStringLiteral("NB001"), 400.0, 330.0);
    addItem(offer, 3, QStringLiteral("Třetí"), 100.0, 21.0);
    addItem(offer, 1, QStringLiteral("První"), 200.0, 21.0);
    addItem(offer, 2, QStringLiteral("Doprava"), 30.0, 21.0, true);
    const auto report = output::offerReport(context(), offer);
    ASSERT_TRUE(report);
    ASSERT_EQ(report->items.rowCount(), 2);
    EXPECT_EQ(report->items.value(0, QStringLiteral("Popis")).toString(), QStringLiteral("První"));
    EXPECT_EQ(report->items.value(1, QStringLiteral("Popis")).toString(), QStringLiteral("Třetí"));
    EXPECT_DOUBLE_EQ(headerValue(*report, "ZakladDPHZakl"), 330.0);
    EXPECT_DOUBLE_EQ(headerValue(*report, "DPHZakl"), 69.3);
    EXPECT_DOUBLE_EQ(headerValue(*report, "CelkemSDPHZakl"), 399.3);
    for (const char* zero : {"ZakladDPHSniz", "DPHSniz", "CelkemSDPHSniz", "ZakladDPHNula"})
        EXPECT_EQ(headerValue(*report, zero), 0.0) << zero;
    EXPECT_DOUBLE_EQ(headerValue(*report, "Zaokrouhleno"), 0.7);
    EXPECT_EQ(report->header.value(0, QStringLiteral("DatVystaveni")).toString(),
              QStringLiteral("05.03.2024"));
    EXPECT_EQ(report->header.value(0, QStringLiteral("DodNazev")).toString(),
              QStringLiteral("Dodavatel & syn"));
    EXPECT_EQ(report->identifiers.rowCount(), 0);
}

// Each rate in its own sum, zero-rate items only in the zero base; when the two rates of an offer
// coincide an item counts in the base rate only.
TEST_F(OfferReportDataTest, ReducedAndZeroRatesAndCoincidingRates) {
    const qint64 offer = addOffer(QStringLiteral("NB002"), 0.0, 0.0);
    addItem(offer, 1, QStringLiteral("A"), 100.0, 21.0);
    addItem(offer, 2, QStringLiteral("B"), 50.0, 12.0);
    addItem(offer, 3, QStringLiteral("C"), 20.0, 0.0);
    auto report = output::offerReport(context(), offer);
    ASSERT_TRUE(report);
    EXPECT_DOUBLE_EQ(headerValue(*report, "ZakladDPHSniz"), 50.0);
    EXPECT_DOUBLE_EQ(headerValue(*report, "DPHSniz"), 6.0);
    EXPECT_DOUBLE_EQ(headerValue(*report, "ZakladDPHNula"), 20.0);
    EXPECT_DOUBLE_EQ(headerValue(*report, "ZakladDPHZakl"), 100.0);

    ASSERT_TRUE(db().execute(QStringLiteral("UPDATE Nabidky SET SazDPHSniz = 21 WHERE ID = :ID"),
                             {{QStringLiteral("ID"), offer}}));
    report = output::offerReport(context(), offer);
    EXPECT_DOUBLE_EQ(headerValue(*report, "ZakladDPHZakl"), 100.0);
    EXPECT_EQ(headerValue(*report, "ZakladDPHSniz"), 0.0);
}

// Discounts: the full price less the discounted one, per item and summed; purchase prices and
// profit only for a user who may see them.
TEST_F(OfferReportDataTest, DiscountsAndPurchasePriceRights) {
    const qint64 offer = addOffer(QStringLiteral("NB003"), 0.0, 0.0);
    addItem(offer, 1, QStringLiteral("Se slevou"), 180.0, 21.0, false, 10.0);
    auto report = output::offerReport(context(), offer);
    ASSERT_TRUE(report);
    EXPECT_NEAR(report->items.value(0, QStringLiteral("VyseSlBDPHCelk")).toDouble(), 20.0, 1e-9);
    EXPECT_NEAR(report->items.value(0, QStringLiteral("VyseSlSDPHCelk")).toDouble(), 24.2, 1e-9);
    EXPECT_NEAR(headerValue(*report, "CelkemVyseSlevyBDPH"), 20.0, 1e-9);
    EXPECT_DOUBLE_EQ(report->items.value(0, QStringLiteral("NakCenaPol")).toDouble(), 20.0);
    EXPECT_DOUBLE_EQ(headerValue(*report, "CelkemNC"), 50.0);

    state().user.nakupniCeny = false;
    report = output::offerReport(context(), offer);
    for (const char* hidden : {"NakCena", "NakCenaPol", "ZiskMJ", "ZiskPol"})
        EXPECT_EQ(report->items.value(0, QString::fromLatin1(hidden)).toDouble(), 0.0) << hidden;
    EXPECT_EQ(headerValue(*report, "CelkemNC"), 0.0);
    EXPECT_EQ(headerValue(*report, "Zisk"), 0.0);
}

// The unit price before the discount, without and with VAT, also of an item priced with VAT (its
// price without VAT derived with the item's rounding); the sums of the VAT table, from which the
// rounding is what is left to the offer's total.
TEST_F(OfferReportDataTest, UnitPriceBeforeDiscountAndTheVatTableSums) {
    const qint64 offer = addOffer(QStringLiteral("NB004"), 544.0, 0.0);
    addItem(offer, 1, QStringLiteral("Se slevou"), 180.0, 21.0, false, 10.0);
    addItem(offer, 2, QStringLiteral("Kniha"), 50.0, 12.0);
    addItem(offer, 3, QStringLiteral("Bez DPH"), 20.0, 0.0);
    ASSERT_TRUE(db().execute(
        QStringLiteral("INSERT INTO NabPolozky (CisloNab, Poradi, Popis, PocetMJ, ProdCena, "
                       "ProdCenaPo, SDPH, Zaok, SazbaDPH, Sleva, PCBDPHPOL, VyseDPHPol, PCSDPHPOL) "
                       "VALUES (:N, 4, 'S DPH', 1, 242, 242, -1, 1, 21, 0, 200, 42, 242)"),
        {{QStringLiteral("N"), offer}}));
    const auto report = output::offerReport(context(), offer);
    ASSERT_TRUE(report);
    ASSERT_EQ(report->items.rowCount(), 4);
    const auto unit = [&report](int row, const char* column) {
        return report->items.value(row, QString::fromLatin1(column)).toDouble();
    };
    EXPECT_DOUBLE_EQ(unit(0, "ProdCenaBDPH"), 100.0);
    EXPECT_DOUBLE_EQ(unit(0, "ProdCenaSDPH"), 121.0);
    // 242 less 17.36 % is 199.9888, whole crowns by the item's rounding.
    EXPECT_DOUBLE_EQ(unit(3, "ProdCenaBDPH"), 200.0);
    EXPECT_DOUBLE_EQ(unit(3, "ProdCenaSDPH"), 242.0);

    EXPECT_DOUBLE_EQ(headerValue(*report, "ZakladDPHCelkem"), 180.0 + 50.0 + 20.0 + 200.0);
    EXPECT_NEAR(headerValue(*report, "DPHCelkem"), 37.8 + 6.0 + 42.0, 1e-9);
    EXPECT_NEAR(headerValue(*report, "CelkemSDPHPredZaokr"), 535.8, 1e-9);
    EXPECT_NEAR(headerValue(*report, "Zaokrouhleno"), 8.2, 1e-9);
}

// The customer's contact columns come from the address book; the list report takes the offers in
// the order given (the selected ones) and sums them.
TEST_F(OfferReportDataTest, CustomerColumnsAndTheOfferList) {
    ASSERT_TRUE(db().execute(
        QStringLiteral("INSERT INTO Adresar (Nazev, Telefon, Email, Stat) VALUES ('Odběratel', "
                       "'777 123 456', 'info@odb.cz', 'Česko')")));
    m_firm = db().newRowId();
    const qint64 a = addOffer(QStringLiteral("NB010"), 121.0, 100.0);
    const qint64 b = addOffer(QStringLiteral("NB011"), 242.0, 200.0);
    addOffer(QStringLiteral("NB012"), 1000.0, 900.0);
    const auto offer = output::offerReport(context(), a);
    ASSERT_TRUE(offer);
    EXPECT_EQ(offer->header.value(0, QStringLiteral("AdrTelefon")).toString(),
              QStringLiteral("777 123 456"));
    EXPECT_EQ(offer->header.value(0, QStringLiteral("AdrStat")).toString(),
              QStringLiteral("Česko"));

    const auto list = output::offerListReport(context(), {b, a});
    ASSERT_TRUE(list);
    ASSERT_EQ(list->offers.rowCount(), 2);
    EXPECT_EQ(list->offers.value(0, QStringLiteral("Doklad")).toString(), QStringLiteral("NB011"));
    EXPECT_DOUBLE_EQ(list->header.value(0, QStringLiteral("CelkemSDPH")).toDouble(), 363.0);
    EXPECT_DOUBLE_EQ(list->header.value(0, QStringLiteral("CelkemBDPH")).toDouble(), 300.0);
    EXPECT_FALSE(output::offerReport(context(), 9999));
}

// The session: a missing template is reported (with the reinstall hint for a built-in one), the
// template is found ignoring letter case, the files land in a folder only the user can open, an
// empty printer name stays empty, and a runner that cannot be started is reported.
TEST_F(OfferReportDataTest, SessionFindsTemplatesAndWritesPrivateFiles) {
    const qint64 offer = addOffer(QStringLiteral("NB020"), 121.0, 100.0);
    QDir().mkpath(state().folders.print);
    ScriptedInteraction ui;
    output::ReportSession session(context(), ui);
    output::ReportChoice choice;
    choice.file = QStringLiteral("_NABKSP");
    choice.builtIn = true;
    output::ReportSubject subject;
    subject.offerId = offer;
    EXPECT_EQ(session.prepareReportData(choice, subject, QStringLiteral("PREVIEW")), -1);
    EXPECT_TRUE(
        ui.saw(Kind::Warning, QStringLiteral("Formulářový soubor %1_NABKSP.FRX nebyl nalezen !\n\n"
                                             "Proveďte reinstalaci programu.")
                                  .arg(state().folders.print)));

    QFile frx(state().folders.print + QStringLiteral("_nabksp.frx"));
    ASSERT_TRUE(frx.open(QIODevice::WriteOnly));
    frx.write("[body]\nx\n");
    frx.close();
    ASSERT_EQ(session.prepareReportData(choice, subject, QStringLiteral("PREVIEW")), 0);
    EXPECT_EQ(QFileInfo(session.workFolder()).permissions() &
                  (QFileDevice::ReadGroup | QFileDevice::ReadOther | QFileDevice::WriteOther),
              QFileDevice::Permissions());
    QString error;
    const auto system = output::readDataSet(session.systemDataFile(), &error);
    ASSERT_TRUE(system) << error.toStdString();
    const output::ReportTable* info = system->table(QStringLiteral("Info"));
    ASSERT_TRUE(info);
    EXPECT_EQ(info->value(0, QStringLiteral("ReportFileName")).toString(), frx.fileName());
    EXPECT_EQ(info->value(0, QStringLiteral("PrinterName")).toString(), QString());
    EXPECT_EQ(info->value(0, QStringLiteral("PageRangeTo")).toInt(), 9999);
    const QString longExport = QStringLiteral("/tmp/") +
                               QStringLiteral("dlouhá složka/").repeated(30) +
                               QStringLiteral("nabidka.pdf");
    ASSERT_EQ(session.prepareReportData(choice, subject, QStringLiteral("PDFEXPORT"), longExport),
              0);
    EXPECT_EQ(output::readDataSet(session.systemDataFile(), nullptr)
                  ->table(QStringLiteral("Info"))
                  ->value(0, QStringLiteral("ExportFileName"))
                  .toString(),
              longExport);
    const auto data = output::readDataSet(session.reportDataFile(), &error);
    ASSERT_TRUE(data);
    ASSERT_EQ(data->tables.size(), 3u);
    EXPECT_EQ(data->tables[0].value(0, QStringLiteral("Popis")).toString(),
              QStringLiteral("Nabídka <NB020>"));

    session.setRunnerProgram(env.programFolder() + QStringLiteral("chybi/Dastrel"));
    int toggles = 0;
    EXPECT_FALSE(session.startReportRunner([&toggles](bool) { ++toggles; }));
    EXPECT_EQ(toggles, 2);
    EXPECT_TRUE(ui.saw(Kind::Error, QStringLiteral("Při spouštění souboru %1chybi/Dastrel došlo "
                                                   "k chybě.")
                                        .arg(env.programFolder())));
}

TEST_F(OfferReportDataTest, MarkingAsSentAfterPrinting) {
    const qint64 offer = addOffer(QStringLiteral("NB030"), 0.0, 0.0);
    ScriptedInteraction ui;
    ui.answer(true);
    EXPECT_TRUE(output::offerToMarkAsSent(db(), offer, state().user, ui));
    EXPECT_TRUE(ui.saw(Kind::Question,
                       QStringLiteral("Chcete nabídku NB030 označit příznakem \"odeslaná (čekáme "
                                      "na vyjádření odběratele)\" ?")));
    // Now in state 1: no question any more; nor for a user who may only read offers.
    EXPECT_FALSE(output::offerToMarkAsSent(db(), offer, state().user, ui));
    db().execute(QStringLiteral("UPDATE Nabidky SET IDStav = 2 WHERE ID = :ID"),
                 {{QStringLiteral("ID"), offer}});
    state().user.nabidky = core::AccessLevel::ReadOnly;
    EXPECT_FALSE(output::offerToMarkAsSent(db(), offer, state().user, ui));
    state().user.nabidky = core::AccessLevel::Full;
}

// A temporary folder where the work folder cannot be made: told, and nothing is written.
TEST_F(OfferReportDataTest, UnwritableWorkFolderIsReported) {
    const qint64 offer = addOffer(QStringLiteral("NB040"), 0.0, 0.0);
    QDir().mkpath(state().folders.print);
    QFile frx(state().folders.print + QStringLiteral("VLASTNI.FRX"));
    ASSERT_TRUE(frx.open(QIODevice::WriteOnly));
    frx.close();
    const QByteArray oldTmp = qgetenv("TMPDIR");
    // A file where the temporary folder should be (the tests may run as root, whom file modes
    // do not stop).
    QFile notAFolder(env.dataFolder() + QStringLiteral("soubor"));
    ASSERT_TRUE(notAFolder.open(QIODevice::WriteOnly));
    notAFolder.close();
    qputenv("TMPDIR", notAFolder.fileName().toUtf8());
    ScriptedInteraction ui;
    output::ReportSession session(context(), ui);
    output::ReportChoice choice;
    choice.file = QStringLiteral("VLASTNI");
    output::ReportSubject subject;
    subject.offerId = offer;
    EXPECT_EQ(session.prepareReportData(choice, subject, QStringLiteral("PRINT")), -1);
    qputenv("TMPDIR", oldTmp);
    ASSERT_EQ(ui.texts(Kind::Error).size(), 1);
    EXPECT_TRUE(ui.texts(Kind::Error)
                    .front()
                    .startsWith(QStringLiteral("Při exportu do dočasného souboru %1soubor/")
                                    .arg(env.dataFolder())));
    EXPECT_FALSE(ui.waitShown());
}

// What comes from the global database: the contact of the offer's author and a desktop note.
TEST_F(OfferReportDataTest, AuthorContactAndNote) {
    ASSERT_TRUE(testsupport::openTestGlobal(env));
    core::Database& global = state().db->global;
    ASSERT_TRUE(global.execute(
        QStringLiteral("INSERT INTO Login (UzivID, Jmeno, Telefon, Email) VALUES (7, 'Eva Malá', "
                       "'603 111 222', 'eva@firma.cz')")));
    ASSERT_TRUE(global.execute(QStringLiteral("INSERT INTO Poznamky (Nazev, Detail) VALUES "
                                              "('Porada', 'Řádek 1\nŘádek 2')")));
    const qint64 noteId = global.newRowId();
    const qint64 offer = addOffer(QStringLiteral("NB050"), 0.0, 0.0);
    ASSERT_TRUE(db().execute(QStringLiteral("UPDATE Nabidky SET VytvorID = 7 WHERE ID = :ID"),
                             {{QStringLiteral("ID"), offer}}));
    output::ReportContext withGlobal = context();
    withGlobal.global = &global;
    const auto report = output::offerReport(withGlobal, offer);
    ASSERT_TRUE(report);
    EXPECT_EQ(report->header.value(0, QStringLiteral("KontaktVytvoril")).toString(),
              QStringLiteral("Eva Malá, tel. 603 111 222, e-mail eva@firma.cz"));

    QDir().mkpath(state().folders.print);
    QFile frx(state().folders.print + QStringLiteral("_POZN.FRX"));
    ASSERT_TRUE(frx.open(QIODevice::WriteOnly));
    frx.close();
    ScriptedInteraction ui;
    output::ReportSession session(withGlobal, ui);
    output::ReportChoice choice;
    choice.printType = output::print_type::Note;
    choice.file = QStringLiteral("_POZN");
    output::ReportSubject subject;
    subject.noteId = noteId;
    ASSERT_EQ(session.prepareReportData(choice, subject, QStringLiteral("PREVIEW")), 0);
    const auto data = output::readDataSet(session.reportDataFile(), nullptr);
    ASSERT_TRUE(data);
    const output::ReportTable* note = data->table(QStringLiteral("mtPoznTisk"));
    ASSERT_TRUE(note);
    EXPECT_EQ(note->value(0, QStringLiteral("Detail")).toString(),
              QStringLiteral("Řádek 1\nŘádek 2"));
    global.close();
}

// Printing an offer without the print window: the standard offer report, the runner, and then
// the question about the offer's state; a remembered list report is not taken for an offer.
TEST_F(OfferReportDataTest, PrintingAnOfferDirectly) {
    const qint64 offer = addOffer(QStringLiteral("NB060"), 0.0, 0.0);
    QDir().mkpath(state().folders.print);
    QFile frx(state().folders.print + QStringLiteral("_NABKSP.FRX"));
    ASSERT_TRUE(frx.open(QIODevice::WriteOnly));
    frx.close();
    // A runner that only notes which template it was given.
    const QString runner = env.dataFolder() + QStringLiteral("runner.sh");
    const QString seen = env.dataFolder() + QStringLiteral("seen.txt");
    QFile script(runner);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\nprintf '%s' \"$1\" > '%1'\n").arg(seen).toUtf8());
    script.close();
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    ASSERT_TRUE(services::profile::saveValue(services::profile::value::OfferReport,
                                             QStringLiteral("_NABSZ")));

    ScriptedInteraction ui;
    ui.answer(true);
    EXPECT_TRUE(
        output::printOfferDirectly(context(), ui, offer, QStringLiteral("PREVIEW"), runner));
    QFile argument(seen);
    ASSERT_TRUE(argument.open(QIODevice::ReadOnly));
    EXPECT_TRUE(argument.readAll().startsWith("?SYSTEMDATA="));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT IDStav FROM Nabidky WHERE ID = :ID"),
                          {{QStringLiteral("ID"), offer}})
                  .value_or(-1)
                  .toInt(),
              1);
}
