// The wizard end to end, as a person uses it: a text-file definition chosen from the list, its
// file on the start page, "Další >", and the catalogue holding the priced items afterwards.
#include "catalogue/CatalogueRecords.h"
#include "core/AgendaInit.h"
#include "core/ProgramState.h"
#include "import/ImportDefinition.h"
#include "import/ImportDefinitionStore.h"
#include "import/ImportWizardLogic.h"
#include "support/ModalDialogs.h"
#include "support/OpenAgenda.h"
#include "support/TestContext.h"
#include "support/TestEnvironment.h"
#include "ui/import/ImportWizard.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>

#include <gtest/gtest.h>

using namespace orvento;
using testsupport::child;

namespace {

TEST(ImportWizardRun, ATextFileDefinitionRunsToTheEndAndLeavesItsItemsPriced) {
    core::resetProgramState();
    testsupport::TestEnvironment env;
    ASSERT_TRUE(testsupport::openEmptyAgendaAndGlobal(env, QStringLiteral("FIRMA")));
    // The list as these tests build it: without the Money definition new agendas hold.
    ASSERT_TRUE(core::programState().db->agenda.execute(QStringLiteral("DELETE FROM Import")));
    core::Database& db = core::programState().db->agenda;
    testsupport::ScriptedInteraction ui;
    core::ensureFirstSheet(db, ui);
    const qint64 sheet = catalogue::readSheets(db).front().id;
    const qint64 group = catalogue::basicGroupOf(db, sheet);

    // A supplier's list as a spreadsheet saves it: Windows line ends, a decimal comma.
    const QString path = env.dataFolder() + QStringLiteral("dodavatel.csv");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("Kat;Popis;Cena\r\nA-1;Kabel CYKY 3×1,5;12,50\r\n"
                              "A-2;\"Zásuvka; dvojitá\";89\r\n")
                   .toUtf8());
    file.close();

    import::ImportDefinition d = import::newDefinition(import::DefinitionKind::PriceList);
    d.name = QStringLiteral("Dodavatel");
    d.sourceKind = core::sources::SourceKind::Csv;
    d.fileName = path;
    d.tableName = QStringLiteral("dodavatel#csv");
    d.priceList.newItemsSheet = sheet;
    d.priceList.newItemsGroup = group;
    const auto map = [&d](import::PriceListField field, const QString& column) {
        d.priceList.field(field).imported = true;
        d.priceList.field(field).column = column;
    };
    map(import::PriceListField::Katalog, QStringLiteral("Kat"));
    map(import::PriceListField::Popis, QStringLiteral("Popis"));
    map(import::PriceListField::NakCena, QStringLiteral("Cena"));
    QString error;
    ASSERT_TRUE(import::ImportDefinitionStore(db).insert(d, error)) << error.toStdString();

    testsupport::TestContext test{ui};
    ui::ImportWizard wizard(test.context);
    wizard.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&wizard));
    const auto press = [&wizard](const char* name) {
        QTest::mouseClick(child<QPushButton>(&wizard, name), Qt::LeftButton);
    };
    press("btnDalsi"); // the list
    press("btnDalsi"); // the start page, with the definition's file
    EXPECT_EQ(child<QLineEdit>(&wizard, "edtNazevSouboru")->text(), path);
    press("btnDalsi"); // the run

    const import::ImportProtocol& protocol = wizard.logic().protocol();
    EXPECT_FALSE(child<QLabel>(&wizard, "lblChyba")->isVisible())
        << protocol.toPlainText().toStdString();
    ASSERT_FALSE(protocol.lines().empty());
    EXPECT_TRUE(protocol.lines().back().text.startsWith(QStringLiteral("Import dat - Dokončeno ")));
    EXPECT_TRUE(protocol.toPlainText().contains(QStringLiteral("  + přidáno nových záznamů: 2")))
        << protocol.toPlainText().toStdString();

    QSqlQuery q = db.select(
        QStringLiteral("SELECT Katalog, Popis, NakCena, Chyba FROM Zasoby ORDER BY Katalog"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), QStringLiteral("A-1"));
    EXPECT_EQ(q.value(1).toString(), QStringLiteral("Kabel CYKY 3×1,5"));
    EXPECT_DOUBLE_EQ(q.value(2).toDouble(), 12.5);
    EXPECT_FALSE(q.value(3).toBool()) << "the second phase priced it";
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(1).toString(), QStringLiteral("Zásuvka; dvojitá"));
    EXPECT_DOUBLE_EQ(q.value(2).toDouble(), 89.0);
    EXPECT_FALSE(q.next());
    core::resetProgramState();
}

} // namespace
