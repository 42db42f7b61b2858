#include "core/AgendaSettings.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/SilentInteraction.h"
#include "output/PrintWindowLogic.h"
#include "support/OpenAgenda.h"
#include "support/ScriptedInteraction.h"
#include "support/TestEnvironment.h"

#include "BuiltInRender.h"
#include "PdfProbe.h"
#include "support/TestStore.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace orvento;
using testsupport::ScriptedInteraction;
using Kind = ScriptedInteraction::Kind;

namespace {

class SaveAsPdfTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (testsupport::popplerMissing())
            GTEST_SKIP() << "the poppler tools (poppler-utils) are not installed";
        ASSERT_TRUE(
            testsupport::openTestAgenda(env, QStringLiteral("0003.res"), QStringLiteral("DEMO")));
        core::SilentInteraction silent;
        ASSERT_TRUE(core::loadAgendaSettings(db(), env.dataFolder(), QStringLiteral("DEMO"),
                                             state().settings, silent));
        ASSERT_TRUE(testsupport::openTestGlobal(env));
        QDir().mkpath(state().folders.print);
        ASSERT_TRUE(QFile::copy(testsupport::builtInTemplates() + QStringLiteral("_NABKSP.FRX"),
                                state().folders.print + QStringLiteral("_NABKSP.FRX")));
        offer = db().scalar(QStringLiteral("SELECT MIN(ID) FROM Nabidky")).value_or(0).toLongLong();
        ASSERT_TRUE(db().execute(QStringLiteral("UPDATE Nabidky SET IDStav = 0, Zamek = 0 WHERE "
                                                "ID = :ID"),
                                 {{QStringLiteral("ID"), offer}}));
    }
    void TearDown() override { core::resetProgramState(); }

    static core::ProgramState& state() { return core::programState(); }
    static core::Database& db() { return state().db->agenda; }
    static core::Database& global() { return state().db->global; }
    output::ReportContext context() { return {state().settings, state().user, db(), nullptr}; }

    testsupport::TestEnvironment env;
    qint64 offer = 0;
};

// The chosen file gets ".pdf" when it lacks it, the runner writes the offer into it, the person
// is told where it is and is asked about the offer's state as after a preview. A template the
// runner refuses tells nothing of a saved file.
TEST_F(SaveAsPdfTest, TheRunnerWritesTheChosenFile) {
    QTemporaryDir dir;
    ScriptedInteraction ui;
    output::PrintWindowLogic logic(context(), global(), ui, output::print_type::Offers,
                                   std::nullopt, {});
    logic.setRunnerProgram(QStringLiteral(ORVENTO_PROGRAM_DIR "/Dastrel"));
    output::ReportSubject subject;
    subject.offerId = offer;
    logic.setSubject(subject);
    logic.open();
    ASSERT_TRUE(logic.pdfAvailable());
    const QString chosen = dir.filePath(QStringLiteral("nabídka pro zákazníka"));
    ui.chooseFile(chosen);
    ui.answer(false); // not marked as sent
    logic.saveAsPdf();
    const QString pdf = chosen + QStringLiteral(".pdf");
    EXPECT_TRUE(
        ui.saw(Kind::Information, QStringLiteral("Sestava byla uložena do souboru %1.").arg(pdf)));
    EXPECT_TRUE(testsupport::pdfText(pdf).contains(QStringLiteral("DEMO - fiktivní firma")));
    EXPECT_TRUE(ui.sawContaining(Kind::Question, QStringLiteral("označit příznakem")));

    QFile damaged(state().folders.print + QStringLiteral("_NABKSP.FRX"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("[page]\nsize = A9\n[body]\n{{#mtHlavickaNab}}\n");
    damaged.close();
    ui.clear();
    ui.chooseFile(dir.filePath(QStringLiteral("vadna.PDF")));
    logic.saveAsPdf();
    EXPECT_TRUE(ui.texts(Kind::Information).isEmpty());
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("vadna.PDF"))));
    logic.close();

    output::PrintWindowLogic exporting(
        context(), global(), ui, output::print_type::CatalogueWithGroupsExport, std::nullopt, {});
    EXPECT_FALSE(exporting.pdfAvailable());
}

} // namespace
