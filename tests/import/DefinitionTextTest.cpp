#include "import/ImportDefinition.h"

#include <QLocale>

#include <gtest/gtest.h>

using namespace orvento;
using import::DefinitionKind;
using import::ImportDefinition;
using import::PriceListField;
using import::ValueSource;

namespace {

// The default locale of a test, put back afterwards.
class LocaleScope {
public:
    explicit LocaleScope(const QLocale& locale) { QLocale::setDefault(locale); }
    ~LocaleScope() { QLocale::setDefault(m_saved); }
    LocaleScope(const LocaleScope&) = delete;
    LocaleScope& operator=(const LocaleScope&) = delete;

private:
    QLocale m_saved;
};

QString lines(std::initializer_list<const char*> keys) {
    QStringList out;
    for (const char* key : keys)
        out << QString::fromUtf8(key);
    return out.join(QStringLiteral("\r\n"));
}

ImportDefinition fullPriceList() {
    ImportDefinition d = import::newDefinition(DefinitionKind::PriceList);
    d.sourceKind = core::sources::SourceKind::Xls;
    d.fileName = QStringLiteral("/data/dodavatel/ceník 2026.xlsx");
    d.tableName = QStringLiteral("List1");
    d.compare = true;
    d.refField = QStringLiteral("KATALOG");
    d.refColumn = QStringLiteral("Kat=č.");
    d.createMissing = false;
    auto& p = d.priceList;
    p.newItemsSheet = 5;
    p.newItemsGroup = 9;
    p.filterOn = true;
    p.filterSheet = 6;
    p.filterGroupOn = true;
    p.filterGroup = 11;
    p.field(PriceListField::Popis) = {true, ValueSource::Column, QStringLiteral("Název"), {}, 0};
    p.field(PriceListField::Katalog) = {true, ValueSource::Column, QStringLiteral("Kat=č."), {}, 0};
    p.field(PriceListField::TextMJ) = {true, ValueSource::Fixed, {}, QStringLiteral("ks"), 0};
    p.field(PriceListField::SazbaDPH) = {true, ValueSource::Fixed, {}, {}, 21};
    p.field(PriceListField::NakCena) = {true, ValueSource::Column, QStringLiteral("Cena"), {}, 0};
    p.field(PriceListField::Hodnota) = {true, ValueSource::Fixed, {}, {}, 12.5};
    p.field(PriceListField::ProdCena) = {true, ValueSource::Fixed, {}, {}, 1234.75};
    p.valueKind = import::MarginKind::Markup;
    p.salePriceBasis = import::PriceBasis::WithVat;
    p.onlyNewItems = true;
    p.setPriceGroup = true;
    p.priceGroup = QStringLiteral("VO");
    p.setIdentifiers = true;
    p.identifiers = QStringLiteral("_A_B_");
    p.setRounding = true;
    p.rounding = 2;
    p.setPriceType = true;
    p.priceType = import::PriceBasis::WithVat;
    p.setRecompute = true;
    p.recompute = import::RecomputeChoice::No;
    p.recomputeBy = import::MarginKind::Markup;
    return d;
}

void expectSamePriceList(const ImportDefinition& a, const ImportDefinition& b) {
    EXPECT_EQ(a.sourceKind, b.sourceKind);
    EXPECT_EQ(a.fileName, b.fileName);
    EXPECT_EQ(a.tableName, b.tableName);
    EXPECT_EQ(a.compare, b.compare);
    EXPECT_EQ(a.refField, b.refField);
    EXPECT_EQ(a.refColumn, b.refColumn);
    EXPECT_EQ(a.createMissing, b.createMissing);
    const auto& p = a.priceList;
    const auto& q = b.priceList;
    for (std::size_t i = 0; i < import::kPriceListFieldCount; ++i) {
        EXPECT_EQ(p.fields[i].imported, q.fields[i].imported) << i;
        EXPECT_EQ(p.fields[i].source, q.fields[i].source) << i;
        EXPECT_EQ(p.fields[i].column, q.fields[i].column) << i;
        EXPECT_EQ(p.fields[i].fixedText, q.fields[i].fixedText) << i;
        EXPECT_DOUBLE_EQ(p.fields[i].fixedNumber, q.fields[i].fixedNumber) << i;
    }
    EXPECT_EQ(p.valueKind, q.valueKind);
    EXPECT_EQ(p.salePriceBasis, q.salePriceBasis);
    EXPECT_EQ(p.newItemsSheet, q.newItemsSheet);
    EXPECT_EQ(p.newItemsGroup, q.newItemsGroup);
    EXPECT_EQ(p.filterOn, q.filterOn);
    EXPECT_EQ(p.filterSheet, q.filterSheet);
    EXPECT_EQ(p.filterGroupOn, q.filterGroupOn);
    EXPECT_EQ(p.filterGroup, q.filterGroup);
    EXPECT_EQ(p.onlyNewItems, q.onlyNewItems);
    EXPECT_EQ(p.setPriceGroup, q.setPriceGroup);
    EXPECT_EQ(p.priceGroup, q.priceGroup);
    EXPECT_EQ(p.setIdentifiers, q.setIdentifiers);
    EXPECT_EQ(p.identifiers, q.identifiers);
    EXPECT_EQ(p.setRounding, q.setRounding);
    EXPECT_EQ(p.rounding, q.rounding);
    EXPECT_EQ(p.setPriceType, q.setPriceType);
    EXPECT_EQ(p.priceType, q.priceType);
    EXPECT_EQ(p.setRecompute, q.setRecompute);
    EXPECT_EQ(p.recompute, q.recompute);
    EXPECT_EQ(p.recomputeBy, q.recomputeBy);
}

TEST(DefinitionText, NewPriceListDefinitionIsWrittenWithEveryDefault) {
    const QString expected =
        lines({"DBSource=MDB",        "DBFileName=",       "DBTableName=",
               "Porovnavat=0",        "RefField=",         "RefDBField=",
               "CheckNovaPolozka=-1", "IDListu=0",         "IDSkup=0",
               "CheckHledatPouzeV=0", "IDListuHLedatV=0",  "CheckHledatVeSkup=0",
               "IDSkupHledatV=0",     "CheckPopis=0",      "SourcePopis=0",
               "ValuePopis=",         "CheckKatalog=0",    "SourceKatalog=0",
               "ValueKatalog=",       "CheckBarCode=0",    "SourceBarCode=0",
               "ValueBarCode=",       "CheckPLU=0",        "SourcePLU=0",
               "ValuePLU=",           "CheckPoznamka=0",   "SourcePoznamka=0",
               "ValuePoznamka=",      "CheckZkratka=0",    "SourceZkratka=0",
               "ValueZkratka=",       "CheckTextMJ=0",     "SourceTextMJ=0",
               "ValueTextMJ=",        "CheckSazbaDPH=0",   "SourceSazbaDPH=0",
               "ValueSazbaDPH=",      "CheckObrazek=0",    "SourceObrazek=0",
               "ValueObrazek=",       "CheckNakCena=0",    "SourceNakCena=0",
               "ValueNakCena=",       "CheckHodnota=0",    "TypHodnota=0",
               "SourceHodnota=0",     "ValueHodnota=",     "CheckProdCena=0",
               "ProdCenaTypCeny=0",   "SourceProdCena=0",  "ValueProdCena=",
               "CheckNastavNaNove=0", "CheckCenSkup=0",    "CenSkupina=",
               "CheckIdentif=0",      "Identif=",          "CheckZaokrouhleni=0",
               "ValueZaokrouhleni=0", "CheckTypCeny=0",    "ValueTypCeny=0",
               "CheckPrepocitat=0",   "ValuePrepocitat=0", "ValuePrepocPodle=0"});
    EXPECT_EQ(import::writeDefinitionText(import::newDefinition(DefinitionKind::PriceList)),
              expected);
}

// Under a Czech and an English locale alike: the fixed numbers carry a decimal comma and no
// thousands separator, and everything read back is what was written.
TEST(DefinitionText, FullDefinitionsRoundTripUnderAnyLocale) {
    for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::Czech, QLocale::CzechRepublic)}) {
        const LocaleScope scope(locale);
        const ImportDefinition written = fullPriceList();
        const QString text = import::writeDefinitionText(written);
        EXPECT_TRUE(text.contains(QStringLiteral("\r\nValueProdCena=1234,75\r\n")))
            << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("\r\nValueHodnota=12,5\r\n")));
        EXPECT_TRUE(text.contains(QStringLiteral("\r\nRefDBField=Kat=č.\r\n")));
        EXPECT_TRUE(text.contains(QStringLiteral("\r\nCheckNovaPolozka=0\r\n")));
        EXPECT_TRUE(text.contains(QStringLiteral("\r\nPorovnavat=-1\r\n")));
        EXPECT_FALSE(text.contains(QLatin1Char('[')));
        ImportDefinition read = import::newDefinition(DefinitionKind::PriceList);
        QString error;
        ASSERT_TRUE(import::readDefinitionText(read, text, error)) << error.toStdString();
        expectSamePriceList(read, written);

        ImportDefinition firms = import::newDefinition(DefinitionKind::AddressBook);
        firms.sourceKind = core::sources::SourceKind::Csv;
        firms.fileName = QStringLiteral("/tmp/firmy.csv");
        firms.tableName = QStringLiteral("firmy#csv");
        firms.compare = true;
        firms.refField = QStringLiteral("ICO");
        firms.refColumn = QStringLiteral("ic");
        firms.addressBook.field(import::AddressField::ICOAdr) = {
            true, ValueSource::Column, QStringLiteral("ic"), {}, 0};
        firms.addressBook.field(import::AddressField::StatAdr) = {
            true, ValueSource::Fixed, {}, QStringLiteral("Česká republika"), 0};
        firms.addressBook.onlyNewItems = true;
        firms.addressBook.setPriceLevel = true;
        firms.addressBook.priceLevel = QStringLiteral("MO");
        const QString firmText = import::writeDefinitionText(firms);
        EXPECT_TRUE(firmText.endsWith(
            QStringLiteral("\r\nCheckNastavNaNoveAdr=-1\r\nCheckCenHladAdr=-1\r\nCenHladAdr=MO")));
        EXPECT_FALSE(firmText.contains(QStringLiteral("IDListu")));
        ImportDefinition firmsRead = import::newDefinition(DefinitionKind::AddressBook);
        ASSERT_TRUE(import::readDefinitionText(firmsRead, firmText, error));
        EXPECT_EQ(firmsRead.sourceKind, core::sources::SourceKind::Csv);
        EXPECT_EQ(firmsRead.tableName, QStringLiteral("firmy#csv"));
        EXPECT_EQ(firmsRead.refField, QStringLiteral("ICO"));
        const auto& country = firmsRead.addressBook.field(import::AddressField::StatAdr);
        EXPECT_TRUE(country.imported);
        EXPECT_EQ(country.source, ValueSource::Fixed);
        EXPECT_EQ(country.fixedText, QStringLiteral("Česká republika"));
        EXPECT_EQ(firmsRead.addressBook.field(import::AddressField::ICOAdr).column,
                  QStringLiteral("ic"));
        EXPECT_TRUE(firmsRead.addressBook.onlyNewItems);
        EXPECT_EQ(firmsRead.addressBook.priceLevel, QStringLiteral("MO"));
    }
}

