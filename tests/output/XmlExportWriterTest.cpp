#include "core/Windows1250.h"
#include "output/ReportTables.h"
#include "output/XmlExport.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

using namespace orvento;
using namespace orvento::output;
using xml_export::Kind;
using xml_export::XmlExportWriter;

namespace {

const QDateTime kAt(QDate(2025, 1, 7), QTime(9, 5, 3));

QString decoded(const QByteArray& bytes) {
    QStringDecoder decoder("windows-1250");
    return decoder(bytes);
}

// The file's lines; each must end with CR LF.
QStringList linesOf(const QByteArray& bytes) {
    const QString text = decoded(bytes);
    EXPECT_TRUE(text.endsWith(QLatin1String("\r\n")));
    QStringList lines = text.split(QStringLiteral("\r\n"));
    lines.removeLast();
    return lines;
}

// The values the file holds for the element `name`, as an XML reader sees them.
QStringList readBack(const QByteArray& bytes, const QString& name) {
    QXmlStreamReader reader(bytes);
    QStringList values;
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == name)
            values << reader.readElementText();
    }
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    return values;
}

OfferReport offerWithItems(const QString& doklad, int items) {
    OfferReport offer{offerHeaderTable(), offerItemsTable(), identifierTable()};
    offer.header.appendRow();
    offer.header.set(0, QStringLiteral("Doklad"), doklad);
    offer.header.set(0, QStringLiteral("Popis"), QStringLiteral("A & B <x> \"uvozovky\" 'a'"));
    offer.header.set(0, QStringLiteral("DatVystaveni"), QStringLiteral("05.03.2024"));
    offer.header.set(0, QStringLiteral("DatPlatnosti"), QString());
    offer.header.set(0, QStringLiteral("Celkem"), 1210.5);
    offer.header.set(0, QStringLiteral("Logo"), QByteArray("\x89PNG"));
    offer.header.set(
        0, QStringLiteral("TextPred"),
        QStringLiteral("{\\rtf1\\ansi\\ansicpg1250 P\\'f8\\'edli\\'9a\\par druh\\'fd}"));
    offer.header.set(0, QStringLiteral("TextZa"), QStringLiteral("Jen text"));
    for (int i = 0; i < items; ++i) {
        const int r = offer.items.appendRow();
        offer.items.set(r, QStringLiteral("Popis"), QStringLiteral("Položka %1 za 5 €").arg(i));
        offer.items.set(r, QStringLiteral("Poradi"), i + 1);
        offer.items.set(r, QStringLiteral("PocetMJ"), 0.1 + 0.2);
        offer.items.set(r, QStringLiteral("Nadpisova"), i == 0);
    }
    return offer;
}

} // namespace

// The code page helper agrees with the system's codec on every byte and back.
TEST(XmlExportWriterTest, Windows1250TableMatchesTheCodePage) {
    QStringDecoder decoder("windows-1250");
    int unassigned = 0;
    for (int b = 0; b < 256; ++b) {
        const char16_t ch = core::cp1250::toUnicode(static_cast<unsigned char>(b));
        if (ch == 0 && b != 0) {
            ++unassigned;
            continue;
        }
        const QString viaCodec = decoder(QByteArray(1, static_cast<char>(b)));
        EXPECT_EQ(viaCodec, QString(QChar(ch))) << b;
        EXPECT_EQ(core::cp1250::fromUnicode(ch), b);
    }
    EXPECT_EQ(unassigned, 5);
    EXPECT_EQ(core::cp1250::fromUnicode(u'€'), 0x80);
    EXPECT_EQ(core::cp1250::fromUnicode(u'→'), -1);
}

