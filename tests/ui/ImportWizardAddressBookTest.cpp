// The wizard running an address-book definition over a text file, as a person uses it: the
// definition chosen from the list, another file typed on the start page, "Další >", and the
// address book holding the firms afterwards; and the list page refusing the run to a user who may
// only read the address book.
#include "addressbook/FirmRecords.h"
#include "core/CurrentUser.h"
#include "core/ProgramState.h"
#include "import/ImportDefinition.h"
#include "import/ImportDefinitionStore.h"
#include "import/ImportProtocol.h"
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

class ImportWizardAddressBook : public ::testing::Test {
protected:
    void SetUp() override {
        core::resetProgramState();
        ASSERT_TRUE(testsupport::openEmptyAgendaAndGlobal(env, QStringLiteral("FIRMA")));
        // Only this definition in the list: a new agenda comes with the Money one.
        ASSERT_TRUE(db().execute(QStringLiteral("DELETE FROM Import")));
        addressbook::Firm known;
        known.Nazev = QStringLiteral("Zahradnictví Šťastný");
        known.ICO = QStringLiteral("45274649");
        known.Telefon = QStringLiteral("569 111 222");
        ASSERT_TRUE(addressbook::firmMapping().insert(db(), known));
        knownId = db().newRowId();

        import::ImportDefinition d = import::newDefinition(import::DefinitionKind::AddressBook);
        d.name = QStringLiteral("Partneři");
        d.sourceKind = core::sources::SourceKind::Csv;
        d.fileName = env.dataFolder() + QStringLiteral("partneri.csv");
        d.tableName = QStringLiteral("partneri#csv");
        d.compare = true;
        d.refField = QStringLiteral("ICO");
        d.refColumn = QStringLiteral("IČ");
        for (const auto& [field, column] :
             {std::pair{import::AddressField::NazevAdr, QStringLiteral("Firma")},
              std::pair{import::AddressField::ICOAdr, QStringLiteral("IČ")},
              std::pair{import::AddressField::MistoAdr, QStringLiteral("Město")}}) {
            d.addressBook.field(field).imported = true;
            d.addressBook.field(field).column = column;
        }
        QString error;
        ASSERT_TRUE(import::ImportDefinitionStore(db()).insert(d, error)) << error.toStdString();
    }
    void TearDown() override { core::resetProgramState(); }

    static core::Database& db() { return core::programState().db->agenda; }
    void press(const char* name) {
        QTest::mouseClick(child<QPushButton>(wizard.get(), name), Qt::LeftButton);
    }
    void openWizard() {
        wizard = std::make_unique<ui::ImportWizard>(test.context);
        wizard->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(wizard.get()));
    }

    testsupport::TestEnvironment env;
    testsupport::ScriptedInteraction ui;
    testsupport::TestContext test{ui};
    std::unique_ptr<ui::ImportWizard> wizard;
    qint64 knownId = 0;
};

TEST_F(ImportWizardAddressBook, ATypedFileRunsToTheEndAndUpdatesTheFirmItFinds) {
    // A list as a spreadsheet saves it, under another name than the definition's.
    const QString path = env.dataFolder() + QStringLiteral("zari.csv");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("Firma;IČ;Město\r\nZAHRADNICTVÍ ŠŤASTNÝ;45274649;Třebíč\r\n"
                              "\"Kovo; Horák\";27082440;Jihlava\r\n")
                   .toUtf8());
    file.close();

    openWizard();
    press("btnDalsi"); // the list
    press("btnDalsi"); // the start page
    QLineEdit* field = child<QLineEdit>(wizard.get(), "edtNazevSouboru");
    field->clear();
    QTest::keyClicks(field, path);
    press("btnDalsi"); // the run

    const import::ImportProtocol& protocol = wizard->logic().protocol();
    const QString text = protocol.toPlainText();
    EXPECT_FALSE(child<QLabel>(wizard.get(), "lblChyba")->isVisible()) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("• zdrojový soubor: ") + path)) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("  + přidáno nových záznamů: 1")));
    EXPECT_TRUE(text.contains(QStringLiteral("  + zaktualizováno záznamů: 1")));
    EXPECT_TRUE(child<QPushButton>(wizard.get(), "btnZavrit")->isVisible());
    EXPECT_FALSE(child<QPushButton>(wizard.get(), "btnPrerusit")->isVisible());

    const addressbook::Firm known = addressbook::readFirm(db(), knownId).value();
    EXPECT_EQ(known.Nazev, QStringLiteral("ZAHRADNICTVÍ ŠŤASTNÝ"));
    EXPECT_EQ(known.Misto, QStringLiteral("Třebíč"));
    EXPECT_EQ(known.Telefon, QStringLiteral("569 111 222"));
    QSqlQuery q = db().select(QStringLiteral("SELECT Nazev FROM Adresar WHERE ICO = '27082440'"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), QStringLiteral("Kovo; Horák"));
}

TEST_F(ImportWizardAddressBook, AReaderOfTheAddressBookIsRefusedOnTheListPage) {
    core::programState().user.adresar = core::AccessLevel::ReadOnly;
    openWizard();
    press("btnDalsi"); // the list
    press("btnDalsi");
    EXPECT_TRUE(
        ui.saw(testsupport::ScriptedInteraction::Kind::Information, core::noRightsMessage()));
    EXPECT_FALSE(child<QLineEdit>(wizard.get(), "edtNazevSouboru")->isVisible())
        << "the list page stays";
}

} // namespace
