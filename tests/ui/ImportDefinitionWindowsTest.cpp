#include "core/ProgramState.h"
#include "import/ImportDefinitionStore.h"
#include "support/ModalDialogs.h"
#include "support/OpenAgenda.h"
#include "support/ScriptedInteraction.h"
#include "support/TestContext.h"
#include "support/TestEnvironment.h"
#include "ui/CardWidgets.h"
#include "ui/import/DefinitionListPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace orvento;
using testsupport::child;
using testsupport::onNextModal;
using Kind = testsupport::ScriptedInteraction::Kind;

namespace {

constexpr int kScreenWidth = 1366;
constexpr int kScreenHeight = 900;

class ImportDefinitionWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(
            testsupport::openTestAgenda(env, QStringLiteral("0001.res"), QStringLiteral("FIRMA")));
        ASSERT_TRUE(QDir().mkpath(core::programState().folders.lock));
        core::programState().user.import = core::AccessLevel::Full;
        db().execute(QStringLiteral("DELETE FROM Import"));
        sheet = *db().insertRow(QStringLiteral("INSERT INTO Sklady (Nazev, Poradi) VALUES "
                                               "('Zboží', 9)"));
        group = *db().insertRow(
            QStringLiteral("INSERT INTO Skupiny (Sklad, Nazev, Kod, Zakladni) VALUES "
                           "(:S, 'Kabely', '', 0)"),
            {{QStringLiteral("S"), sheet}});
    }
    void TearDown() override {
        core::programState().user.import = core::AccessLevel::Full;
        core::programState().db->agenda.close();
    }
    static core::Database& db() { return core::programState().db->agenda; }

    testsupport::TestEnvironment env;
    testsupport::ScriptedInteraction ui;
    testsupport::TestContext test{ui};
    qint64 sheet = 0;
    qint64 group = 0;
};

TEST_F(ImportDefinitionWindowsTest, ANewPriceListDefinitionIsTypedAndSaved) {
    ui::DefinitionListPanel panel(test.context);
    panel.show();
    ASSERT_TRUE(panel.reload(0));
    EXPECT_TRUE(panel.isEmpty());
    EXPECT_FALSE(child<QPushButton>(&panel, "btnOpravit")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(&panel, "btnKopirovat")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(&panel, "btnVyjmout")->isEnabled());

    test.navigator.answerWindow({core::NavigationStatus::Done, {sheet}});
    test.navigator.answerWindow({core::NavigationStatus::Done, {group}});
    bool filled = false;
    onNextModal([&](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Nastavení importu"));
        EXPECT_EQ(child<QLabel>(dialog, "lblTypOperace")->text(), QStringLiteral("import ceníku"));
        EXPECT_TRUE(child<QLabel>(dialog, "lblFiltrVypnuty")->isVisible());
        // The whole page fits a common screen at its natural size.
        EXPECT_LE(dialog->sizeHint().width(), kScreenWidth);
        EXPECT_LE(dialog->sizeHint().height(), kScreenHeight);
        EXPECT_GE(dialog->width(), dialog->minimumSizeHint().width());
        EXPECT_GE(dialog->height(), dialog->minimumSizeHint().height());
        QTest::keyClicks(child<QLineEdit>(dialog, "edtNazev"), QStringLiteral("Dodavatel A"));

        auto* price = child<QCheckBox>(dialog, "chckProdCena");
        auto* priceSource = child<QComboBox>(dialog, "cbxSourceProdCena");
        auto* fixedPrice = child<ui::NumberField>(dialog, "curValueProdCena");
        EXPECT_FALSE(priceSource->isEnabled()) << "enabled only while checked";
        QTest::mouseClick(price, Qt::LeftButton, {}, QPoint(4, price->height() / 2));
        EXPECT_TRUE(priceSource->isEnabled());
        priceSource->setCurrentIndex(1); // "pevná hodnota"
        EXPECT_TRUE(fixedPrice->isVisible());
        fixedPrice->setFocus();
        fixedPrice->selectAll();
        QTest::keyClicks(fixedPrice, QStringLiteral("12,50"));

        auto* catalogue = child<QCheckBox>(dialog, "chckKatalog");
        QTest::mouseClick(catalogue, Qt::LeftButton, {}, QPoint(4, catalogue->height() / 2));
        QTest::keyClicks(child<QComboBox>(dialog, "cbxValueKatalog")->lineEdit(),
                         QStringLiteral("Kat"));
        auto* compare = child<QRadioButton>(dialog, "rbPorovnavat");
        QTest::mouseClick(compare, Qt::LeftButton, {}, QPoint(4, compare->height() / 2));
        EXPECT_TRUE(compare->isChecked());
        EXPECT_EQ(child<QComboBox>(dialog, "cbxRefField")->currentText(),
                  QStringLiteral("Katalogu"));

        QTest::mouseClick(child<QToolButton>(dialog, "btnIDListu"), Qt::LeftButton);
        QTest::mouseClick(child<QToolButton>(dialog, "btnIDSkup"), Qt::LeftButton);
        EXPECT_EQ(child<QLineEdit>(dialog, "edtIDListu")->text(), QStringLiteral("Zboží"));
        EXPECT_EQ(child<QLineEdit>(dialog, "edtIDSkup")->text(), QStringLiteral("Kabely"));
        QPushButton* ok = child<QPushButton>(dialog, "btnOK");
        EXPECT_TRUE(ok->isEnabled());
        filled = true;
        QTest::mouseClick(ok, Qt::LeftButton);
        if (dialog->isVisible()) {
            ADD_FAILURE() << "still open: " << ui.allTexts().join(u'|').toStdString();
            qobject_cast<QDialog*>(dialog)->reject();
        }
    });
    auto* add = child<QPushButton>(&panel, "btnPridat");
    ASSERT_NE(add->menu(), nullptr);
    add->menu()->actions().at(0)->trigger();
    ASSERT_TRUE(filled);

    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM Import"))->toInt(), 1)
        << ui.allTexts().join(u'|').toStdString();
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT Nazev FROM Import"))->toString(),
              QStringLiteral("Dodavatel A"));
    const QString text = db().scalar(QStringLiteral("SELECT Nastaveni FROM Import"))->toString();
    EXPECT_TRUE(text.contains(QStringLiteral("\r\nCheckProdCena=-1\r\nProdCenaTypCeny=0\r\n"
                                             "SourceProdCena=1\r\nValueProdCena=12,5\r\n")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("\r\nPorovnavat=-1\r\nRefField=KATALOG\r\n"
                                             "RefDBField=Kat\r\n")));
    EXPECT_FALSE(panel.isEmpty());
    EXPECT_TRUE(child<QPushButton>(&panel, "btnOpravit")->isEnabled());
    EXPECT_EQ(child<QTreeWidget>(&panel, "grDefinice")->topLevelItem(0)->text(0),
              QStringLiteral("Dodavatel A"));
}

