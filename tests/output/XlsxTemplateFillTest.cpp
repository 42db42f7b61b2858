#include "output/XlsxTemplateFill.h"
#include "core/sources/Readers.h"
#include "core/sources/ZipArchive.h"
#include "output/PriceListTables.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace orvento;
using core::sources::Cell;

namespace {

QString builtInFolder() {
    return QStringLiteral(ORVENTO_PROGRAM_DIR "/Res/FRMRES/");
}

// Two sheets; the first with two groups, the second with one; three items, one with a note.
output::PriceListTables sampleTables(bool withGroups) {
    output::PriceListTables t;
    t.withGroups = withGroups;
    int r = t.header.appendRow();
    t.header.set(r, QStringLiteral("NadpisCen"), QStringLiteral("Ceník <jaro> & \"léto\""));
    t.header.set(r, QStringLiteral("DodNazev"), QStringLiteral("Dodavatel s.r.o."));
    t.header.set(r, QStringLiteral("Nadpis1"), QStringLiteral("Velkoobchod"));
    for (const auto& [id, name] : {std::pair{1, "Nářadí"}, std::pair{2, "Barvy"}}) {
        r = t.sheets.appendRow();
        t.sheets.set(r, QStringLiteral("ID"), id);
        t.sheets.set(r, QStringLiteral("Nazev"), QString::fromUtf8(name));
    }
    for (const auto& [id, sheet, name] : {std::tuple{10, 1, "Vrtačky"}, std::tuple{11, 1, "Brusky"},
                                          std::tuple{20, 2, "Interiér"}}) {
        r = t.groups.appendRow();
        t.groups.set(r, QStringLiteral("ID"), id);
        t.groups.set(r, QStringLiteral("Sklad"), sheet);
        t.groups.set(r, QStringLiteral("Nazev"), QString::fromUtf8(name));
    }
    struct Item {
        int sheet, group;
        const char* name;
        double net;
        const char* note;
    };
    for (const Item& i : {Item{1, 10, "Vrtačka", 1234.5, "Příklep\na kufr"},
                          Item{1, 11, "Bruska", 200, ""}, Item{2, 20, "Barva", 80, ""}}) {
        r = t.items.appendRow();
        t.items.set(r, QStringLiteral("Sklad"), i.sheet);
        t.items.set(r, QStringLiteral("Skupina"), i.group);
        t.items.set(r, QStringLiteral("Popis"), QString::fromUtf8(i.name));
        t.items.set(r, QStringLiteral("PrCenaBDPH"), i.net);
        t.items.set(r, QStringLiteral("PrCenaSDPH"), i.net * 1.21);
        t.items.set(r, QStringLiteral("Cena1"), i.net * 0.9);
        t.items.set(r, QStringLiteral("Poznamka"), QString::fromUtf8(i.note));
    }
    return t;
}

QByteArray entry(const QString& file, const QString& name) {
    QString error;
    auto zip = core::sources::ZipArchive::open(file, error);
    if (!zip || !zip->contains(name))
        return {};
    return zip->read(name, error).value_or(QByteArray());
}

std::vector<core::sources::Row> grid(const QString& file) {
    QString error;
    auto source = core::sources::openWorkbook(file, error);
    EXPECT_TRUE(source) << qPrintable(error);
    if (!source)
        return {};
    auto rows = source->rawGrid(source->activeTable(), error);
    EXPECT_TRUE(rows) << qPrintable(error);
    return rows.value_or(std::vector<core::sources::Row>{});
}

// The styles a sheet's cells use, by their s attribute: filling keeps them by reference.
QStringList stylesUsed(const QByteArray& sheet) {
    static const QRegularExpression style(QStringLiteral("<c [^>]*s=\"(\\d+)\""));
    QStringList styles;
    auto it = style.globalMatch(QString::fromUtf8(sheet));
    while (it.hasNext()) {
        const QString s = it.next().captured(1);
        if (!styles.contains(s))
            styles << s;
    }
    styles.sort();
    return styles;
}

class XlsxTemplateFillTest : public ::testing::TestWithParam<const char*> {};

// Every built-in template: the header, the sheets and groups as headings, the items with their
// amounts as numbers, the note row only under the item that has one, no placeholder left, the
// template's styles kept and the calculation chain gone.
TEST_P(XlsxTemplateFillTest, BuiltInTemplateReadsBack) {
    const QString name = QString::fromLatin1(GetParam());
    const QString templ = builtInFolder() + name + QStringLiteral(".xlsx");
    ASSERT_TRUE(QFile::exists(templ)) << qPrintable(templ);
    const bool groups = name.contains(QLatin1String("SK"));
    const bool notes = name.endsWith(QLatin1Char('P')) || name.endsWith(QLatin1String("P2"));
    const bool dealer = name.startsWith(QLatin1String("_CEND"));
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("cenik.xlsx"));
    ASSERT_EQ(output::fillXlsxTemplate(templ, out, sampleTables(groups)), QString());

