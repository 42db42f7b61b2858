#include "services/SettingsDialogLogic.h"
#include "core/Database.h"
#include "core/OfferSeries.h"
#include "core/ProgramEvents.h"
#include "core/ProgramState.h"
#include "services/ProfileStore.h"
#include "services/ProfileValues.h"
#include "support/OpenAgenda.h"
#include "support/RefusedWrites.h"
#include "support/ScriptedInteraction.h"
#include "support/TestContext.h"
#include "support/TestEnvironment.h"
#include "support/TestStore.h"

#include <QImage>
#include <QSqlQuery>

#include <gtest/gtest.h>

using namespace orvento;
using services::SettingsDialogLogic;
using testsupport::ScriptedInteraction;
using testsupport::TestEnvironment;
using Kind = ScriptedInteraction::Kind;

namespace {

class SettingsDialogLogicTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(
            testsupport::openTestAgenda(env, QStringLiteral("0001.res"), QStringLiteral("Firma1")));
    }

    QString stored(int number) {
        const auto v =
            db().scalar(QStringLiteral("SELECT Hodnota FROM Nastaveni WHERE IDHodnoty = :N"),
                        {{QStringLiteral("N"), number}});
        return v ? v->toString() : QStringLiteral("<none>");
    }

    // Fills what the checks ask for.
    static void complete(SettingsDialogLogic& logic) {
        logic.values().nazev = QStringLiteral("Firma");
        logic.series().prefixOzn = QStringLiteral("NB");
    }

    TestEnvironment env;
    ScriptedInteraction ui;
    testsupport::TestContext test{ui};
    // Asked for each time: the fixture may bring the connections of another store.
    static core::Database& db() { return core::programState().db->agenda; }
};

TEST_F(SettingsDialogLogicTest, FirstSaveOfAnEmptyAgendaWritesEverything) {
    SettingsDialogLogic logic(test.context);
    ASSERT_TRUE(logic.mayOpen());
    ASSERT_TRUE(logic.load());
    EXPECT_EQ(logic.series().prefixOzn, QString());
    EXPECT_EQ(logic.series().cislo, 1);
    EXPECT_EQ(logic.series().pocetMist, 4);
    complete(logic);
    logic.values().profil.vychoziSablona = QStringLiteral("STD");
    logic.values().profil.hromadneVkladani = true;
    ASSERT_TRUE(logic.accept());
    EXPECT_TRUE(ui.messages().empty()) << ui.allTexts().join('|').toStdString();

    EXPECT_EQ(db().scalar(QStringLiteral("SELECT count(*) FROM Nastaveni"))->toInt(), 19);
    EXPECT_EQ(stored(1), QStringLiteral("Firma"));
    EXPECT_EQ(stored(13), QStringLiteral("21"));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT count(*) FROM ImgData"))->toInt(), 1);
    QSqlQuery series =
        db().select(QStringLiteral("SELECT PrefixOzn, Cislo, PocetMist, ModulOzn FROM CisRady"));
    ASSERT_TRUE(series.next());
    EXPECT_EQ(series.value(0).toString(), QStringLiteral("NB"));
    EXPECT_EQ(series.value(1).toInt(), 1);
    EXPECT_EQ(series.value(2).toInt(), 4);
    EXPECT_EQ(series.value(3).toString(), QStringLiteral("NB"));
    EXPECT_EQ(services::profile::loadValue(services::profile::value::PrintAfterNewOffer),
              QStringLiteral("-1"));
    EXPECT_EQ(services::profile::loadValue(services::profile::value::DefaultTemplate),
              QStringLiteral("STD"));
    EXPECT_EQ(services::profile::loadValue(services::profile::value::AskOnLeavingOffer),
              QStringLiteral("-1"));
    EXPECT_EQ(services::profile::loadValue(services::profile::value::BulkInsertItems),
              QStringLiteral("-1"));
    EXPECT_EQ(services::profile::loadValue(services::profile::value::HidePurchasePrices),
              QStringLiteral("0"));
    EXPECT_EQ(core::programState().agendaName, QStringLiteral("Firma"));
    EXPECT_EQ(core::programState().settings.profil.vychoziSablona, QStringLiteral("STD"));
}

TEST_F(SettingsDialogLogicTest, ChecksComeInTheirOrderAlsoForHiddenPages) {
    core::programState().user.udajeFirma = false;
    core::programState().user.globalniNastaveni = false;
    SettingsDialogLogic logic(test.context);
    ASSERT_TRUE(logic.load());
    logic.values().symbolMeny = QStringLiteral("  ");
    EXPECT_FALSE(logic.accept());
    logic.values().nazev = QStringLiteral("Firma");
    EXPECT_FALSE(logic.accept());
    logic.series().prefixOzn = QStringLiteral("NB");
    EXPECT_FALSE(logic.accept());
    EXPECT_EQ(ui.texts(Kind::Information),
              QStringList({QStringLiteral("Musíte vyplnit název firmy."),
                           QStringLiteral("Musíte vyplnit prefix číselné řady."),
                           QStringLiteral("Musíte vyplnit symbol domácí měny (např. Kč apod.).")}));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT count(*) FROM Nastaveni"))->toInt(), 0)
        << "nothing is saved before the checks pass";
}

