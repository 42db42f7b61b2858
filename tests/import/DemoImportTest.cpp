#include "import/DemoImport.h"
#include "core/AgendaSettings.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "import/ImportDefinitionStore.h"
#include "import/ImportWizardLogic.h"
#include "import/MoneyImportSettings.h"
#include "support/OpenAgenda.h"
#include "support/TestContext.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QSqlQuery>

#include <gtest/gtest.h>

#include <algorithm>

using namespace orvento;

namespace {

const QString kDemoImport = QStringLiteral(ORVENTO_PROGRAM_DIR "/Res/DEMO/Import/");

class DemoImportTest : public ::testing::Test {
protected:
    void SetUp() override {
        core::resetProgramState();
        ASSERT_TRUE(
            testsupport::openTestAgenda(env, QStringLiteral("0003.res"), QStringLiteral("DEMO")));
    }
    void TearDown() override { core::resetProgramState(); }

    static core::Database& agenda() { return core::programState().db->agenda; }

    // The demo catalogue's catalogue numbers.
    static QSet<QString> catalogueNumbers() {
        QSet<QString> numbers;
        QSqlQuery q = agenda().select(QStringLiteral("SELECT Katalog FROM Zasoby"));
        while (q.next())
            numbers.insert(q.value(0).toString());
        return numbers;
    }

    testsupport::TestEnvironment env;
};

TEST_F(DemoImportTest, TheDemoAgendaHoldsAPriceListDefinitionForEachDemoFile) {
    import::ImportDefinitionStore store(agenda());
    QString error;
    const auto rows = store.list(error);
    ASSERT_TRUE(rows.has_value()) << error.toStdString();
    // The two price-list definitions come first; definitions of other kinds follow them, the
    // Money one every new agenda holds among them.
    ASSERT_GE(rows->size(), 3U);
    const auto moneyRow = std::find_if(rows->begin(), rows->end(), [](const auto& row) {
        return row.kind == import::DefinitionKind::Money;
    });
    ASSERT_NE(moneyRow, rows->end());
    const auto money = store.read(moneyRow->id, error);
    ASSERT_TRUE(money.has_value());
    EXPECT_EQ(money->name, import::moneyDefinitionName());
    EXPECT_EQ(money->rawText, import::moneyDefinitionText());
    struct Expected {
        QString name;
        core::sources::SourceKind kind;
        QString file;
        QString table;
    };
    const Expected expected[] = {
        {import::demoCsvDefinitionName(), core::sources::SourceKind::Csv, import::demoCsvFileName(),
         QStringLiteral("cenik_dodavatele#csv")},
        {import::demoWorkbookDefinitionName(), core::sources::SourceKind::Xls,
         import::demoWorkbookFileName(), import::demoWorkbookSheet()},
    };
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const import::DefinitionListRow& row = rows->at(i);
        EXPECT_EQ(row.name, expected[i].name);
        EXPECT_EQ(row.kind, import::DefinitionKind::PriceList);
        const auto d = store.read(row.id, error);
        ASSERT_TRUE(d.has_value()) << error.toStdString();
        EXPECT_EQ(d->sourceKind, expected[i].kind);
        EXPECT_EQ(d->fileName,
                  QStringLiteral("%DATAPATH%Dokumenty/DEMO/Import/") + expected[i].file);
        EXPECT_EQ(d->tableName, expected[i].table);
        EXPECT_TRUE(d->compare);
        EXPECT_EQ(d->refField, QStringLiteral("KATALOG"));
        EXPECT_EQ(d->refColumn, import::supplierColumns().at(0));
        EXPECT_TRUE(d->priceList.field(import::PriceListField::Katalog).imported);
        EXPECT_TRUE(d->priceList.field(import::PriceListField::NakCena).imported);
        // New wares go into a group of the demo that belongs to the chosen sheet.
        const auto sheetOfGroup =
            agenda().scalar(QStringLiteral("SELECT Sklad FROM Skupiny WHERE ID = :ID"),
                            {{QStringLiteral("ID"), d->priceList.newItemsGroup}});
        ASSERT_TRUE(sheetOfGroup.has_value());
        EXPECT_EQ(sheetOfGroup->toLongLong(), d->priceList.newItemsSheet);
        EXPECT_NE(d->priceList.newItemsSheet, 0);
    }
}