TEST(DefinitionText, UnreadableValuesFallBackAndMissingKeysReadEmpty) {
    const QString text = lines({"dbsource=xls",
                                "DBSource=dbf",
                                "DBFileName=C:\\a=b.dbf",
                                "Porovnavat=True",
                                "CheckNovaPolozka=nic",
                                "IDListu=x7",
                                "IDSkup=12",
                                "CheckPopis=5",
                                "SourcePopis=1",
                                "ValuePopis=pevný=text",
                                "CheckKatalog=FALSE",
                                "CheckSazbaDPH=-1",
                                "SourceSazbaDPH=1",
                                "ValueSazbaDPH=21.5",
                                "CheckNakCena=-1",
                                "SourceNakCena=1",
                                "ValueNakCena=",
                                "ValueZaokrouhleni=7",
                                "TypHodnota=abc",
                                "ProdCenaTypCeny=1"});
    ImportDefinition d = import::newDefinition(DefinitionKind::PriceList);
    QString error;
    ASSERT_TRUE(import::readDefinitionText(d, text, error)) << error.toStdString();
    EXPECT_EQ(d.sourceKind, core::sources::SourceKind::Dbf) << "a key is found by its own name";
    EXPECT_EQ(d.fileName, QStringLiteral("C:\\a=b.dbf"));
    EXPECT_TRUE(d.compare);
    EXPECT_FALSE(d.createMissing);
    EXPECT_EQ(d.priceList.newItemsSheet, 0);
    EXPECT_EQ(d.priceList.newItemsGroup, 12);
    const auto& popis = d.priceList.field(PriceListField::Popis);
    EXPECT_TRUE(popis.imported);
    EXPECT_EQ(popis.source, ValueSource::Fixed);
    EXPECT_EQ(popis.fixedText, QStringLiteral("pevný=text"));
    EXPECT_FALSE(d.priceList.field(PriceListField::Katalog).imported);
    EXPECT_DOUBLE_EQ(d.priceList.field(PriceListField::SazbaDPH).fixedNumber, 21.5);
    EXPECT_DOUBLE_EQ(d.priceList.field(PriceListField::NakCena).fixedNumber, 0.0);
    EXPECT_EQ(d.priceList.rounding, 0);
    EXPECT_EQ(d.priceList.valueKind, import::MarginKind::Margin);
    EXPECT_EQ(d.priceList.salePriceBasis, import::PriceBasis::WithVat);
    EXPECT_TRUE(d.refField.isEmpty());

    // An unknown source kind keeps the one there was.
    ImportDefinition unknown = import::newDefinition(DefinitionKind::PriceList);
    ASSERT_TRUE(import::readDefinitionText(unknown, QStringLiteral("DBSource=ODBC"), error));
    EXPECT_EQ(unknown.sourceKind, core::sources::SourceKind::Mdb);
}

