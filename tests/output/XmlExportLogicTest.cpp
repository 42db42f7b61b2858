#include "output/XmlExportLogic.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "services/ProfileStore.h"
#include "services/ProfileValues.h"
#include "support/OpenAgenda.h"
#include "support/ScriptedInteraction.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

using namespace orvento;
using output::XmlExportLogic;
using output::xml_export::Kind;
using testsupport::ScriptedInteraction;
using MessageKind = ScriptedInteraction::Kind;
namespace value = services::profile::value;

namespace {

class XmlExportLogicTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(
            testsupport::openTestAgenda(env, QStringLiteral("0001.res"), QStringLiteral("Firma")));
        ASSERT_TRUE(out.isValid());
        state().user.nakupniCeny = true;
    }
    void TearDown() override { core::resetProgramState(); }

    static core::ProgramState& state() { return core::programState(); }
    static core::Database& db() { return state().db->agenda; }
    output::ReportContext context() { return {state().settings, state().user, db(), nullptr}; }

    qint64 addOffer(const QString& doklad) {
        EXPECT_TRUE(db().execute(
            QStringLiteral("INSERT INTO Nabidky (Doklad, Popis, SazDPHZakl, SazDPHSniz, Celkem, "
                           "CelkemBDPH, IDStav, Zamek, DatVystaveni) VALUES (:Doklad, :Popis, "
                           "21, 12, 121, 100, 0, 0, :Dat)"),
            {{QStringLiteral("Doklad"), doklad},
             {QStringLiteral("Popis"), QStringLiteral("Nabídka & <%1>").arg(doklad)},
             {QStringLiteral("Dat"), QDateTime(QDate(2024, 3, 5), QTime(0, 0))}}));
        return db().newRowId();
    }
    void addItem(qint64 offer, int poradi, const QString& popis) {
        ASSERT_TRUE(db().execute(
            QStringLiteral("INSERT INTO NabPolozky (CisloNab, Poradi, Popis, PocetMJ, ProdCena, "
                           "SDPH, SazbaDPH, Nakladova) VALUES (:CisloNab, :Poradi, :Popis, 1, "
                           "100, 0, 21, 0)"),
            {{QStringLiteral("CisloNab"), offer},
             {QStringLiteral("Poradi"), poradi},
             {QStringLiteral("Popis"), popis}}));
    }
    qint64 addFirm(const QString& name) {
        EXPECT_TRUE(db().execute(QStringLiteral("INSERT INTO Adresar (Nazev) VALUES (:Nazev)"),
                                 {{QStringLiteral("Nazev"), name}}));
        return db().newRowId();
    }
    // A logic whose external programs are only recorded.
    std::unique_ptr<XmlExportLogic> logic(Kind kind, std::vector<qint64> ids) {
        return std::make_unique<XmlExportLogic>(
            context(), ui, kind, std::move(ids),
            [this](const QString& program, const QStringList& arguments) {
                started << (QStringList{program} + arguments).join(QLatin1Char('|'));
                return true;
            });
    }
    QString path(const QString& name) const { return out.path() + QLatin1Char('/') + name; }
    static QByteArray bytesOf(const QString& file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void writeBytes(const QString& file, const QByteArray& bytes) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    static QStringList elements(const QString& file, const QString& name) {
        QXmlStreamReader reader(bytesOf(file));
        QStringList values;
        while (!reader.atEnd())
            if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == name)
                values << reader.readElementText();
        EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
        return values;
    }

    testsupport::TestEnvironment env;
    QTemporaryDir out;
    ScriptedInteraction ui;
    QStringList started;
};