TEST_F(SettingsDialogLogicTest, UserWithoutGlobalRightRewritesTheLoadedValues) {
    ASSERT_TRUE(db().execute(QStringLiteral("INSERT INTO Nastaveni (IDHodnoty, Popis, Hodnota) "
                                            "VALUES (13, 'x', '20'), (1, 'x', 'Firma')")));
    ASSERT_TRUE(db().execute(QStringLiteral("INSERT INTO CisRady (PrefixOzn, Cislo, PocetMist, "
                                            "ModulOzn) VALUES ('OF', 120, 3, 'NB')")));
    core::programState().user.globalniNastaveni = false;
    SettingsDialogLogic logic(test.context);
    ASSERT_TRUE(logic.load());
    EXPECT_FALSE(logic.pageVisible(SettingsDialogLogic::Page::Globalni));
    EXPECT_TRUE(logic.pageVisible(SettingsDialogLogic::Page::Firma));
    // Meanwhile another workstation changes the rate and takes an offer number.
    ASSERT_TRUE(db().execute(QStringLiteral("UPDATE Nastaveni SET Hodnota = '99' WHERE IDHodnoty = "
                                            "13")));
    ASSERT_TRUE(db().execute(QStringLiteral("UPDATE CisRady SET Cislo = 121")));
    ASSERT_TRUE(logic.accept());
    EXPECT_EQ(stored(13), QStringLiteral("20"));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT Cislo FROM CisRady"))->toInt(), 120);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT count(*) FROM CisRady"))->toInt(), 1);
}

TEST_F(SettingsDialogLogicTest, PrefixTypedInLowerCaseIsStoredInUpperCase) {
    SettingsDialogLogic logic(test.context);
    ASSERT_TRUE(logic.load());
    complete(logic);
    logic.series().prefixOzn = QStringLiteral("nab");
    ASSERT_TRUE(logic.accept());
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT PrefixOzn FROM CisRady"))->toString(),
              QStringLiteral("NAB"));
}

TEST_F(SettingsDialogLogicTest, HiddenPurchasePricesFollowTheProfileAtLoadingAndAfterOk) {
    services::profile::saveBool(services::profile::value::HidePurchasePrices, true);
    std::vector<bool> told;
    const auto connection =
        QObject::connect(&test.context.events(), &core::ProgramEvents::purchasePricesDisplayChanged,
                         [&told](bool visible) { told.push_back(visible); });
    SettingsDialogLogic logic(test.context);
    ASSERT_TRUE(logic.load());
    EXPECT_FALSE(core::programState().showPurchasePrices);
    complete(logic);
    logic.values().profil.nezobrazovatNakupniCeny = false;
    ASSERT_TRUE(logic.accept());
    QObject::disconnect(connection);
    EXPECT_TRUE(core::programState().showPurchasePrices);
    EXPECT_EQ(told, std::vector<bool>({false, true}));
    EXPECT_EQ(services::profile::loadValue(services::profile::value::HidePurchasePrices),
              QStringLiteral("0"));
}

TEST_F(SettingsDialogLogicTest, PicturesFolderChangesOnlyAfterTheWarningAndIsStoredRelative) {
    SettingsDialogLogic logic(test.context);
    ASSERT_TRUE(logic.load());
    complete(logic);
    EXPECT_TRUE(logic.picturesFolderShown().endsWith(QLatin1Char('/')));
    EXPECT_FALSE(logic.browsePicturesFolder()) << "locked until the person agrees";
    ui.answer(false);
    EXPECT_FALSE(logic.unlockPicturesFolder());
    ui.answer(true);
    ASSERT_TRUE(logic.unlockPicturesFolder());
    EXPECT_TRUE(ui.sawContaining(Kind::Question, QStringLiteral("změna úložiště obrázků")));
    EXPECT_FALSE(logic.picturesFolderShown().endsWith(QLatin1Char('/')));
    ui.chooseFile(env.dataFolder() + QStringLiteral("Obrazky"));
    ASSERT_TRUE(logic.browsePicturesFolder());
    EXPECT_EQ(logic.values().slozkaObrazku, env.dataFolder() + QStringLiteral("Obrazky/"));
    ASSERT_TRUE(logic.accept());
    EXPECT_EQ(stored(16), QStringLiteral("%DATAPATH%Obrazky/"));
}