TEST(DefinitionText, ABadFixedNumberFailsTheWholeReading) {
    ImportDefinition d = fullPriceList();
    d.name = QStringLiteral("Dodavatel");
    const QString text =
        lines({"DBSource=CSV", "CheckNakCena=-1", "SourceNakCena=1", "ValueNakCena=12,5 Kč"});
    QString error;
    EXPECT_FALSE(import::readDefinitionText(d, text, error));
    EXPECT_TRUE(error.contains(QStringLiteral("12,5 Kč"))) << error.toStdString();
    EXPECT_EQ(d.sourceKind, core::sources::SourceKind::Xls) << "nothing taken from a failed text";
    EXPECT_EQ(d.name, QStringLiteral("Dodavatel"));
    // A column named like a number is no fixed number.
    EXPECT_TRUE(
        import::readDefinitionText(d, lines({"SourceNakCena=0", "ValueNakCena=12,5 Kč"}), error));
    EXPECT_EQ(d.priceList.field(PriceListField::NakCena).column, QStringLiteral("12,5 Kč"));
}

TEST(DefinitionText, OtherKindsKeepTheirTextAsItIs) {
    ImportDefinition money = import::newDefinition(DefinitionKind::Money);
    const QString raw = QStringLiteral("DataPath=C:\\Money\r\nImportPC=1\r\n[neco]");
    QString error;
    ASSERT_TRUE(import::readDefinitionText(money, raw, error));
    EXPECT_EQ(money.rawText, raw);
    EXPECT_EQ(import::writeDefinitionText(money), raw);
    EXPECT_TRUE(import::isNumberField(PriceListField::ProdCena));
    EXPECT_TRUE(import::isNumberField(PriceListField::SazbaDPH));
    EXPECT_FALSE(import::isNumberField(PriceListField::PLU));
}

} // namespace