    const QByteArray sheet = entry(out, QStringLiteral("xl/worksheets/sheet1.xml"));
    ASSERT_FALSE(sheet.isEmpty());
    EXPECT_FALSE(sheet.contains("{{"));
    EXPECT_EQ(stylesUsed(sheet),
              stylesUsed(entry(templ, QStringLiteral("xl/worksheets/sheet1.xml"))));
    EXPECT_EQ(entry(out, QStringLiteral("xl/styles.xml")),
              entry(templ, QStringLiteral("xl/styles.xml")));
    EXPECT_TRUE(entry(out, QStringLiteral("xl/calcChain.xml")).isEmpty());

    const auto rows = grid(out);
    QStringList firstColumn;
    for (const auto& row : rows)
        firstColumn << (row.empty() ? QString() : row.front().toText());
    EXPECT_EQ(firstColumn.value(0), QStringLiteral("Ceník <jaro> & \"léto\""));
    EXPECT_TRUE(firstColumn.value(1).startsWith(QStringLiteral("Dodavatel s.r.o.")));
    const qsizetype drill = firstColumn.indexOf(QStringLiteral("Vrtačka"));
    ASSERT_GE(drill, 0);
    EXPECT_LT(firstColumn.indexOf(QStringLiteral("Nářadí")), drill);
    EXPECT_LT(drill, firstColumn.indexOf(QStringLiteral("Bruska")));
    EXPECT_LT(firstColumn.indexOf(QStringLiteral("Bruska")),
              firstColumn.indexOf(QStringLiteral("Barvy")));
    EXPECT_EQ(firstColumn.contains(QStringLiteral("Vrtačky")), groups);
    EXPECT_EQ(firstColumn.contains(QStringLiteral("Interiér")), groups);
    // The note: its own row under the item, and none for the items without.
    const auto at = static_cast<size_t>(drill);
    if (notes) {
        EXPECT_EQ(firstColumn.value(drill + 1), QStringLiteral("Příklep\na kufr"));
        EXPECT_EQ(firstColumn.value(firstColumn.indexOf(QStringLiteral("Bruska")) + 1),
                  QStringLiteral("Barvy"))
            << "no empty note row under an item without a note";
    }
    // The amounts are numbers: the prices, or the first dealer column.
    std::vector<double> numbers;
    for (const Cell& c : rows[at])
        if (c.kind() == Cell::Kind::Number)
            numbers.push_back(*c.toNumber());
    ASSERT_FALSE(numbers.empty());
    EXPECT_NEAR(numbers.front(), dealer ? 1111.05 : 1234.5, 1e-9);
    if (dealer) {
        EXPECT_NE(sheet.indexOf("Velkoobchod"), -1) << "the column's heading from the header";
    }
}

INSTANTIATE_TEST_SUITE_P(BuiltIn, XlsxTemplateFillTest,
                         ::testing::Values("_CENSK", "_CENSKP", "_CENSKP2", "_CEND4SK", "_CEND4SKP",
                                           "_CEND6SK", "_CEND6SKP", "_CEN", "_CENP", "_CENP2",
                                           "_CEND4", "_CEND4P", "_CEND6", "_CEND6P"));

// A template the user formatted: merges repeat with their rows, the dimension covers the rows
// written, a cell with a formula stays, and a file that is no workbook gives its error.
TEST(XlsxTemplateFillEdgeTest, MergesDimensionAndNoWorkbook) {
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("a.xlsx"));
    const QString templ = builtInFolder() + QStringLiteral("_CENSK.xlsx");
    ASSERT_EQ(output::fillXlsxTemplate(templ, out, sampleTables(true)), QString());
    const QString sheet = QString::fromUtf8(entry(out, QStringLiteral("xl/worksheets/sheet1.xml")));
    // Title, two sheet headings and three group headings are merged across the row.
    EXPECT_EQ(sheet.count(QStringLiteral("<mergeCell ")), 6);
    EXPECT_TRUE(sheet.contains(QStringLiteral("<mergeCells count=\"6\">")));
    const auto rows = grid(out);
    EXPECT_TRUE(sheet.contains(QStringLiteral("<dimension ref=\"A1:E%1\"").arg(rows.size())))
        << qPrintable(sheet.left(400));

    const QString bogus = dir.filePath(QStringLiteral("bogus.xlsx"));
    QFile f(bogus);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a workbook");
    f.close();
    EXPECT_FALSE(
        output::fillXlsxTemplate(bogus, dir.filePath(QStringLiteral("b.xlsx")), sampleTables(true))
            .isEmpty());
}

} // namespace