// Offers are written in the order given, each with its items from the database; the export
// creates the missing folder on request, starts the program with the file as one argument and
// remembers the dialog's values.
TEST_F(XmlExportLogicTest, ExportsOffersStartsTheProgramAndRemembers) {
    const qint64 a = addOffer(QStringLiteral("NB-A"));
    const qint64 b = addOffer(QStringLiteral("NB-B"));
    const qint64 c = addOffer(QStringLiteral("NB-C"));
    addItem(b, 2, QStringLiteral("Druhá"));
    addItem(b, 1, QStringLiteral("První €"));
    auto export_ = logic(Kind::Offers, {c, b, a});
    export_->file =
        QStringLiteral("  ") + path(QStringLiteral("nová složka/nab.xml")) + QStringLiteral(" ");
    export_->runProgram = true;
    export_->passFile = true;
    export_->program = QStringLiteral("/opt/zpracuj xml");
    ui.answer(true); // create the folder
    ASSERT_TRUE(export_->accept());
    const QString file = path(QStringLiteral("nová složka/nab.xml"));
    EXPECT_TRUE(ui.saw(MessageKind::Question,
                       QStringLiteral("Složka pro export \"%1\" neexistuje. Chcete ji vytvořit?")
                           .arg(path(QStringLiteral("nová složka")))));
    EXPECT_EQ(
        elements(file, QStringLiteral("Doklad")),
        (QStringList{QStringLiteral("NB-C"), QStringLiteral("NB-B"), QStringLiteral("NB-A")}));
    EXPECT_EQ(elements(file, QStringLiteral("MJ")).size(), 2); // one per item
    EXPECT_TRUE(bytesOf(file).contains("<Popis>Prvn\xED \x80</Popis>"));
    EXPECT_TRUE(bytesOf(file).contains("<DatVystaveni>2024-03-05</DatVystaveni>"));
    EXPECT_TRUE(bytesOf(file).contains("<Popis>Nab\xED"
                                       "dka &amp; &lt;NB-A&gt;</Popis>"));
    EXPECT_EQ(started, QStringList{QStringLiteral("/opt/zpracuj xml|") + file});
    EXPECT_TRUE(ui.waitTexts().contains(XmlExportLogic::waitText()));
    EXPECT_EQ(services::profile::loadValue(value::OfferXmlFile), file);
    EXPECT_EQ(services::profile::loadValue(value::OfferXmlProgram),
              QStringLiteral("/opt/zpracuj xml"));
    EXPECT_EQ(services::profile::loadValue(value::OfferXmlRunProgram), QStringLiteral("-1"));
    EXPECT_EQ(services::profile::loadValue(value::OfferXmlPassFile), QStringLiteral("-1"));
    // The address values are their own.
    EXPECT_EQ(services::profile::loadValue(value::AddressXmlFile), QString());

    // The next dialog of the kind starts with them; without the parameter box the program gets
    // no argument.
    auto again = logic(Kind::Offers, {a});
    EXPECT_EQ(again->file, file);
    EXPECT_TRUE(again->runProgram);
    EXPECT_TRUE(again->passFile);
    again->passFile = false;
    ui.answer(true); // overwrite
    ASSERT_TRUE(again->accept());
    EXPECT_EQ(started.last(), QStringLiteral("/opt/zpracuj xml"));
    EXPECT_EQ(elements(file, QStringLiteral("Doklad")), QStringList{QStringLiteral("NB-A")});
}

// Every check of "OK" shows its message and writes nothing.
TEST_F(XmlExportLogicTest, ChecksOfOk) {
    const qint64 a = addOffer(QStringLiteral("NB-A"));
    auto export_ = logic(Kind::Offers, {a});
    export_->file = QStringLiteral("   ");
    EXPECT_FALSE(export_->accept());
    EXPECT_TRUE(
        ui.saw(MessageKind::Information, QStringLiteral("Musíte zadat název exportního souboru.")));

    export_->file = path(QStringLiteral("a.xml"));
    export_->runProgram = true;
    export_->program = QStringLiteral("  ");
    EXPECT_FALSE(export_->accept());
    EXPECT_TRUE(
        ui.saw(MessageKind::Information,
               QStringLiteral(
                   "Zadejte buď cestu k externímu programu nebo zrušte zaškrtnutí přepínače.")));
    export_->runProgram = false;

    export_->file = QStringLiteral("jen_soubor.xml");
    EXPECT_FALSE(export_->accept());
    EXPECT_TRUE(ui.saw(MessageKind::Information,
                       QStringLiteral("Musíte zadat název složky, do které se má soubor "
                                      "exportovat (pro výběr použijte tlačítko \"tři tečky\").")));

    export_->file = path(QStringLiteral("chybí/a.xml"));
    ui.answer(false);
    EXPECT_FALSE(export_->accept());
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("chybí"))));

    // An old file is replaced only on Yes; one that cannot be written is warned about.
    const QString old = path(QStringLiteral("stary.xml"));
    writeBytes(old, "old");
    export_->file = old;
    ui.answer(false);
    EXPECT_FALSE(export_->accept());
    EXPECT_EQ(bytesOf(old), QByteArray("old"));
    const QString folderInTheWay = path(QStringLiteral("slozka.xml"));
    ASSERT_TRUE(QDir().mkpath(folderInTheWay));
    export_->file = folderInTheWay;
    ui.answer(true);
    EXPECT_FALSE(export_->accept());
    EXPECT_TRUE(
        ui.saw(MessageKind::Warning,
               QStringLiteral("Chyba: nelze přepsat výstupní soubor \"%1\"").arg(folderInTheWay)));
    EXPECT_TRUE(started.isEmpty());
    EXPECT_EQ(services::profile::loadValue(value::OfferXmlFile), QString());
}