TEST_F(DemoImportTest, TheDemoFilesHoldTheSupplierListWithWaresOfTheCatalogue) {
    QFile csv(kDemoImport + import::demoCsvFileName());
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QByteArray bytes = csv.readAll();
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF")) << "UTF-8 with a byte order mark";
    const QStringList lines =
        QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_GT(lines.size(), 200);
    EXPECT_EQ(lines.front(), import::supplierColumns().join(QLatin1Char(';')));
    const QSet<QString> known = catalogueNumbers();
    int matching = 0;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringList fields = lines.at(i).split(QLatin1Char(';'));
        ASSERT_EQ(fields.size(), 5) << lines.at(i).toStdString();
        EXPECT_FALSE(fields.at(1).isEmpty());
        EXPECT_FALSE(fields.at(3).contains(QLatin1Char('.'))) << "a decimal comma";
        if (known.contains(fields.at(0)))
            ++matching;
    }
    EXPECT_GT(matching, 50) << "some rows update wares the catalogue has";
    EXPECT_LT(matching, lines.size() - 1) << "others are new";

    QFile workbook(kDemoImport + import::demoWorkbookFileName());
    ASSERT_TRUE(workbook.open(QIODevice::ReadOnly));
    EXPECT_TRUE(workbook.read(2) == "PK") << "an .xlsx is a zip archive";
}

TEST_F(DemoImportTest, TheSourceFileReachesTheDemoDocumentsUnderTheDataFolder) {
    // The start-up copies Res/DEMO/ into the data folder's Dokumenty/DEMO/ with the demo agenda,
    // into folders of whatever letter case are there already.
    const QString data = env.dataFolder();
    ASSERT_TRUE(QDir().mkpath(data + QStringLiteral("DOKUMENTY/demo")));
    core::programState().folders.program = QStringLiteral(ORVENTO_PROGRAM_DIR "/");
    testsupport::ScriptedInteraction ui;
    testsupport::TestContext test(ui);
    test.startUp().copyDemoDocuments();

    import::ImportDefinitionStore store(agenda());
    QString error;
    const auto rows = store.list(error);
    ASSERT_TRUE(rows.has_value());
    for (const import::DefinitionListRow& row : *rows) {
        if (row.kind == import::DefinitionKind::Money)
            continue; // Money's folders are the firm's own, empty in the demo
        const auto d = store.read(row.id, error);
        ASSERT_TRUE(d.has_value());
        const QString file = import::sourceFileOf(*d, data);
        EXPECT_TRUE(file.startsWith(data + QStringLiteral("DOKUMENTY/demo/Import/")))
            << file.toStdString();
        EXPECT_TRUE(QFile::exists(file)) << file.toStdString();
    }
}

TEST(DataPathMark, ExpandsForFilesAndFoldersAlike) {
    const QString data = QStringLiteral("/srv/data/");
    EXPECT_EQ(core::expandDataPath(QStringLiteral("%datapath%Import\\cenik.csv"), data),
              QStringLiteral("/srv/data/Import/cenik.csv"));
    EXPECT_EQ(core::expandDataPath(QStringLiteral("  /jinde/cenik.csv "), data),
              QStringLiteral("/jinde/cenik.csv"));
    EXPECT_EQ(core::expandDataPath(QStringLiteral("%DATAPATH%Obrazky/"), data),
              QStringLiteral("/srv/data/Obrazky"));
    EXPECT_EQ(core::picturesFolderFromStored(QStringLiteral("%DATAPATH%Obrazky"), data),
              QStringLiteral("/srv/data/Obrazky/"));
    EXPECT_EQ(core::expandDataPath(QString(), data), QString());
}

} // namespace