// The whole offer file line by line: declaration, root with date and time, the header's values
// without the picture, the items, no identifier list when it is empty, the closing lines.
TEST(XmlExportWriterTest, OfferFileLineByLine) {
    XmlExportWriter writer(Kind::Offers, kAt);
    writer.addOffer(offerWithItems(QStringLiteral("NB1"), 2));
    const QByteArray bytes = writer.finish();
    const QStringList lines = linesOf(bytes);
    const int headerColumns = static_cast<int>(offerHeaderTable().columns().size()) - 1; // Logo
    const int itemColumns = static_cast<int>(offerItemsTable().columns().size());
    // One line more for the line break inside TextPred.
    ASSERT_EQ(lines.size(), 3 + 1 + headerColumns + 1 + 1 + 2 * (itemColumns + 2) + 1 + 1 + 2);
    EXPECT_EQ(lines[0], QStringLiteral("<?xml version=\"1.0\" encoding=\"windows-1250\"?>"));
    EXPECT_EQ(lines[1], QStringLiteral("<OVData description=\"Nabídky\" ExportDate=\"2025-01-07\" "
                                       "ExportTime=\"09:05:03\">"));
    EXPECT_EQ(lines[2], QStringLiteral("  <SeznamNabidek>"));
    EXPECT_EQ(lines[3], QStringLiteral("    <Nabidka>"));
    EXPECT_EQ(lines[4], QStringLiteral("      <Doklad>NB1</Doklad>"));
    EXPECT_EQ(lines[5],
              QStringLiteral("      <Popis>A &amp; B &lt;x&gt; \"uvozovky\" 'a'</Popis>"));
    EXPECT_TRUE(lines.contains(QStringLiteral("      <DatVystaveni>2024-03-05</DatVystaveni>")));
    EXPECT_TRUE(lines.contains(QStringLiteral("      <DatPlatnosti></DatPlatnosti>")));
    EXPECT_TRUE(lines.contains(QStringLiteral("      <Celkem>1210.5</Celkem>")));
    EXPECT_TRUE(lines.contains(QStringLiteral("      <TextZa>Jen text</TextZa>")));
    EXPECT_FALSE(decoded(bytes).contains(QLatin1String("<Logo>")));
    const int list = static_cast<int>(lines.indexOf(QStringLiteral("      <SeznamPolozek>")));
    ASSERT_EQ(list, 4 + headerColumns + 1);
    EXPECT_EQ(lines[list + 1], QStringLiteral("        <Polozka>"));
    EXPECT_EQ(lines[list + 2], QStringLiteral("          <Popis>Položka 0 za 5 €</Popis>"));
    EXPECT_EQ(lines[list + 3], QStringLiteral("          <Poradi>1</Poradi>"));
    EXPECT_TRUE(lines.contains(QStringLiteral("          <PocetMJ>0.3</PocetMJ>")));
    EXPECT_TRUE(lines.contains(QStringLiteral("          <Nadpisova>True</Nadpisova>")));
    EXPECT_TRUE(lines.contains(QStringLiteral("          <Nadpisova>False</Nadpisova>")));
    EXPECT_TRUE(lines.contains(QStringLiteral("          <Katalog></Katalog>")));
    EXPECT_FALSE(decoded(bytes).contains(QLatin1String("RozpisIdentif")));
    EXPECT_EQ(lines[lines.size() - 4], QStringLiteral("      </SeznamPolozek>"));
    EXPECT_EQ(lines[lines.size() - 3], QStringLiteral("    </Nabidka>"));
    EXPECT_EQ(lines[lines.size() - 2], QStringLiteral("  </SeznamNabidek>"));
    EXPECT_EQ(lines.last(), QStringLiteral("</OVData>"));

    // Czech letters and the euro sign are single Windows-1250 bytes.
    EXPECT_TRUE(bytes.contains("Polo\x9E"
                               "ka"));
    EXPECT_TRUE(bytes.contains("5 \x80"));
    // The rich text arrives as its plain text, its line break kept; a reader gets the values.
    EXPECT_EQ(readBack(bytes, QStringLiteral("TextPred")),
              QStringList{QStringLiteral("Příliš\ndruhý")});
    EXPECT_EQ(readBack(bytes, QStringLiteral("Popis")).first(),
              QStringLiteral("A & B <x> \"uvozovky\" 'a'"));
}

// An offer without items has no item list; one with identifier rows gets its breakdown.
TEST(XmlExportWriterTest, ListsOnlyWhenTheyHaveRows) {
    OfferReport bare = offerWithItems(QStringLiteral("NB2"), 0);
    OfferReport withIds = offerWithItems(QStringLiteral("NB3"), 0);
    const int r = withIds.identifiers.appendRow();
    withIds.identifiers.set(r, QStringLiteral("ZkrIdent"), QStringLiteral("EL"));
    withIds.identifiers.set(r, QStringLiteral("Nepouzivat"), false);
    XmlExportWriter writer(Kind::Offers, kAt);
    writer.addOffer(bare);
    writer.addOffer(withIds);
    const QByteArray bytes = writer.finish();
    const QStringList lines = linesOf(bytes);
    EXPECT_FALSE(lines.contains(QStringLiteral("      <SeznamPolozek>")));
    const int at = static_cast<int>(lines.indexOf(QStringLiteral("      <RozpisIdentif>")));
    ASSERT_GT(at, 0);
    EXPECT_EQ(lines[at + 1], QStringLiteral("        <Identifikator>"));
    EXPECT_EQ(lines[at + 2], QStringLiteral("          <ZkrIdent>EL</ZkrIdent>"));
    EXPECT_EQ(lines[at + 8], QStringLiteral("          <Nepouzivat>False</Nepouzivat>"));
    EXPECT_EQ(lines[at + 9], QStringLiteral("        </Identifikator>"));
    EXPECT_EQ(lines[at + 10], QStringLiteral("      </RozpisIdentif>"));
    EXPECT_EQ(readBack(bytes, QStringLiteral("Doklad")),
              (QStringList{QStringLiteral("NB2"), QStringLiteral("NB3")}));
}

