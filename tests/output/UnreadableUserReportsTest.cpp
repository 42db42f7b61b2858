#include "core/Database.h"
#include "core/ProgramState.h"
#include "output/PrintWindowLogic.h"
#include "support/OpenAgenda.h"
#include "support/ScriptedInteraction.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>

#include <gtest/gtest.h>

using namespace orvento;
using testsupport::ScriptedInteraction;
using Kind = ScriptedInteraction::Kind;

namespace {

class UnreadableUserReports : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(testsupport::openEmptyAgendaAndGlobal(env, QStringLiteral("FIRMA")));
        QDir().mkpath(core::programState().folders.print);
        for (const char* name : {"_NABKSP.FRX", "NOVA.FRX"}) {
            QFile f(core::programState().folders.print + QString::fromLatin1(name));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("[body]\n");
        }
        for (const auto& [name, file] :
             {std::pair{"Moje nabídka", "MOJE"}, {"Můj seznam", "SEZNAM"}})
            ASSERT_TRUE(global().execute(
                QStringLiteral("INSERT INTO Sestavy (Nazev, Soubor, Popis, IDModulu, TypSest) "
                               "VALUES (:Nazev, :Soubor, '', 1, 1)"),
                {{QStringLiteral("Nazev"), QString::fromUtf8(name)},
                 {QStringLiteral("Soubor"), QString::fromLatin1(file)}}));
    }
    void TearDown() override { core::resetProgramState(); }

    static core::Database& global() { return core::programState().db->global; }
    static output::ReportContext context() {
        core::ProgramState& s = core::programState();
        return {s.settings, s.user, s.db->agenda, &global()};
    }
    static void hideTable(bool hidden) {
        ASSERT_TRUE(
            global().executeDdl(hidden ? QStringLiteral("ALTER TABLE Sestavy RENAME TO Jinde")
                                       : QStringLiteral("ALTER TABLE Jinde RENAME TO Sestavy")));
    }
    static QStringList stored() {
        QStringList out;
        QSqlQuery q = global().select(
            QStringLiteral("SELECT Soubor FROM Sestavy WHERE IDModulu = 1 ORDER BY Soubor"));
        while (q.next())
            out << q.value(0).toString();
        return out;
    }
    static output::PropertiesEditor fromDisk() {
        return [](output::ReportPropertiesForm& form) {
            form.name = QStringLiteral("Nová");
            form.file = QStringLiteral("NOVA");
            return true;
        };
    }

    testsupport::TestEnvironment env;
};

// A failed reading of `Sestavy` says so in its own words, lists the built-in reports only, and
// refuses every change of the user's reports, so that closing writes nothing over the stored
// ones even once the table can be written again. A later reading brings the commands back.
TEST_F(UnreadableUserReports, AreNeverWrittenOverAndTheirCommandsWaitForAReading) {
    hideTable(true);
    ScriptedInteraction ui;
    output::PrintWindowLogic logic(context(), global(), ui, output::print_type::Offers,
                                   std::nullopt, {});
    EXPECT_FALSE(logic.open());
    EXPECT_TRUE(ui.sawContaining(Kind::Error, QStringLiteral("se nepodařilo načíst")));
    EXPECT_FALSE(ui.sawContaining(Kind::Error, QStringLiteral("ukládání")));
    EXPECT_FALSE(logic.userReportsRead());
    ASSERT_EQ(logic.rowCount(), 8); // the built-in offer reports, the first one current
    EXPECT_EQ(logic.current()->file, QStringLiteral("_NABKSP"));
    hideTable(false);

    ui.clear();
    EXPECT_EQ(logic.reportProperties(false, true, fromDisk()), -1);
    logic.copyReport(fromDisk());
    logic.deleteReport();
    EXPECT_EQ(logic.reportProperties(false, false, fromDisk()), -1);
    EXPECT_EQ(logic.rowCount(), 8);
    EXPECT_TRUE(ui.texts(Kind::Question).isEmpty());
    EXPECT_TRUE(logic.close());
    EXPECT_EQ(stored(), (QStringList{QStringLiteral("MOJE"), QStringLiteral("SEZNAM")}));

    ASSERT_TRUE(logic.readUserReportsAgain());
    EXPECT_TRUE(logic.userReportsRead());
    EXPECT_EQ(logic.rowCount(), 10);
    EXPECT_EQ(logic.current()->file, QStringLiteral("_NABKSP"));
    EXPECT_EQ(logic.reportProperties(false, true, fromDisk()), 0);
    EXPECT_TRUE(logic.close());
    EXPECT_EQ(stored(), (QStringList{QStringLiteral("MOJE"), QStringLiteral("NOVA"),
                                     QStringLiteral("SEZNAM")}));
}

} // namespace
