#include "CatalogueAgenda.h"

#include "catalogue/ItemCard.h"
#include "catalogue/PictureLoader.h"
#include "services/RecordLock.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>

using namespace orvento;
using namespace orvento::catalogue;
using testsupport::computed;
using testsupport::fixedLevel;
using Kind = testsupport::ScriptedInteraction::Kind;

namespace {

class ItemCardTest : public testsupport::CatalogueAgenda {
protected:
    void SetUp() override {
        CatalogueAgenda::SetUp();
        core::programState().settings.sazbaDphZakladni = 21;
        core::programState().settings.sazbaDphSnizena = 15;
        core::programState().settings.slozkaObrazku = env.dataFolder() + QStringLiteral("OBR/");
    }

    ItemRecord priced(double purchase, double net, double rate = 21) {
        ItemRecord item;
        item.Popis = QStringLiteral("Jistič B16");
        item.price.NakCena = purchase;
        item.price.PrCenaBDPH = net;
        item.price.SazbaDPH = rate;
        return item;
    }

    QString writeFile(const QString& name, const QByteArray& data) {
        const QString path = env.dataFolder() + name;
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(data);
        return path;
    }

    static QByteArray jpeg() {
        QImage image(8, 6, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        QByteArray data;
        QBuffer buffer(&data);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "JPG");
        return data;
    }
};

TEST_F(ItemCardTest, AnOddRateWarnsOnceAndJoinsTheList) {
    const qint64 id = addItem(priced(100, 125, 10));
    ItemCard card(db(), ui);
    ASSERT_TRUE(card.open(ItemCardMode::Edit, id, sheet, 0));
    EXPECT_EQ(ui.texts(Kind::Warning), QStringList{ItemCard::oddRateMessage()});
    EXPECT_EQ(card.rates(), (std::vector<double>{0, 21, 15, 10}));
    EXPECT_EQ(card.rateIndex(), 3);
    EXPECT_TRUE(card.editable());
}

TEST_F(ItemCardTest, NewItemLandsInTheBasicGroupAndACopyGetsANewId) {
    ItemCard card(db(), ui);
    ASSERT_TRUE(card.open(ItemCardMode::New, -1, sheet, 0));
    EXPECT_EQ(card.prices().SazbaDPH, 21.0);
    EXPECT_EQ(card.confirm(), CardOutcome::StayOpen);
    EXPECT_TRUE(ui.saw(Kind::Information, QStringLiteral("Musíte vyplnit popis položky.")));
    card.item().Popis = QStringLiteral("Zásuvka 230 V");
    card.setNakCena(100);
    card.setPrepocitat(true);
    card.setMarze(25);
    ASSERT_EQ(card.confirm(), CardOutcome::Saved);
    const auto stored = readItem(db(), card.id());
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->Skupina, basicGroup);
    EXPECT_EQ(stored->price.PrCenaBDPH, 125.0);
    EXPECT_EQ(stored->price.PrCenaSDPH, 151.25);

    ItemCard copy(db(), ui);
    ASSERT_TRUE(copy.open(ItemCardMode::Copy, card.id(), sheet, 0));
    copy.item().Popis = QStringLiteral("Zásuvka 400 V");
    ASSERT_EQ(copy.confirm(), CardOutcome::Saved);
    EXPECT_NE(copy.id(), card.id());
    EXPECT_EQ(readItem(db(), card.id())->Popis, QStringLiteral("Zásuvka 230 V"));
    EXPECT_EQ(readItem(db(), copy.id())->price.PrCenaBDPH, 125.0);
}

TEST_F(ItemCardTest, AnUnfinishedItemOpensRecomputedAndSavingClearsTheMark) {
    ItemRecord item = priced(100, 1);
    item.price.Prepocitat = true;
    item.price.Marze = 25;
    item.price.SDPH = true;
    item.Chyba = true;
    const qint64 id = addItem(item);
    ItemCard card(db(), ui);
    ASSERT_TRUE(card.open(ItemCardMode::Edit, id, sheet, 0));
    EXPECT_EQ(card.prices().PrCenaSDPH, 151.25);
    EXPECT_EQ(card.prices().PrCenaBDPH, 124.993);
    ASSERT_EQ(card.confirm(), CardOutcome::Saved);
    EXPECT_FALSE(readItem(db(), id)->Chyba);
}

