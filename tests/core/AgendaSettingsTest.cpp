#include "core/AgendaSettings.h"
#include "core/Database.h"
#include "core/OfferSeries.h"
#include "core/PathUtil.h"
#include "core/ProgramState.h"
#include "services/LogoPicture.h"
#include "support/OpenAgenda.h"
#include "support/ScriptedInteraction.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QImage>
#include <QLocale>
#include <QSqlQuery>

#include <gtest/gtest.h>

#include <map>

using namespace orvento;
using testsupport::ScriptedInteraction;
using testsupport::TestEnvironment;
using Kind = ScriptedInteraction::Kind;

namespace {

class LocaleScope {
public:
    explicit LocaleScope(const QLocale& locale) { QLocale::setDefault(locale); }
    ~LocaleScope() { QLocale::setDefault(m_saved); }

private:
    QLocale m_saved;
};

TEST(AgendaSettingsValues, RatesUseTheWorkstationsFormatAndReadEitherSeparator) {
    {
        LocaleScope czech(QLocale(QLocale::Czech, QLocale::CzechRepublic));
        EXPECT_EQ(core::formatRate(21.0), QStringLiteral("21"));
        EXPECT_EQ(core::formatRate(12.5), QStringLiteral("12,5"));
        EXPECT_EQ(core::formatRate(1234.5), QStringLiteral("1234,5"));
        EXPECT_DOUBLE_EQ(*core::parseRate(core::formatRate(0.1 + 0.2)), 0.1 + 0.2);
    }
    LocaleScope c(QLocale::c());
    EXPECT_EQ(core::formatRate(12.5), QStringLiteral("12.5"));
    EXPECT_DOUBLE_EQ(*core::parseRate(QStringLiteral("12,5")), 12.5);
    EXPECT_DOUBLE_EQ(*core::parseRate(QStringLiteral(" 15 ")), 15.0);
    for (const char* bad : {"", "abc", "21 %", "1.234,5"})
        EXPECT_FALSE(core::parseRate(QString::fromLatin1(bad))) << bad;
}

TEST(AgendaSettingsValues, PicturesFolderIsStoredRelativeToTheDataFolderAsTheFileSystemCompares) {
    const QString data = QStringLiteral("/srv/data/");
    EXPECT_EQ(
        core::picturesFolderToStored(QStringLiteral("/srv/data/DOKUMENTY/DEMO/OBRAZKY/"), data),
        QStringLiteral("%DATAPATH%DOKUMENTY/DEMO/OBRAZKY/"));
    // Another spelling is another folder here: it must come back as itself, not as /srv/data/x/.
    const QString other = QStringLiteral("/srv/Data/x/");
    EXPECT_EQ(core::picturesFolderFromStored(core::picturesFolderToStored(other, data), data),
              core::fileNameCase() == Qt::CaseSensitive ? other : QStringLiteral("/srv/data/x/"));
    EXPECT_EQ(core::picturesFolderToStored(QStringLiteral("/srv/data2/OBRAZKY"), data),
              QStringLiteral("/srv/data2/OBRAZKY/"));
    EXPECT_EQ(core::picturesFolderToStored(QStringLiteral("/home/eva/obr/"), data),
              QStringLiteral("/home/eva/obr/"));
    EXPECT_EQ(
        core::picturesFolderFromStored(QStringLiteral("%datapath%DOKUMENTY\\DEMO\\OBRAZKY"), data),
        QStringLiteral("/srv/data/DOKUMENTY/DEMO/OBRAZKY/"));
    EXPECT_EQ(core::picturesFolderFromStored(QStringLiteral("/home/eva/obr"), data),
              QStringLiteral("/home/eva/obr/"));
}

class AgendaSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(
            testsupport::openTestAgenda(env, QStringLiteral("0001.res"), QStringLiteral("Firma1")));
    }

    void setRow(int number, const QString& value) {
        ASSERT_TRUE(db.execute(QStringLiteral("INSERT INTO Nastaveni (IDHodnoty, Popis, Hodnota) "
                                              "VALUES (:N, 'x', :V)"),
                               {{QStringLiteral("N"), number}, {QStringLiteral("V"), value}}));
    }

    std::map<int, std::pair<QString, QString>> storedRows() {
        std::map<int, std::pair<QString, QString>> rows;
        QSqlQuery q = db.select(QStringLiteral("SELECT IDHodnoty, Popis, Hodnota FROM Nastaveni"));
        while (q.next())
            rows[q.value(0).toInt()] = {q.value(1).toString(), q.value(2).toString()};
        return rows;
    }

    bool load(core::AgendaSettings& out) {
        return core::loadAgendaSettings(db, env.dataFolder(), QStringLiteral("Firma1"), out, ui);
    }

    TestEnvironment env;
    ScriptedInteraction ui;
    core::Database& db = core::programState().db->agenda;
};

