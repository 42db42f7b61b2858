#include "ui/output/XmlExportDialog.h"

#include "core/ProgramState.h"
#include "services/ProfileStore.h"
#include "services/ProfileValues.h"
#include "support/ModalDialogs.h"
#include "support/OpenAgenda.h"
#include "support/ScriptedInteraction.h"
#include "support/TestContext.h"
#include "ui/ProgramNavigator.h"
#include "ui/addressbook/AddressBookWindow.h"
#include "ui/offers/OfferListWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace orvento;
using output::xml_export::Kind;
using testsupport::child;
using testsupport::onNextModal;
using testsupport::ScriptedInteraction;
namespace value = services::profile::value;

namespace {

class XmlExportDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.useDataFolder();
        ASSERT_TRUE(
            testsupport::openTestAgenda(env, QStringLiteral("0001.res"), QStringLiteral("FIRMA")));
        ASSERT_TRUE(env.copyTemplate(QStringLiteral("0002.res"), QStringLiteral("Global.MDB")));
        ASSERT_TRUE(
            core::programState().db->global.open(env.dataFolder() + QStringLiteral("Global.MDB")));
        QDir().mkpath(core::programState().folders.lock);
        ASSERT_TRUE(out.isValid());
    }
    void TearDown() override { core::resetProgramState(); }
    static core::Database& db() { return core::programState().db->agenda; }

    qint64 addOffer(const QString& doklad) {
        EXPECT_TRUE(db().execute(
            QStringLiteral("INSERT INTO Nabidky (Doklad, AdrNazev, IDStav, Celkem, CelkemBDPH, "
                           "Zamek) VALUES (:Doklad, 'Firma', 0, 121, 100, 0)"),
            {{QStringLiteral("Doklad"), doklad}}));
        return db().newRowId();
    }
    qint64 addFirm(const QString& name) {
        EXPECT_TRUE(db().execute(QStringLiteral("INSERT INTO Adresar (Nazev) VALUES (:Nazev)"),
                                 {{QStringLiteral("Nazev"), name}}));
        return db().newRowId();
    }
    static QByteArray bytesOf(const QString& file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static QAction* action(QWidget* window, const char* name) {
        auto* act = window->findChild<QAction*>(QString::fromLatin1(name));
        EXPECT_NE(act, nullptr) << name;
        return act;
    }

    testsupport::TestEnvironment env;
    ScriptedInteraction ui;
    testsupport::TestContext test{ui};
    QTemporaryDir out;
};