TEST_F(ItemCardTest, ProfitAtCountTwoAndOnTheCurrentLevel) {
    addLevel(QStringLiteral("VO"), computed(LevelValueType::Discount, 10));
    const qint64 group = addGroup(QStringLiteral("A"));
    addRow(group, QStringLiteral("VO"), computed(LevelValueType::Discount, 10), true);
    ItemRecord item = priced(100, 125);
    item.CenSkupina = QStringLiteral("a");
    const qint64 id = addItem(item);
    ItemCard card(db(), ui);
    ASSERT_TRUE(card.open(ItemCardMode::Edit, id, sheet, 0));
    card.setProfitCount(2);
    EXPECT_EQ(card.profit(), 50.0);
    const auto level = card.levelProfit();
    ASSERT_TRUE(level);
    EXPECT_EQ(level->first, 25.0); // 2 × (112.5 − 100)
    EXPECT_EQ(level->second, QStringLiteral("VO"));
    card.setNakCena(130);
    EXPECT_LT(card.profit(), 0.0);
}

TEST_F(ItemCardTest, FixedLevelPricesAreWrittenIntoTheSlotsAndADanglingGroupIsCleared) {
    for (const char* code : {"F1", "F2"})
        addLevel(QString::fromLatin1(code), fixedLevel(true));
    const qint64 group = addGroup(QStringLiteral("A"));
    addRow(group, QStringLiteral("F1"), fixedLevel(true, RoundingCode::WholeUnits), true);
    addRow(group, QStringLiteral("VO"), computed(LevelValueType::Margin, 10), false);
    addRow(group, QStringLiteral("F2"), fixedLevel(true), true);
    ItemRecord item = priced(100, 125);
    item.CenSkupina = QStringLiteral("GONE");
    item.fixedSlots[0].CenHlad = QStringLiteral("OLD");
    const qint64 id = addItem(item);

    ItemCard card(db(), ui);
    ASSERT_TRUE(card.open(ItemCardMode::Edit, id, sheet, 0));
    EXPECT_TRUE(card.item().CenSkupina.isEmpty());
    EXPECT_TRUE(card.levels().empty());
    card.assignGroup(*groupById(db(), group));
    ASSERT_EQ(card.levels().rows().size(), 3u);
    LevelRowPriceEdit edit(card.levels().rows()[0], card.prices().SazbaDPH);
    edit.setFirst(150);
    EXPECT_EQ(edit.second(), 124.0); // 150 − 150 × 0.1736, whole crowns
    card.setLevelRowPrice(0, edit.price());
    EXPECT_FALSE(LevelRowPriceEdit(card.levels().rows()[1], 21).editable());
    ASSERT_EQ(card.confirm(), CardOutcome::Saved);
    const auto stored = readItem(db(), id);
    EXPECT_EQ(stored->CenSkupina, QStringLiteral("A"));
    EXPECT_EQ(stored->fixedSlots[0], (FixedSlot{QStringLiteral("F1"), 124, 150, true}));
    EXPECT_EQ(stored->fixedSlots[1], (FixedSlot{QStringLiteral("F2"), 0, 0, true}));
    EXPECT_EQ(stored->fixedSlots[2], FixedSlot{});
}

TEST_F(ItemCardTest, AnItemOpenElsewhereIsReadOnly) {
    const qint64 id = addItem(priced(1, 2));
    services::RecordLock other;
    ASSERT_EQ(services::RecordLock::take(QStringLiteral("Zasoby"), id, ui, other),
              services::RecordLock::State::Held);
    ItemCard card(db(), ui);
    ASSERT_TRUE(card.open(ItemCardMode::Edit, id, sheet, 0));
    EXPECT_FALSE(card.editable());
    EXPECT_TRUE(ui.saw(Kind::Information, services::recordInUseMessage()));
    card.item().Popis = QStringLiteral("změna");
    EXPECT_EQ(card.confirm(), CardOutcome::StayOpen);
    EXPECT_EQ(readItem(db(), id)->Popis, QStringLiteral("Jistič B16"));
}