TEST_F(AgendaSettingsTest, MissingRowsGiveDefaultsAndTheFirstSaveWritesAllNineteen) {
    core::AgendaSettings s;
    s.nazev = QStringLiteral("stale");
    ASSERT_TRUE(load(s));
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_EQ(s.nazev, QString());
    EXPECT_DOUBLE_EQ(s.sazbaDphZakladni, 21.0);
    EXPECT_DOUBLE_EQ(s.sazbaDphSnizena, 15.0);
    EXPECT_EQ(s.zaokrouhlitCelkem, 1);
    EXPECT_EQ(s.urovenHistorie, 2);
    EXPECT_EQ(s.symbolMeny, QStringLiteral("Kč"));
    EXPECT_TRUE(s.obrazkyPriTisku);
    EXPECT_EQ(s.slozkaObrazku, env.dataFolder() + QStringLiteral("Dokumenty/Firma1/OBRAZKY/"));
    EXPECT_TRUE(s.logo.isEmpty());

    s.nazev = QStringLiteral("Nová firma s.r.o.");
    s.ico = QStringLiteral("12345678901234"); // longer than the field allows
    ASSERT_TRUE(core::saveSettingRows(db, s, env.dataFolder()));
    auto rows = storedRows();
    ASSERT_EQ(rows.size(), 19u);
    EXPECT_EQ(rows[1],
              std::make_pair(QStringLiteral("Firma - název"), QStringLiteral("Nová firma s.r.o.")));
    EXPECT_EQ(rows[6].second, QStringLiteral("1234567890"));
    EXPECT_EQ(rows[15].second, QStringLiteral("1"));
    EXPECT_EQ(rows[16].second, QStringLiteral("%DATAPATH%Dokumenty/Firma1/OBRAZKY/"));
    EXPECT_EQ(rows[17].second, QStringLiteral("-1"));
    EXPECT_EQ(rows[18].second, QStringLiteral("Kč"));
    EXPECT_EQ(rows[19], std::make_pair(QStringLiteral("Hisotire akcí - úroveň logování"),
                                       QStringLiteral("2")));

    // A second save updates the same rows.
    s.urovenHistorie = 0;
    ASSERT_TRUE(core::saveSettingRows(db, s, env.dataFolder()));
    rows = storedRows();
    EXPECT_EQ(rows.size(), 19u);
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT count(*) FROM Nastaveni"))->toInt(), 19);
    EXPECT_EQ(rows[19].second, QStringLiteral("0"));

    core::AgendaSettings back;
    ASSERT_TRUE(load(back));
    EXPECT_EQ(back.nazev, s.nazev);
    EXPECT_EQ(back.urovenHistorie, 0);
    EXPECT_EQ(back.slozkaObrazku, s.slozkaObrazku);
}

