#include "core/Database.h"
#include "core/ProgramState.h"
#include "output/PrintWindowLogic.h"
#include "output/ReportData.h"
#include "support/OpenAgenda.h"
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

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// The spreadsheet export of the print window keeps its checks in their order now that they are
// shared with the XML export: name, folder, template, then the old file, which stays until the
// new one is whole: the export writes beside it and a failed one leaves it as it was.
TEST(PrintWindowExportChecksTest, ChecksInOrderAndTheOldFileKeptOnFailure) {
    testsupport::TestEnvironment env;
    ASSERT_TRUE(
        testsupport::openTestAgenda(env, QStringLiteral("0001.res"), QStringLiteral("Firma")));
    ASSERT_TRUE(testsupport::openTestGlobal(env));
    core::ProgramState& state = core::programState();
    QDir().mkpath(state.folders.print);
    ScriptedInteraction ui;
    {
        const output::ReportContext context{state.settings, state.user, state.db->agenda,
                                            &state.db->global};
        output::PrintWindowLogic logic(context, state.db->global, ui,
                                       output::print_type::CatalogueWithGroupsExport, std::nullopt,
                                       [] { return output::PrinterList{}; });
        logic.open();
        ASSERT_NE(logic.current(), nullptr);
        QStringList exported;
        logic.setSpreadsheetExporter([&](const QString& templatePath, const QString& file) {
            exported << QFileInfo(templatePath).fileName() + QLatin1Char('>') + file;
            return QStringLiteral("zkouška");
        });

        logic.exportFile = QStringLiteral(" ");
        logic.exportReport();
        EXPECT_TRUE(
            ui.saw(Kind::Information, QStringLiteral("Musíte zadat název exportního souboru.")));

        const QString folder = env.dataFolder() + QStringLiteral("vystup");
        const QString file = folder + QStringLiteral("/cenik.xls");
        logic.exportFile = file;
        ui.answer(true); // create the folder
        logic.exportReport();
        EXPECT_TRUE(QFileInfo(folder).isDir());
        EXPECT_TRUE(ui.sawContaining(Kind::Warning, QStringLiteral("Převodní šablona - soubor")));
        EXPECT_TRUE(exported.isEmpty());

        const QString templateName = logic.current()->file + logic.extension();
        writeFile(state.folders.print + templateName, "sablona");
        writeFile(file, "old");
        ui.answer(true); // overwrite
        logic.exportReport();
        EXPECT_TRUE(
            ui.saw(Kind::Question,
                   QStringLiteral("Soubor \"%1\" již existuje, chcete ho přepsat ?").arg(file)));
        ASSERT_EQ(exported.size(), 1);
        const QString written = exported.front().section(QLatin1Char('>'), 1);
        EXPECT_TRUE(exported.front().startsWith(templateName + QLatin1Char('>')));
        EXPECT_NE(written, file) << "written beside the old file, not over it";
        EXPECT_EQ(QFileInfo(written).absolutePath(), QFileInfo(file).absolutePath());
        EXPECT_FALSE(QFileInfo::exists(written)) << "the unfinished file is removed";
        QFile old(file);
        ASSERT_TRUE(old.open(QIODevice::ReadOnly));
        EXPECT_EQ(old.readAll(), QByteArray("old"));
        EXPECT_TRUE(
            ui.saw(Kind::Error,
                   QStringLiteral("Při exportu sestavy došlo k následující chybě: \"zkouška\".")));
        logic.close();
    }
    core::resetProgramState();
}

} // namespace