// The address file: its root, list, one block per firm with the columns in their order, and
// texts the code page cannot hold or XML forbids.
TEST(XmlExportWriterTest, AddressFileAndCharactersOutsideTheCodePage) {
    ReportTable firms = addressListTable();
    const int r = firms.appendRow();
    firms.set(r, QStringLiteral("Nazev"), QStringLiteral("Šťastný → 😀 & <syn>"));
    firms.set(r, QStringLiteral("Poznamka"), QStringLiteral("první\nřádek\r\ndruhý\x01konec"));
    firms.set(r, QStringLiteral("ID"), 17);
    XmlExportWriter writer(Kind::Addresses, kAt);
    writer.addAddresses(firms);
    const QByteArray bytes = writer.finish();
    const QString text = decoded(bytes);
    const QStringList lines = linesOf(bytes);
    EXPECT_EQ(lines[1], QStringLiteral("<OVData description=\"Adresář\" ExportDate=\"2025-01-07\" "
                                       "ExportTime=\"09:05:03\">"));
    EXPECT_TRUE(bytes.contains("Adres\xE1\xF8")); // single-byte letters
    EXPECT_EQ(lines[2], QStringLiteral("  <SeznamAdres>"));
    EXPECT_EQ(lines[3], QStringLiteral("    <Adresa>"));
    EXPECT_EQ(lines[4],
              QStringLiteral("      <Nazev>Šťastný &#8594; &#128512; &amp; &lt;syn&gt;</Nazev>"));
    EXPECT_EQ(lines[5], QStringLiteral("      <Ulice></Ulice>"));
    QStringList names;
    const ReportTable table = addressListTable();
    for (const ReportColumn& c : table.columns())
        names << c.name;
    EXPECT_EQ(names.last(), QStringLiteral("ID"));
    EXPECT_TRUE(text.contains(QStringLiteral("      <ID>17</ID>\r\n    </Adresa>\r\n  "
                                             "</SeznamAdres>\r\n</OVData>\r\n")));
    // The memo's line breaks as the file's own, the forbidden control character a blank.
    EXPECT_TRUE(
        text.contains(QStringLiteral("<Poznamka>první\r\nřádek\r\ndruhý konec</Poznamka>")));
    EXPECT_EQ(readBack(bytes, QStringLiteral("Nazev")),
              QStringList{QStringLiteral("Šťastný → 😀 & <syn>")});
    EXPECT_EQ(readBack(bytes, QStringLiteral("Poznamka")),
              QStringList{QStringLiteral("první\nřádek\ndruhý konec")});
}

// Values by their types; header dates only from the fixed form, never through the locale.
TEST(XmlExportWriterTest, ValueForms) {
    using xml_export::formatValue;
    EXPECT_EQ(formatValue(QVariant(), ColumnType::Boolean), QString());
    EXPECT_EQ(formatValue(QVariant(), ColumnType::Integer), QString());
    EXPECT_EQ(formatValue(1e-7, ColumnType::Double), QStringLiteral("1E-7"));
    EXPECT_EQ(formatValue(123456.125, ColumnType::Double), QStringLiteral("123456.125"));
    EXPECT_EQ(formatValue(QDate(2024, 12, 31), ColumnType::Date), QStringLiteral("2024-12-31"));
    EXPECT_EQ(xml_export::headerDate(QStringLiteral("31.12.2024")), QStringLiteral("2024-12-31"));
    EXPECT_EQ(xml_export::headerDate(QStringLiteral("12/31/2024")), QString());
    EXPECT_EQ(xml_export::headerDate(QString()), QString());
}