TEST_F(AgendaSettingsTest, ValuesThatAreNoNumbersKeepTheirDefaultsWithOneWarning) {
    setRow(13, QStringLiteral("dvacet"));
    setRow(14, QStringLiteral("10,5"));
    setRow(15, QStringLiteral(""));
    setRow(17, QStringLiteral("0"));
    setRow(19, QStringLiteral("7"));
    setRow(16, QStringLiteral("%DataPath%OBR"));
    core::AgendaSettings s;
    ASSERT_TRUE(load(s));
    EXPECT_DOUBLE_EQ(s.sazbaDphZakladni, 21.0);
    EXPECT_DOUBLE_EQ(s.sazbaDphSnizena, 10.5);
    EXPECT_EQ(s.zaokrouhlitCelkem, 1);
    EXPECT_EQ(s.urovenHistorie, 2);
    EXPECT_TRUE(s.obrazkyPriTisku) << "setting 17 is always on";
    EXPECT_EQ(s.slozkaObrazku, env.dataFolder() + QStringLiteral("OBR/"));
    ASSERT_EQ(ui.texts(Kind::Warning).size(), 1);
    const QString warning = ui.texts(Kind::Warning).front();
    EXPECT_TRUE(warning.contains(QStringLiteral("Základní sazba DPH (č. 13): \"dvacet\"")));
    EXPECT_TRUE(warning.contains(QStringLiteral("(č. 15)")));
    EXPECT_TRUE(warning.contains(QStringLiteral("(č. 19)")));
    EXPECT_FALSE(warning.contains(QStringLiteral("(č. 14)")));
}

TEST_F(AgendaSettingsTest, UnreadableTablesFailTheLoadingAndFailedSavesAreReported) {
    ASSERT_TRUE(db.executeDdl(QStringLiteral("DROP TABLE Nastaveni")));
    core::AgendaSettings s;
    EXPECT_FALSE(load(s));
    EXPECT_EQ(ui.texts(Kind::Error).size(), 1);

    // The writers say only that they failed; their caller reports it after its unit of work.
    ui.clear();
    EXPECT_FALSE(core::saveSettingRows(db, s, env.dataFolder()));
    ASSERT_TRUE(db.executeDdl(QStringLiteral("DROP TABLE CisRady")));
    EXPECT_FALSE(core::saveOfferSeries(db, core::OfferSeries{}));
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(AgendaSettingsTest, LogoIsReadFromPictureFilesAndKeptAsPng) {
    QImage picture(60, 40, QImage::Format_RGB32);
    picture.fill(Qt::darkBlue);
    for (const char* format : {"BMP", "PNG", "JPEG"}) {
        const QString path = env.dataFolder() + QStringLiteral("logo.") + QLatin1String(format);
        ASSERT_TRUE(picture.save(path, format)) << format;
        QString reason;
        const auto logo = services::logoFromFile(path, &reason);
        ASSERT_TRUE(logo) << format << reason.toStdString();
        EXPECT_TRUE(logo->startsWith("\x89PNG")) << format;
        EXPECT_EQ(services::logoImage(*logo).size(), QSize(60, 40)) << format;
    }
    QFile text(env.dataFolder() + QStringLiteral("logo.bmp"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly | QIODevice::Truncate));
    text.write("not a picture");
    text.close();
    QString reason;
    EXPECT_FALSE(services::logoFromFile(text.fileName(), &reason));
    EXPECT_TRUE(reason.contains(QStringLiteral("není obrázek")));

    const QByteArray png = *services::logoFromFile(env.dataFolder() + QStringLiteral("logo.PNG"));
    ASSERT_TRUE(core::saveLogo(db, png));
    ASSERT_TRUE(core::saveLogo(db, png));
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT count(*) FROM ImgData"))->toInt(), 1);
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT Popis FROM ImgData"))->toString(),
              QStringLiteral("Logo firmy"));
    core::AgendaSettings s;
    ASSERT_TRUE(load(s));
    EXPECT_EQ(s.logo, png);

    ASSERT_TRUE(core::saveLogo(db, QByteArray()));
    ASSERT_TRUE(load(s));
    EXPECT_TRUE(s.logo.isEmpty());
}

TEST(OfferSeriesValues, NormalisedKeepsTheFieldLimits) {
    const core::OfferSeries s = core::OfferSeries{QStringLiteral(" nabídka "), 0, 9}.normalised();
    EXPECT_EQ(s.prefixOzn, QStringLiteral("NABÍD"));
    EXPECT_EQ(s.cislo, 1);
    EXPECT_EQ(s.pocetMist, 5);
}

} // namespace