TEST_F(ItemCardTest, SilentRunTakesTheGroupSettingsAndKeepsTheMarkWhenItCannotWrite) {
    PriceGroup dictating;
    dictating.Zkratka = QStringLiteral("G");
    dictating.Vlastni = false;
    dictating.Prepocitat = true;
    dictating.Marze = 50;
    dictating.Zaok = RoundingCode::WholeUnits;
    ASSERT_TRUE(priceGroupMapping().insert(db(), dictating));
    ItemRecord item = priced(100, 1);
    item.CenSkupina = QStringLiteral("G");
    item.Chyba = true;
    item.Popis = QStringLiteral("Beze změny");
    const qint64 id = addItem(item);
    const auto groups = PriceGroupData::load(db());
    ASSERT_TRUE(groups);
    EXPECT_TRUE(ItemCard::recomputeSilently(db(), ui, id, *groups));
    const auto stored = readItem(db(), id);
    EXPECT_EQ(stored->price.PrCenaBDPH, 150.0);
    EXPECT_EQ(stored->price.PrCenaSDPH, 182.0);
    EXPECT_FALSE(stored->Chyba);
    EXPECT_EQ(stored->Popis, QStringLiteral("Beze změny"));
    EXPECT_TRUE(ui.allTexts().isEmpty());
}

TEST_F(ItemCardTest, PicturesAreCutToThirtyCharactersAndNeverLostOnTheirOwnCopy) {
    const QString longName = QString(30, QLatin1Char('a')) + QStringLiteral(".jpeg");
    ASSERT_EQ(longName.size(), 35);
    const QString source = writeFile(longName, jpeg());
    const qint64 id = addItem(priced(1, 2));
    ItemCard card(db(), ui);
    ASSERT_TRUE(card.open(ItemCardMode::Edit, id, sheet, 0));
    ui.chooseFile(source);
    ASSERT_TRUE(card.choosePicture());
    EXPECT_EQ(card.item().Obrazek, QString(25, QLatin1Char('a')) + QStringLiteral(".jpeg"));
    EXPECT_TRUE(ui.sawContaining(Kind::Warning, QStringLiteral("s oříznutým názvem \"aaaa")));
    ASSERT_TRUE(card.pictureExists());
    EXPECT_FALSE(loadPicture(card.picturePath()).isNull());

    // The store file itself, by another spelling of its path: no question, still there.
    ui.clear();
    ui.chooseFile(card.pictureStore().folder() + QStringLiteral("../OBR/") + card.item().Obrazek);
    EXPECT_TRUE(card.choosePicture());
    EXPECT_TRUE(ui.allTexts().isEmpty());
    EXPECT_EQ(loadPicture(card.picturePath()).size(), QSize(8, 6));

    // Another file of that name: keeping the stored one changes nothing.
    ui.chooseFile(writeFile(card.item().Obrazek, QByteArray("not a picture")));
    ui.answer(false);
    EXPECT_FALSE(card.choosePicture());
    EXPECT_EQ(loadPicture(card.picturePath()).size(), QSize(8, 6));
}

TEST_F(ItemCardTest, BrokenPicturesAndAnUncreatableStoreFailCleanly) {
    const QByteArray good = jpeg();
    EXPECT_FALSE(decodeJpeg(good).isNull());
    EXPECT_TRUE(decodeJpeg(good.left(good.size() / 2)).isNull());
    EXPECT_TRUE(decodeJpeg(QByteArray("\xFF\xD8garbage", 9)).isNull());
    EXPECT_TRUE(loadPicture(writeFile(QStringLiteral("bad.jpg"), "text")).isNull());

    writeFile(QStringLiteral("blocker"), "a file where the folder should be");
    PictureStore store(env.dataFolder() + QStringLiteral("blocker/OBR"));
    EXPECT_FALSE(store.store(writeFile(QStringLiteral("p.jpg"), good), ui));
    EXPECT_TRUE(ui.sawContaining(Kind::Error,
                                 QStringLiteral("Nelze vytvořit adresář pro úložiště obrázků ")));
}

} // namespace
