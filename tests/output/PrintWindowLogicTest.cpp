#include "output/PrintWindowLogic.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "output/DataSetReader.h"
#include "output/ReportData.h"
#include "services/ProfileStore.h"
#include "services/ProfileValues.h"
#include "support/OpenAgenda.h"
#include "support/RefusedWrites.h"
#include "support/ScriptedInteraction.h"
#include "support/TestEnvironment.h"
#include "support/TestStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace orvento;
using testsupport::ScriptedInteraction;
using Kind = ScriptedInteraction::Kind;
namespace print_type = output::print_type;
namespace report_kind = output::report_kind;

namespace {

class PrintWindowLogicTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(
            testsupport::openTestAgenda(env, QStringLiteral("0001.res"), QStringLiteral("Firma")));
        ASSERT_TRUE(testsupport::openTestGlobal(env));
        QDir().mkpath(folder());
    }
    void TearDown() override { core::resetProgramState(); }

    static core::ProgramState& state() { return core::programState(); }
    static core::Database& global() { return state().db->global; }
    static QString folder() { return state().folders.print; }
    output::ReportContext context() {
        return {state().settings, state().user, state().db->agenda, &global()};
    }
    static void touch(const QString& name) {
        QFile f(folder() + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[body]\n");
    }
    void addUserReport(int type, const QString& name, const QString& file, int kind) {
        ASSERT_TRUE(global().execute(
            QStringLiteral("INSERT INTO Sestavy (Nazev, Soubor, Popis, IDModulu, TypSest) VALUES "
                           "(:Nazev, :Soubor, '', :IDModulu, :TypSest)"),
            {{QStringLiteral("Nazev"), name},
             {QStringLiteral("Soubor"), file},
             {QStringLiteral("IDModulu"), type},
             {QStringLiteral("TypSest"), kind}}));
    }
    QStringList storedReports(int type) {
        QStringList out;
        QSqlQuery q = global().select(
            QStringLiteral("SELECT Nazev, Soubor FROM Sestavy WHERE IDModulu = :T ORDER BY Nazev"),
            {{QStringLiteral("T"), type}});
        while (q.next())
            out << q.value(0).toString() + QLatin1Char('|') + q.value(1).toString();
        return out;
    }
    static output::PrinterSource printers(QStringList names, QString byDefault) {
        return [names, byDefault] {
            return output::PrinterList{names, byDefault};
        };
    }

    testsupport::TestEnvironment env;
};

// A failed insert while the user's reports are written back must not lose the ones stored.
TEST_F(PrintWindowLogicTest, RewritingTheUserReportsIsAllOrNothing) {
    addUserReport(print_type::Offers, QStringLiteral("Moje nabídka"), QStringLiteral("MOJE"), 1);
    ASSERT_TRUE(testsupport::refuseWrites(global(), QStringLiteral("refuse"),
                                          QStringLiteral("INSERT"), QStringLiteral("Sestavy"),
                                          QStringLiteral("NEW.Nazev = 'vadná'")));
    ScriptedInteraction ui;
    const std::vector<output::ReportRow> rows = {
        {true, QStringLiteral("Nabídka standardní"), QStringLiteral("_NABKSP"), {}, 1},
        {false, QStringLiteral("jiná"), QStringLiteral("JINA"), {}, 1},
        {false, QStringLiteral("vadná"), QStringLiteral("VADNA"), {}, 1}};
    EXPECT_FALSE(output::storeUserReports(global(), print_type::Offers, rows, ui));
    EXPECT_TRUE(ui.sawContaining(Kind::Error, QStringLiteral("Sestavy")));
    EXPECT_EQ(storedReports(print_type::Offers), QStringList{QStringLiteral("Moje nabídka|MOJE")});
}

