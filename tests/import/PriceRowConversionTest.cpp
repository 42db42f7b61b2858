// One source row made into an item: texts cut to their widths, the sale price paired with the
// VAT rate the row or the found item gives, numbers that are no numbers, and the settings that
// found items get only when they are not for new items alone.
#include "MemorySource.h"

#include "catalogue/pricing/VatConversion.h"
#include "import/PriceRowConversion.h"

#include <gtest/gtest.h>

using namespace orvento;
using namespace orvento::import;
using testsupport::num;
using testsupport::txt;

namespace {

const QStringList kColumns{QStringLiteral("Nazev"), QStringLiteral("Cena"), QStringLiteral("DPH"),
                           QStringLiteral("Nakup")};

ImportDefinition withColumns(std::initializer_list<std::pair<PriceListField, QString>> fields) {
    ImportDefinition d;
    for (const auto& [field, column] : fields) {
        FieldMapping& m = d.priceList.field(field);
        m.imported = true;
        m.column = column;
    }
    return d;
}

PreparedItem convert(const ImportDefinition& d, const core::sources::Row& row, bool isNew,
                     double rate, QString* error = nullptr) {
    QString why;
    const auto conversion = PriceRowConversion::make(d, kColumns, why);
    EXPECT_TRUE(conversion) << why.toStdString();
    PreparedItem prepared;
    prepared.item.ID = isNew ? PreparedItem::kNewItem : 7;
    const bool ok = conversion->convert(row, 3, rate, prepared, why);
    if (error)
        *error = ok ? QString() : why;
    else
        EXPECT_TRUE(ok) << why.toStdString();
    return prepared;
}

TEST(PriceRowConversionTest, SalePriceWithVatPairsWithTheMappedRateOrStaysWhole) {
    auto d = withColumns({{PriceListField::ProdCena, QStringLiteral("Cena")},
                          {PriceListField::SazbaDPH, QStringLiteral("DPH")}});
    d.priceList.salePriceBasis = PriceBasis::WithVat;
    const core::sources::Row row{txt(QString()), num(121), num(21), num(0)};
    const auto priced = convert(d, row, true, 0).item.price;
    EXPECT_EQ(priced.PrCenaSDPH, 121.0);
    EXPECT_DOUBLE_EQ(priced.PrCenaBDPH,
                     catalogue::convertVat(true, catalogue::VatPart::Net, 21, 121));
    EXPECT_LT(priced.PrCenaBDPH, 100.0);
    EXPECT_EQ(priced.SazbaDPH, 21.0);

    // Without a mapped rate a new item converts at 0 %, a found one at its stored rate.
    d.priceList.field(PriceListField::SazbaDPH).imported = false;
    const auto bare = convert(d, row, true, 0).item.price;
    EXPECT_EQ(bare.PrCenaSDPH, 121.0);
    EXPECT_EQ(bare.PrCenaBDPH, 121.0);
    const auto found = convert(d, row, false, 21).item.price;
    EXPECT_DOUBLE_EQ(found.PrCenaBDPH,
                     catalogue::convertVat(true, catalogue::VatPart::Net, 21, 121));
    EXPECT_EQ(found.SazbaDPH, 0.0); // not mapped: not written either

    d.priceList.salePriceBasis = PriceBasis::WithoutVat;
    const auto net = convert(d, row, false, 21).item.price;
    EXPECT_EQ(net.PrCenaBDPH, 121.0);
    EXPECT_DOUBLE_EQ(net.PrCenaSDPH,
                     catalogue::convertVat(false, catalogue::VatPart::Gross, 21, 121));
}

TEST(PriceRowConversionTest, TextsAreCutAndFixedValuesTaken) {
    auto d = withColumns({{PriceListField::Popis, QStringLiteral("nazev")}});
    FieldMapping& unit = d.priceList.field(PriceListField::TextMJ);
    unit.imported = true;
    unit.source = ValueSource::Fixed;
    unit.fixedText = QStringLiteral("kilogramů balení");
    FieldMapping& purchase = d.priceList.field(PriceListField::NakCena);
    purchase.imported = true;
    purchase.source = ValueSource::Fixed;
    purchase.fixedNumber = 12.5;
    const QString sixty = QString(60, QChar(0x0161)); // "š" sixty times
    const auto item = convert(d, {txt(sixty), num(0), num(0), num(0)}, true, 0).item;
    EXPECT_EQ(item.Popis, QString(50, QChar(0x0161)));
    EXPECT_EQ(item.TextMJ, QStringLiteral("kilogramů "));
    EXPECT_EQ(item.price.NakCena, 12.5);
}

TEST(PriceRowConversionTest, TextInANumberColumnNamesTheFieldRowAndValue) {
    auto d = withColumns({{PriceListField::NakCena, QStringLiteral("Nakup")},
                          {PriceListField::Hodnota, QStringLiteral("Cena")}});
    QString error;
    convert(d, {txt(QString()), num(1), num(0), txt(QStringLiteral("dvanáct"))}, true, 0, &error);
    EXPECT_EQ(error, QStringLiteral("!CHYBA při čtení zdroje pro \"NakCena\": zdroj. řádek č. 3 - "
                                    "hodnota \"dvanáct\" není číslo"));
    convert(d, {txt(QString()), txt(QStringLiteral("x")), num(0), num(1)}, true, 0, &error);
    EXPECT_TRUE(error.startsWith(QStringLiteral("!CHYBA při čtení zdroje pro \"Marze\" nebo "
                                                "\"Rabat\": ")));
    // Thousands with a space and a decimal comma are a number; an empty cell is 0.
    const auto item =
        convert(d, {txt(QString()), core::sources::Cell(), num(0), txt(QStringLiteral("1 234,5"))},
                true, 0)
            .item;
    EXPECT_EQ(item.price.NakCena, 1234.5);
    EXPECT_EQ(item.price.Marze, 0.0);

    QString missing;
    EXPECT_FALSE(PriceRowConversion::make(
        withColumns({{PriceListField::Popis, QStringLiteral("Jinde")}}), kColumns, missing));
    EXPECT_EQ(missing, QStringLiteral("!CHYBA při čtení zdroje pro \"Popis\": ve zdrojové tabulce "
                                      "není sloupec [Jinde]"));
}

TEST(PriceRowConversionTest, FoundItemsTakeTheSettingsUnlessTheyAreForNewOnes) {
    auto d = withColumns({{PriceListField::Hodnota, QStringLiteral("Cena")}});
    d.priceList.valueKind = MarginKind::Markup;
    d.priceList.setRecompute = true;
    d.priceList.recompute = RecomputeChoice::Yes;
    d.priceList.recomputeBy = MarginKind::Markup;
    d.priceList.setPriceGroup = true;
    d.priceList.priceGroup = QStringLiteral("VELKOOBCHOD");
    const core::sources::Row row{txt(QString()), num(15), num(0), num(0)};
    const auto found = convert(d, row, false, 0).item;
    EXPECT_EQ(found.price.Rabat, 15.0);
    EXPECT_EQ(found.price.Marze, 0.0);
    EXPECT_TRUE(found.price.Prepocitat);
    EXPECT_EQ(found.price.TypHodnoty, 1);
    EXPECT_EQ(found.CenSkupina, QStringLiteral("VELKOOBCHO"));

    const auto columnsOf = [&] {
        QString error;
        return PriceRowConversion::make(d, kColumns, error)->updatedColumns();
    };
    EXPECT_EQ(columnsOf(),
              (std::vector<ItemColumn>{ItemColumn::Rabat, ItemColumn::CenSkupina,
                                       ItemColumn::Prepocitat, ItemColumn::TypHodnoty}));
    d.priceList.onlyNewItems = true;
    EXPECT_EQ(columnsOf(), std::vector<ItemColumn>{ItemColumn::Rabat});
    const auto foundNow = convert(d, row, false, 0).item;
    EXPECT_FALSE(foundNow.price.Prepocitat);
    EXPECT_TRUE(foundNow.CenSkupina.isEmpty());
    EXPECT_TRUE(convert(d, row, true, 0).item.price.Prepocitat);
}

} // namespace
