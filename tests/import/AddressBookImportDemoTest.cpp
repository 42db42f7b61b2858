// The demo agenda's address list, run through its own definition with the program's reader: the
// demo firms it names (in capitals, by IČO) are updated, the others added, and a second run adds
// nothing.
#include "import/AddressBookImportDemo.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "import/ImportDefinitionStore.h"
#include "import/ImportProtocol.h"
#include "import/ImportRun.h"
#include "import/ImportWizardLogic.h"
#include "support/OpenAgenda.h"
#include "support/ScriptedInteraction.h"
#include "support/TestContext.h"
#include "support/TestEnvironment.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace orvento;

namespace {

class AddressBookImportDemoTest : public ::testing::Test {
protected:
    void SetUp() override {
        core::resetProgramState();
        ASSERT_TRUE(
            testsupport::openTestAgenda(env, QStringLiteral("0003.res"), QStringLiteral("DEMO")));
        ASSERT_TRUE(QDir().mkpath(core::programState().folders.lock));
        core::programState().folders.program = QStringLiteral(ORVENTO_PROGRAM_DIR "/");
        testsupport::TestContext test(ui);
        test.startUp().copyDemoDocuments();
    }
    void TearDown() override { core::resetProgramState(); }

    static core::Database& agenda() { return core::programState().db->agenda; }
    int count(const QString& sql) { return agenda().scalar(sql)->toInt(); }

    testsupport::TestEnvironment env;
    testsupport::ScriptedInteraction ui;
};

TEST_F(AddressBookImportDemoTest, TheDemoListUpdatesTheDemoFirmsByIcoAndAddsTheOthers) {
    import::ImportDefinitionStore store(agenda());
    QString error;
    const auto rows = store.list(error);
    ASSERT_TRUE(rows.has_value());
    std::optional<import::ImportDefinition> definition;
    for (const import::DefinitionListRow& row : *rows)
        if (row.name == import::demoAddressDefinitionName())
            definition = store.read(row.id, error);
    ASSERT_TRUE(definition.has_value());
    ASSERT_EQ(definition->kind, import::DefinitionKind::AddressBook);

    const int firms = count(QStringLiteral("SELECT COUNT(*) FROM Adresar"));
    const int withIco = count(QStringLiteral("SELECT COUNT(*) FROM Adresar WHERE ICO <> ''"));
    const QString file = import::sourceFileOf(*definition, env.dataFolder());
    import::ImportProtocol protocol;
    import::ImportRun run(agenda(), ui, protocol);
    ASSERT_EQ(run.execute(*definition, file), import::ImportRun::Ok)
        << protocol.toPlainText().toStdString();
    const int updated = (withIco + 1) / 2;
    const QString text = protocol.toPlainText();
    EXPECT_TRUE(text.contains(QStringLiteral("  + zaktualizováno záznamů: %1").arg(updated)))
        << text.toStdString();
    const int added = count(QStringLiteral("SELECT COUNT(*) FROM Adresar")) - firms;
    EXPECT_GE(added, 200);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Adresar WHERE Znacka IS NOT NULL")),
              updated);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Adresar WHERE Nazev = 'STAVBY NOVÁK "
                                   "S.R.O.'")),
              1);

    ASSERT_EQ(run.execute(*definition, file), import::ImportRun::Ok);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Adresar")), firms + added);
    EXPECT_TRUE(protocol.toPlainText().contains(QStringLiteral("  + přidáno nových záznamů: 0")));
}

} // namespace