// A file that cannot be saved keeps the old one whole, says why, starts nothing and remembers
// nothing.
TEST_F(XmlExportLogicTest, FailedWriteKeepsTheOldFile) {
    const qint64 a = addOffer(QStringLiteral("NB-A"));
    // The longest name the file system takes: the save file's temporary companion beside it
    // cannot be made, even for a user who may write anywhere.
    const QString old = path(QString(250, QLatin1Char('n')) + QStringLiteral(".xml"));
    writeBytes(old, "old content");
    auto export_ = logic(Kind::Offers, {a});
    export_->file = old;
    export_->runProgram = true;
    export_->program = QStringLiteral("/bin/true");
    ui.answer(true); // overwrite
    EXPECT_FALSE(export_->accept());
    EXPECT_TRUE(ui.sawContaining(
        MessageKind::Error, QStringLiteral("Při ukládání výstupního souboru došlo k chybě:\r\r")));
    EXPECT_EQ(bytesOf(old), QByteArray("old content"));
    EXPECT_TRUE(started.isEmpty());
    EXPECT_EQ(services::profile::loadValue(value::OfferXmlRunProgram), QString());
    EXPECT_FALSE(ui.waitShown());
}

// The same with a folder the user may not write into (meaningless for the superuser).
TEST_F(XmlExportLogicTest, UnwritableFolderKeepsTheOldFile) {
    const qint64 a = addOffer(QStringLiteral("NB-A"));
    const QString folder = path(QStringLiteral("ro"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString old = folder + QStringLiteral("/nab.xml");
    writeBytes(old, "old content");
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    {
        QFile probe(folder + QStringLiteral("/probe"));
        if (probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            GTEST_SKIP() << "the folder stays writable for this user";
        }
    }
    auto export_ = logic(Kind::Offers, {a});
    export_->file = old;
    ui.answer(true);
    EXPECT_FALSE(export_->accept());
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(bytesOf(old), QByteArray("old content"));
    EXPECT_EQ(ui.texts(MessageKind::Error).size(), 1);
}

// A program that cannot start is told, and the export stays done and remembered.
TEST_F(XmlExportLogicTest, MissingProgramIsToldAfterTheExport) {
    const qint64 first = addFirm(QStringLiteral("Šťastný & syn"));
    const qint64 second = addFirm(QStringLiteral("<Beta> \"uvozovky\""));
    XmlExportLogic export_(context(), ui, Kind::Addresses, {second, first});
    export_.file = path(QStringLiteral("adresy.xml"));
    export_.runProgram = true;
    export_.program = path(QStringLiteral("neexistuje/program"));
    ASSERT_TRUE(export_.accept());
    EXPECT_TRUE(
        ui.saw(MessageKind::Warning, QStringLiteral("Externí program %1 se nepodařilo spustit.")
                                         .arg(path(QStringLiteral("neexistuje/program")))));
    const QString file = path(QStringLiteral("adresy.xml"));
    EXPECT_EQ(
        elements(file, QStringLiteral("Nazev")),
        (QStringList{QStringLiteral("<Beta> \"uvozovky\""), QStringLiteral("Šťastný & syn")}));
    EXPECT_EQ(elements(file, QStringLiteral("ID")),
              (QStringList{QString::number(second), QString::number(first)}));
    QStringDecoder decoder("windows-1250");
    EXPECT_TRUE(QString(decoder(bytesOf(file)))
                    .startsWith(QStringLiteral(
                        "<?xml version=\"1.0\" encoding=\"windows-1250\"?>\r\n<OVData "
                        "description=\"Adresář\"")));
    EXPECT_EQ(services::profile::loadValue(value::AddressXmlFile), file);
    EXPECT_EQ(services::profile::loadValue(value::AddressXmlRunProgram), QStringLiteral("-1"));
    EXPECT_EQ(services::profile::loadValue(value::AddressXmlPassFile), QStringLiteral("0"));
}

// Remembered booleans: "-1" is true, a missing or unreadable one false.
TEST_F(XmlExportLogicTest, RememberedBooleans) {
    ASSERT_TRUE(services::profile::saveValue(value::AddressXmlRunProgram, QStringLiteral("ano")));
    ASSERT_TRUE(services::profile::saveValue(value::AddressXmlPassFile, QStringLiteral("-1")));
    XmlExportLogic export_(context(), ui, Kind::Addresses, {});
    EXPECT_FALSE(export_.runProgram);
    EXPECT_TRUE(export_.passFile);
    EXPECT_FALSE(export_.programEnabled());
    XmlExportLogic offers(context(), ui, Kind::Offers, {});
    EXPECT_FALSE(offers.runProgram);
    EXPECT_FALSE(offers.passFile);
}

// The "..." buttons: a file name without extension gets ".XML"; the program dialog shows all
// files first, since programs here have no ".exe".
TEST_F(XmlExportLogicTest, BrowseButtons) {
    XmlExportLogic export_(context(), ui, Kind::Offers, {});
    ui.chooseFile(path(QStringLiteral("vystup")));
    export_.chooseFile();
    EXPECT_EQ(export_.file, path(QStringLiteral("vystup.XML")));
    ui.chooseFile(std::nullopt);
    export_.chooseFile();
    EXPECT_EQ(export_.file, path(QStringLiteral("vystup.XML")));
    ui.chooseFile(QStringLiteral("/usr/bin/xmllint"));
    export_.chooseProgram();
    EXPECT_EQ(export_.program, QStringLiteral("/usr/bin/xmllint"));
}

} // namespace