TEST_F(ImportDefinitionWindowsTest, AReadOnlyDefinitionOpensWithoutOk) {
    import::ImportDefinition stored = import::newDefinition(import::DefinitionKind::AddressBook);
    stored.name = QStringLiteral("Firmy");
    stored.description = QStringLiteral("Adresy od partnera");
    QString error;
    const auto id = import::ImportDefinitionStore(db()).insert(stored, error);
    ASSERT_TRUE(id);
    ui::DefinitionListPanel panel(test.context);
    panel.show();
    ASSERT_TRUE(panel.reload(*id));
    EXPECT_EQ(panel.currentId(), id);
    EXPECT_EQ(child<QLabel>(&panel, "lblPopis")->text(), QStringLiteral("Adresy od partnera"));

    core::programState().user.import = core::AccessLevel::ReadOnly;
    bool seen = false;
    onNextModal([&](QWidget* dialog) {
        seen = true;
        EXPECT_EQ(child<QLabel>(dialog, "lblTypOperace")->text(),
                  QStringLiteral("import adresáře firem"));
        EXPECT_TRUE(child<QWidget>(dialog, "tsImportAdresare")->isVisible());
        EXPECT_EQ(child<QLineEdit>(dialog, "edtValueNazevAdr")->maxLength(), 50);
        EXPECT_EQ(child<QLineEdit>(dialog, "edtValuePSCAdr")->maxLength(), 10);
        QPushButton* ok = child<QPushButton>(dialog, "btnOK");
        EXPECT_FALSE(ok->isEnabled());
        qobject_cast<QDialog*>(dialog)->reject();
    });
    QTest::mouseClick(child<QPushButton>(&panel, "btnOpravit"), Qt::LeftButton);
    EXPECT_TRUE(seen);
    EXPECT_TRUE(ui.sawContaining(Kind::Information, QStringLiteral("pouze pro čtení")));
}

} // namespace
