#include "core/sources/SheetCell.h"

#include <gtest/gtest.h>

using namespace orvento::core::sources;
namespace sheetcell = orvento::core::sources::sheetcell;

TEST(WorkbookCell, NamesPlacesUpToTheSheetsEdgesOnly) {
    const struct {
        const char* name;
        int row;
        int column;
    } good[] = {{"A1", 0, 0},   {"Z9", 8, 25},   {"AA10", 9, 26},  {"$B$2", 1, 1},
                {"ab3", 2, 27}, {"ZZ1", 0, 701}, {"AAA1", 0, 702}, {"XFD1048576", 1048575, 16383}};
    for (const auto& [name, row, column] : good) {
        const auto position = sheetcell::parsePosition(QString::fromLatin1(name));
        ASSERT_TRUE(position) << name;
        EXPECT_EQ(position->row, row) << name;
        EXPECT_EQ(position->column, column) << name;
        EXPECT_EQ(sheetcell::positionName(*position),
                  QString::fromLatin1(name).remove(QLatin1Char('$')).toUpper());
    }
    for (const char* name : {"", "A", "1", "A0", "XFE1", "A1048577", "AAAA1", "1A", "A1B", "A-1",
                             "A 1", "A99999999999"})
        EXPECT_FALSE(sheetcell::parsePosition(QString::fromLatin1(name))) << name;
}

TEST(WorkbookCell, TurnsStoredValuesIntoCellsAsTheWriterMeantThem) {
    EXPECT_EQ(sheetcell::xlsxValue(u"", QStringLiteral("1.5E-3"))->toNumber(), 0.0015);
    EXPECT_EQ(sheetcell::xlsxValue(u"n", QStringLiteral("8594001234567"))->toText(),
              QStringLiteral("8594001234567"));
    EXPECT_EQ(sheetcell::xlsxValue(u"b", QStringLiteral("0"))->toNumber(), 0);
    EXPECT_TRUE(sheetcell::xlsxValue(u"e", QStringLiteral("#N/A"))->isEmpty());
    EXPECT_TRUE(sheetcell::xlsxValue(u"n", QString())->isEmpty());
    // A stored number is never written with a comma; a text cell keeps one as text.
    EXPECT_FALSE(sheetcell::xlsxValue(u"n", QStringLiteral("1,5")));
    EXPECT_EQ(sheetcell::xlsxValue(u"str", QStringLiteral("1,5"))->kind(), Cell::Kind::Text);
    EXPECT_FALSE(sheetcell::xlsxValue(u"x", QStringLiteral("1")));

    sheetcell::OdsAttributes time;
    time.valueType = QStringLiteral("time");
    time.timeValue = QStringLiteral("PT08H05M30S");
    EXPECT_EQ(sheetcell::odsValue(time, QStringLiteral("8:05"))->toText(),
              QStringLiteral("08:05:30"));
    sheetcell::OdsAttributes date;
    date.valueType = QStringLiteral("date");
    date.dateValue = QStringLiteral("2024-01-31T10:00:00");
    EXPECT_EQ(sheetcell::odsValue(date, QStringLiteral("31.1."))->toText(),
              QStringLiteral("2024-01-31 10:00:00"));
    sheetcell::OdsAttributes truth;
    truth.valueType = QStringLiteral("boolean");
    truth.booleanValue = QStringLiteral("true");
    EXPECT_EQ(sheetcell::odsValue(truth, QStringLiteral("PRAVDA"))->toNumber(), 1);
    // The shown text of a number cell is its format, not its value.
    sheetcell::OdsAttributes money;
    money.valueType = QStringLiteral("currency");
    money.value = QStringLiteral("1234.5");
    EXPECT_EQ(sheetcell::odsValue(money, QStringLiteral("1 234,50 Kč"))->toNumber(), 1234.5);
    EXPECT_TRUE(sheetcell::odsValue({}, QString())->isEmpty());
    sheetcell::OdsAttributes attributeText;
    attributeText.valueType = QStringLiteral("string");
    attributeText.stringValue = QStringLiteral("Kč");
    EXPECT_EQ(sheetcell::odsValue(attributeText, QString())->toText(), QStringLiteral("Kč"));

    EXPECT_EQ(sheetcell::columnTitle(Cell::number(2024), 0), QStringLiteral("2024"));
    EXPECT_EQ(sheetcell::columnTitle(Cell::text(QStringLiteral("  ")), 2), QStringLiteral("F3"));
}