// Built-in reports first, then the user's; a list report hidden by the kind filter survives a
// change made in the filtered window; copy, rename and delete; the template stays on disk.
TEST_F(PrintWindowLogicTest, CopyEditAndDeleteUserReports) {
    touch(QStringLiteral("_NABKSP.FRX"));
    touch(QStringLiteral("nabksp[2].frx")); // taken, whatever its letters
    addUserReport(print_type::Offers, QStringLiteral("Můj seznam"), QStringLiteral("SEZNAM"), 2);
    addUserReport(print_type::CatalogueWithGroups, QStringLiteral("Ceník jiného typu"),
                  QStringLiteral("CENIK"), 1);
    ScriptedInteraction ui;
    {
        output::PrintWindowLogic logic(context(), global(), ui, print_type::Offers,
                                       report_kind::Offer, {});
        ASSERT_TRUE(logic.open());
        ASSERT_EQ(logic.rowCount(), 7); // the offer reports only
        EXPECT_EQ(logic.row(0).file, QStringLiteral("_NABKSP"));
        EXPECT_EQ(logic.allRows().back().file, QStringLiteral("SEZNAM"));
        ui.answer(false); // not into the editor
        output::ReportPropertiesForm shown;
        logic.copyReport([&](output::ReportPropertiesForm& form) {
            shown = form;
            return true;
        });
        EXPECT_EQ(shown.file, QStringLiteral("NABKSP[3]"));
        EXPECT_EQ(shown.name, QStringLiteral("Nabídka standardní[3]"));
        EXPECT_TRUE(shown.fileEnabled);
        EXPECT_FALSE(shown.kindEnabled);
        EXPECT_TRUE(QFileInfo::exists(folder() + QStringLiteral("NABKSP[3].FRX")));
        ASSERT_EQ(logic.current()->file, QStringLiteral("NABKSP[3]"));
        // Renaming the copy.
        logic.reportProperties(false, false, [](output::ReportPropertiesForm& form) {
            form.name = QStringLiteral("Moje nabídka");
            return true;
        });
        EXPECT_TRUE(logic.close());
    }
    EXPECT_EQ(storedReports(print_type::Offers),
              (QStringList{QStringLiteral("Moje nabídka|NABKSP[3]"),
                           QStringLiteral("Můj seznam|SEZNAM")}));
    EXPECT_EQ(storedReports(print_type::CatalogueWithGroups),
              QStringList{QStringLiteral("Ceník jiného typu|CENIK")});
    {
        output::PrintWindowLogic logic(context(), global(), ui, print_type::Offers, std::nullopt,
                                       {});
        ASSERT_TRUE(logic.open());
        ASSERT_EQ(logic.rowCount(), 10);
        EXPECT_EQ(logic.row(8).file, QStringLiteral("SEZNAM"));
        logic.setCurrentRow(0);
        logic.deleteReport(); // built in
        EXPECT_TRUE(ui.saw(Kind::Information,
                           QStringLiteral("Tato sestava je součástí programu a nelze ji smazat.")));
        logic.setCurrentRow(9);
        ui.answer(true);
        logic.deleteReport();
        EXPECT_EQ(logic.rowCount(), 9);
        EXPECT_EQ(logic.currentRow(), 8);
        EXPECT_TRUE(logic.close());
    }
    EXPECT_EQ(storedReports(print_type::Offers), QStringList{QStringLiteral("Můj seznam|SEZNAM")});
    EXPECT_TRUE(QFileInfo::exists(folder() + QStringLiteral("NABKSP[3].FRX")));
}