// The dialog opens with the remembered values of its kind, keeps the program's controls off
// while the box is clear, and exports what is typed into it.
TEST_F(XmlExportDialogTest, RememberedValuesTypingAndOk) {
    const qint64 offer = addOffer(QStringLiteral("NB7"));
    ASSERT_TRUE(services::profile::saveValue(value::OfferXmlProgram, QStringLiteral("/bin/cat")));
    ASSERT_TRUE(services::profile::saveValue(value::OfferXmlRunProgram, QStringLiteral("0")));
    ASSERT_TRUE(services::profile::saveValue(value::OfferXmlPassFile, QStringLiteral("-1")));
    QStringList started;
    ui::XmlExportDialog dialog(test.context, Kind::Offers, {offer},
                               [&](const QString& program, const QStringList& arguments) {
                                   started << (QStringList{program} + arguments).join(u'|');
                                   return true;
                               });
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Export do XML"));
    auto* file = child<QLineEdit>(&dialog, "edtExpSoubor");
    auto* run = child<QCheckBox>(&dialog, "chckExtProgram");
    auto* program = child<QLineEdit>(&dialog, "edtExtProgram");
    auto* pass = child<QCheckBox>(&dialog, "chckPridatParam");
    auto* programButton = child<QPushButton>(&dialog, "btnExtProgram");
    EXPECT_EQ(file->text(), QString());
    EXPECT_EQ(program->text(), QStringLiteral("/bin/cat"));
    EXPECT_FALSE(run->isChecked());
    EXPECT_TRUE(pass->isChecked());
    EXPECT_FALSE(program->isEnabled());
    EXPECT_FALSE(programButton->isEnabled());
    EXPECT_FALSE(pass->isEnabled());
    EXPECT_NE(program->palette().color(QPalette::Disabled, QPalette::Base),
              program->palette().color(QPalette::Active, QPalette::Base));

    // OK with nothing typed: the message, and the dialog stays.
    child<QPushButton>(&dialog, "btnOK")->click();
    EXPECT_TRUE(ui.saw(ScriptedInteraction::Kind::Information,
                       QStringLiteral("Musíte zadat název exportního souboru.")));
    EXPECT_TRUE(dialog.isVisible());

    run->click();
    EXPECT_TRUE(program->isEnabled());
    EXPECT_TRUE(programButton->isEnabled());
    EXPECT_TRUE(pass->isEnabled());
    const QString target = out.path() + QStringLiteral("/nabidka.xml");
    file->setFocus();
    QTest::keyClicks(file, target);
    QTest::keyClick(file, Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(bytesOf(target).contains("<Doklad>NB7</Doklad>"));
    EXPECT_EQ(started, QStringList{QStringLiteral("/bin/cat|") + target});
    EXPECT_EQ(services::profile::loadValue(value::OfferXmlFile), target);
    EXPECT_EQ(services::profile::loadValue(value::OfferXmlRunProgram), QStringLiteral("-1"));
}

// "Zpět" exports nothing and remembers nothing.
TEST_F(XmlExportDialogTest, BackLeavesEverything) {
    ui::XmlExportDialog dialog(test.context, Kind::Addresses, {});
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClicks(child<QLineEdit>(&dialog, "edtExpSoubor"),
                     out.path() + QStringLiteral("/a.xml"));
    child<QPushButton>(&dialog, "btnZpet")->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(QFileInfo::exists(out.path() + QStringLiteral("/a.xml")));
    EXPECT_EQ(services::profile::loadValue(value::AddressXmlFile), QString());
}

// "Export do XML" of the offer list: the marked offers from the last to the first in the list's
// order, or the current offer.
TEST_F(XmlExportDialogTest, OfferListExportsMarkedOffersLastFirst) {
    db().execute(QStringLiteral("DELETE FROM Nabidky"));
    for (const char* doklad : {"NB1", "NB2", "NB3"})
        addOffer(QString::fromLatin1(doklad));
    ui::OfferListWindow window(test.context);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QAction* exportXml = action(&window, "actExportXml");
    ASSERT_NE(exportXml, nullptr);
    EXPECT_TRUE(exportXml->isEnabled());
    std::vector<qint64> listed;
    for (int row = 0; row < 3; ++row) {
        window.logic().setCurrentRow(row);
        listed.push_back(window.logic().currentId());
    }
    test.navigator.answerWindow({core::NavigationStatus::Cancelled, {}});
    exportXml->trigger();
    window.logic().toggleMark(0);
    window.logic().toggleMark(1);
    window.logic().toggleMark(2);
    test.navigator.answerWindow({core::NavigationStatus::Done, {}});
    exportXml->trigger();
    EXPECT_EQ(test.navigator.requests(),
              (QStringList{QStringLiteral("exportToXml 1: %1").arg(listed[2]),
                           QStringLiteral("exportToXml 1: %1 %2 %3")
                               .arg(listed[2])
                               .arg(listed[1])
                               .arg(listed[0])}));
}

// "Export do XML" of the address book through the program's navigator into the real dialog.
TEST_F(XmlExportDialogTest, AddressBookExportsItsFirmsThroughTheDialog) {
    addFirm(QStringLiteral("Alfa & syn"));
    addFirm(QStringLiteral("Řezník"));
    ui::ProgramNavigator windows{test.context, nullptr};
    ui::AddressBookWindow window(test.context, addressbook::AddressBookMode::Browse);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const std::vector<qint64> listed = window.logic().collectAddressList();
    ASSERT_EQ(listed.size(), 2u);
    const QString target = out.path() + QStringLiteral("/adresy.xml");
    bool ran = false;
    onNextModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<ui::XmlExportDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        ran = true;
        EXPECT_EQ(dialog->logic().ids(), listed);
        auto* file = child<QLineEdit>(dialog, "edtExpSoubor");
        file->clear();
        QTest::keyClicks(file, target);
        child<QPushButton>(dialog, "btnOK")->click();
    });
    test.navigator.passOn(windows);
    QAction* exportXml = action(&window, "actExportXML");
    ASSERT_NE(exportXml, nullptr);
    EXPECT_TRUE(exportXml->isEnabled());
    exportXml->trigger();
    EXPECT_TRUE(ran);
    const QByteArray bytes = bytesOf(target);
    EXPECT_TRUE(bytes.contains("<Nazev>Alfa &amp; syn</Nazev>"));
    EXPECT_TRUE(bytes.contains("<Nazev>\xD8"
                               "ezn\xEDk</Nazev>"));
    EXPECT_EQ(services::profile::loadValue(value::AddressXmlFile), target);
}

} // namespace