TEST_F(SettingsDialogLogicTest, LogoFromAFileThatIsNoPictureKeepsTheOldOne) {
    SettingsDialogLogic logic(test.context);
    ASSERT_TRUE(logic.load());
    QImage picture(30, 20, QImage::Format_RGB32);
    picture.fill(Qt::red);
    const QString good = env.dataFolder() + QStringLiteral("logo.png");
    ASSERT_TRUE(picture.save(good));
    ui.chooseFile(good);
    ASSERT_TRUE(logic.loadLogoFromFile());
    const QByteArray logo = logic.values().logo;
    EXPECT_FALSE(logo.isEmpty());
    ui.chooseFile(env.dataFolder() + QStringLiteral("Firma1.MDB"));
    EXPECT_FALSE(logic.loadLogoFromFile());
    EXPECT_TRUE(ui.sawContaining(Kind::Warning, QStringLiteral("není obrázek")));
    EXPECT_EQ(logic.values().logo, logo);
    ui.chooseFile(std::nullopt);
    EXPECT_FALSE(logic.loadLogoFromFile());

    complete(logic);
    ASSERT_TRUE(logic.accept());
    EXPECT_EQ(core::programState().settings.logo, logo);
    logic.clearLogo();
    ASSERT_TRUE(logic.accept());
    EXPECT_TRUE(core::programState().settings.logo.isEmpty());
}

TEST_F(SettingsDialogLogicTest, FailedWriteIsReportedAndNothingOfTheSaveStays) {
    if (testsupport::testStoreIsServer())
        GTEST_SKIP() << "the logo table is made again in the embedded engine's own types";
    ASSERT_TRUE(db().executeDdl(QStringLiteral("DROP TABLE ImgData")));
    SettingsDialogLogic logic(test.context);
    EXPECT_FALSE(logic.load()) << "the logo table cannot be read";
    ui.clear();
    ASSERT_TRUE(db().executeDdl(
        QStringLiteral("CREATE TABLE ImgData (ID INTEGER, IDHodnoty INTEGER, Hodnota BLOB)")));
    ASSERT_TRUE(logic.load());
    complete(logic);
    EXPECT_FALSE(logic.accept()) << "the dialog stays open";
    EXPECT_EQ(ui.texts(Kind::Error),
              QStringList(core::saveFailedMessage(QStringLiteral("ImgData"))));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT count(*) FROM Nastaveni"))->toInt(), 0);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT count(*) FROM CisRady"))->toInt(), 0);
    EXPECT_NE(core::programState().settings.nazev, QStringLiteral("Firma"));
}

// A save refused half way (the tenth setting): the rows written before it are rolled back and
// the program keeps the settings it had, so what it shows is what is stored.
TEST_F(SettingsDialogLogicTest, SaveRefusedHalfWayLeavesDatabaseAndProgramAsBefore) {
    SettingsDialogLogic logic(test.context);
    ASSERT_TRUE(logic.load());
    complete(logic);
    logic.values().nazev = QStringLiteral("Stará firma");
    ASSERT_TRUE(logic.accept());
    const auto rows = [&] {
        QStringList out;
        QSqlQuery q = db().select(
            QStringLiteral("SELECT IDHodnoty, Hodnota FROM Nastaveni ORDER BY IDHodnoty"));
        while (q.next())
            out << q.value(0).toString() + QLatin1Char('=') + q.value(1).toString();
        return out;
    };
    const QStringList before = rows();
    const core::AgendaSettings programBefore = core::programState().settings;
    const bool displayBefore = core::programState().showPurchasePrices;
    ASSERT_TRUE(testsupport::refuseWrites(db(), QStringLiteral("Odmitnout"),
                                          QStringLiteral("UPDATE"), QStringLiteral("Nastaveni"),
                                          QStringLiteral("NEW.IDHodnoty = 10")));

    logic.values().nazev = QStringLiteral("Nová firma");
    logic.values().ico = QStringLiteral("12345678");
    logic.values().sazbaDphZakladni = 25.0;
    logic.values().profil.nezobrazovatNakupniCeny = displayBefore;
    logic.series().cislo = 500;
    ui.clear();
    EXPECT_FALSE(logic.accept());
    EXPECT_EQ(ui.texts(Kind::Error),
              QStringList(core::saveFailedMessage(QStringLiteral("Nastaveni"))));
    EXPECT_EQ(rows(), before);
    EXPECT_EQ(core::loadOfferSeries(db())->cislo, 1);
    const core::ProgramState& state = core::programState();
    EXPECT_EQ(state.settings.nazev, programBefore.nazev);
    EXPECT_EQ(state.settings.ico, programBefore.ico);
    EXPECT_DOUBLE_EQ(state.settings.sazbaDphZakladni, programBefore.sazbaDphZakladni);
    EXPECT_EQ(state.agendaName, QStringLiteral("Stará firma"));
    EXPECT_EQ(state.showPurchasePrices, displayBefore);
    EXPECT_EQ(logic.values().nazev, QStringLiteral("Nová firma")) << "the typed values stay";
}

TEST_F(SettingsDialogLogicTest, UserWithoutAnySettingsRightIsRefused) {
    core::CurrentUser& user = core::programState().user;
    user.udajeFirma = user.globalniNastaveni = user.uzivatelskeNastaveni = false;
    SettingsDialogLogic logic(test.context);
    EXPECT_FALSE(logic.mayOpen());
    EXPECT_TRUE(ui.saw(Kind::Information,
                       QStringLiteral("Litujeme, ale pro tuto funkci nemáte potřebná přístupová "
                                      "práva.")));
}

} // namespace