// A template chosen by the user is stored with the letters it has on disk; a leading "_", an
// empty name or a file that is not there are refused.
TEST_F(PrintWindowLogicTest, AddingATemplateFromDisk) {
    touch(QStringLiteral("Adresy Šablona.FRX"));
    ScriptedInteraction ui;
    output::PrintWindowLogic logic(context(), global(), ui, print_type::AddressBook, std::nullopt,
                                   {});
    ASSERT_TRUE(logic.open());
    output::ReportPropertiesForm form;
    form.file = QStringLiteral("_ABC");
    form.name = QStringLiteral("x");
    EXPECT_FALSE(logic.acceptProperties(form));
    EXPECT_TRUE(ui.sawContaining(Kind::Information, QStringLiteral("nesmí začínat znakem")));
    form.file = QStringLiteral("ABC");
    form.name = QStringLiteral("  ");
    EXPECT_FALSE(logic.acceptProperties(form));

    int shown = 0;
    const int result = logic.reportProperties(false, true, [&](output::ReportPropertiesForm& f) {
        ++shown;
        f.name = QStringLiteral("Adresy");
        f.file = shown == 1 ? QStringLiteral("neni") : QStringLiteral("adresy šablona");
        return true;
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(shown, 2);
    EXPECT_TRUE(ui.sawContaining(Kind::Warning, QStringLiteral("neexistuje!")));
    ASSERT_EQ(logic.current()->file, QStringLiteral("Adresy Šablona"));
    EXPECT_FALSE(logic.current()->original);
    EXPECT_TRUE(logic.close());
    EXPECT_EQ(storedReports(print_type::AddressBook),
              QStringList{QStringLiteral("Adresy|Adresy Šablona")});
}

// No printers, a remembered printer that is gone, the default printer, and the drop-down that
// keeps the chosen printer by its name.
TEST_F(PrintWindowLogicTest, PrinterList) {
    ScriptedInteraction ui;
    QStringList installed;
    output::PrintWindowLogic logic(context(), global(), ui, print_type::AddressBook, std::nullopt,
                                   [&installed] {
                                       return output::PrinterList{installed, QStringLiteral("B")};
                                   });
    ASSERT_TRUE(logic.open());
    EXPECT_EQ(logic.printerRow(), -1);
    EXPECT_TRUE(logic.printerName().isEmpty());
    logic.setDefaultPrinter(); // nothing to remember
    EXPECT_EQ(logic.chosenDefaultPrinter(), -1);

    installed = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")};
    logic.fillPrinters(-1);
    EXPECT_EQ(logic.printerName(), QStringLiteral("B"));
    logic.fillPrinters(5);
    EXPECT_EQ(logic.printerRow(), -1);
    logic.fillPrinters(2);
    installed = {QStringLiteral("C"), QStringLiteral("D")};
    logic.refreshPrinters();
    EXPECT_EQ(logic.printerRow(), 0);
    EXPECT_EQ(logic.printerName(), QStringLiteral("C"));

    logic.setPrinterRow(1);
    logic.setDefaultPrinter();
    logic.setCurrentRow(1);
    logic.setDefaultReport();
    EXPECT_TRUE(logic.close());
    EXPECT_EQ(services::profile::loadValue(services::profile::value::AddressBookPrinter),
              QStringLiteral("1"));
    EXPECT_EQ(services::profile::loadValue(services::profile::value::AddressBookReport),
              QStringLiteral("_ADRSZKT"));
    EXPECT_TRUE(services::profile::loadValue(services::profile::value::OfferPrinter)
                    .isEmpty()); // the offers' own stays untouched

    output::PrintWindowLogic again(context(), global(), ui, print_type::AddressBook, std::nullopt,
                                   printers({QStringLiteral("C")}, QStringLiteral("C")));
    ASSERT_TRUE(again.open());
    EXPECT_EQ(again.currentRow(), 1);
    EXPECT_EQ(again.printerRow(), -1); // the remembered second printer is gone
}

// A user report whose template was deleted is told and nothing is started; preview in export
// mode only tells that it is not there.
TEST_F(PrintWindowLogicTest, MissingTemplateAndExportPreview) {
    addUserReport(print_type::AddressBook, QStringLiteral("Smazaná"), QStringLiteral("SMAZANA"), 1);
    ScriptedInteraction ui;
    output::PrintWindowLogic logic(context(), global(), ui, print_type::AddressBook, std::nullopt,
                                   {});
    logic.setRunnerProgram(env.dataFolder() + QStringLiteral("no-such-runner"));
    ASSERT_TRUE(logic.open());
    logic.setCurrentRow(2);
    EXPECT_TRUE(logic.print());
    EXPECT_TRUE(ui.sawContaining(Kind::Warning, QStringLiteral("SMAZANA.FRX nebyl nalezen")));
    EXPECT_FALSE(ui.sawContaining(Kind::Warning, QStringLiteral("reinstalaci")));
    EXPECT_TRUE(ui.texts(Kind::Error).isEmpty());

    output::PrintWindowLogic exporting(context(), global(), ui,
                                       print_type::CatalogueWithoutGroupsExport, std::nullopt, {});
    ASSERT_TRUE(exporting.open());
    EXPECT_EQ(exporting.rowCount(), 7);
    EXPECT_EQ(exporting.row(2).file, QStringLiteral("_CENP2"));
    EXPECT_FALSE(exporting.preview());
    EXPECT_TRUE(ui.saw(Kind::Information, QStringLiteral("Náhled je k dispozici pouze při tisku, "
                                                         "nikoliv při exportu.")));
}

// After an offer report ran, the offer may be marked as sent; a list report never asks.
TEST_F(PrintWindowLogicTest, OfferStateQuestionAfterAnOfferReportOnly) {
    core::Database& agenda = state().db->agenda;
    ASSERT_TRUE(agenda.execute(QStringLiteral("INSERT INTO Nabidky (Doklad, IDStav, Zamek, "
                                              "SazDPHZakl, SazDPHSniz) VALUES ('NB7', 0, 0, 21, "
                                              "12)")));
    const qint64 offer = agenda.newRowId();
    touch(QStringLiteral("_NABKSP.FRX"));
    touch(QStringLiteral("_NABSZ.FRX"));
    const QString runner = env.dataFolder() + QStringLiteral("runner.sh");
    {
        QFile script(runner);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nexit 0\n");
        script.close();
        script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    }
    ScriptedInteraction ui;
    output::PrintWindowLogic logic(context(), global(), ui, print_type::Offers, std::nullopt, {});
    logic.setRunnerProgram(runner);
    output::ReportSubject subject;
    subject.offerId = offer;
    subject.offerIds = {offer};
    logic.setSubject(subject);
    ASSERT_TRUE(logic.open());
    logic.setCurrentRow(7); // the list of offers
    logic.editing = true;
    EXPECT_FALSE(logic.print());
    EXPECT_FALSE(logic.offerStateChanged());
    logic.setCurrentRow(0);
    ui.answer(true);
    logic.print();
    EXPECT_TRUE(logic.offerStateChanged());
    EXPECT_EQ(agenda
                  .scalar(QStringLiteral("SELECT IDStav FROM Nabidky WHERE ID = :ID"),
                          {{QStringLiteral("ID"), offer}})
                  .value_or(-1)
                  .toInt(),
              1);
}

// The address list holds the firms in the order given and leaves out a firm deleted meanwhile.
TEST_F(PrintWindowLogicTest, AddressListData) {
    core::Database& agenda = state().db->agenda;
    std::vector<qint64> ids;
    for (const char* name : {"Beta s.r.o.", "Alfa a.s."}) {
        ASSERT_TRUE(agenda.execute(
            QStringLiteral("INSERT INTO Adresar (Nazev, Misto, CenHladina) VALUES (:N, 'Brno', "
                           "'VO')"),
            {{QStringLiteral("N"), QString::fromUtf8(name)}}));
        ids.push_back(agenda.newRowId());
    }
    ids.push_back(999999);
    const output::ReportTable list = output::addressListReport(agenda, ids);
    ASSERT_EQ(list.rowCount(), 2);
    EXPECT_EQ(list.value(0, QStringLiteral("Nazev")).toString(), QStringLiteral("Beta s.r.o."));
    EXPECT_EQ(list.value(1, QStringLiteral("CenHladina")).toString(), QStringLiteral("VO"));
    EXPECT_EQ(list.value(1, QStringLiteral("ID")).toLongLong(), ids[1]);
}

} // namespace
