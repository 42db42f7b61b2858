#pragma once

#include <QString>

#include <array>
#include <vector>

namespace orvento::output {

// What one price column of a dealer price list prints: its source as shown (nothing, the basic
// sale price or a level's code), the price type and the heading.
struct PriceColumn {
    QString source;
    bool withVat = false; // "s daní"
    QString heading;

    static QString noSource() { return QStringLiteral("< neurčeno >"); }
    static QString basicPrice() { return QStringLiteral("zákl. prodejní"); }
    PriceColumn()
        : source(noSource()) {}
    bool printed() const { return source != noSource(); }
    bool basic() const { return source == basicPrice(); }
};

inline constexpr int kPriceColumns = 6;
inline constexpr int kColumnHeadingLength = 30;
inline constexpr int kPriceListHeadingLength = 255;

// Which sheets and groups go into the price list.
enum class SheetChoice { Current = 1, All = 2, Selected = 3 };
enum class GroupChoice { All = 1, Selected = 2 };

// The settings of the price-list output window, as they are kept between uses and in named
// settings. A new value is the window's standard setting.
struct PriceListSettings {
    SheetChoice sheets = SheetChoice::Current;
    std::vector<qint64> checkedSheets;
    GroupChoice groups = GroupChoice::All;
    std::vector<qint64> checkedGroups;
    bool dealer = false;
    bool basicWhenNoLevel = false; // a level the item's group lacks prints the basic price
    bool ownHeading = false;
    QString ownHeadingText;
    std::array<PriceColumn, kPriceColumns> columns;
    bool noSheetName = false;

    bool operator==(const PriceListSettings&) const = default;
};

inline bool operator==(const PriceColumn& a, const PriceColumn& b) {
    return a.source == b.source && a.withVat == b.withVat && a.heading == b.heading;
}

// The settings as lines of key "=" value (CR LF between lines).
QString settingsText(const PriceListSettings& settings);
// Settings read back from their text: unknown keys and lines without "=" are skipped, missing
// keys keep the standard value, an empty price source is none. A value may hold "=" itself.
PriceListSettings parseSettings(const QString& text);

} // namespace orvento::output
