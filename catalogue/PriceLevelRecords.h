#pragma once

#include "core/RecordMapping.h"

#include <QString>

#include <optional>
#include <vector>

namespace orvento::core {
class Database;
}

namespace orvento::catalogue {

// The base of a computed level (`VychCena`).
namespace LevelBase {
inline constexpr int SalePrice = 0; // "zákl. prodejní"
inline constexpr int Purchase = 1;  // "nákupní"
} // namespace LevelBase

inline constexpr int kLevelCodeLength = 10;
inline constexpr int kLevelNameLength = 50;

// The parameters a price level (`CenHlad`) hands to the level rows of price groups.
struct LevelParameters {
    double Hodnota = 0.0;
    int TypHodnoty = 0; // LevelValueType
    int VychCena = LevelBase::SalePrice;
    int Zaok = 0;
    bool SDPH = false;
    bool Prepocitat = true; // false: a fixed level, priced on the item

    bool operator==(const LevelParameters&) const = default;
};

// One price level (`CenHlad`).
struct PriceLevel {
    qint64 ID = -1;
    QString Zkratka;
    QString Popis;
    LevelParameters values;
};

// One level row of a price group (`CenSkupPol`); ID -1 while it lives only in a card.
struct GroupLevelRow {
    qint64 ID = -1;
    qint64 IDCenSkup = 0;
    QString Zkratka;
    LevelParameters values;
    bool Prevzato = true; // the values follow the level of the same code
};

// One price group (`CenSkup`) with the basic-price settings it may dictate to its items.
struct PriceGroup {
    qint64 ID = -1;
    QString Zkratka;
    QString Popis;
    bool Vlastni = true; // every item keeps its own basic-price settings
    int TypHodnoty = 0;  // ItemValueType
    double Marze = 0.0;
    double Rabat = 0.0;
    bool SDPH = false;
    int Zaok = 0;
    bool Prepocitat = false;
};

const core::RecordMapping<PriceLevel>& priceLevelMapping();
const core::RecordMapping<GroupLevelRow>& groupLevelRowMapping();
const core::RecordMapping<PriceGroup>& priceGroupMapping();

// Level and group codes are kept in upper case and compared ignoring letter case.
bool sameCode(const QString& a, const QString& b);
QString normalizedCode(const QString& typed);

// The whole tables, levels and groups in code order; nothing (after nothing is shown) when the
// table cannot be read.
std::optional<std::vector<PriceLevel>> readLevels(core::Database& db);
std::optional<std::vector<PriceGroup>> readGroups(core::Database& db);
// The level rows of one group, or of all groups (by group) for groupId 0.
std::optional<std::vector<GroupLevelRow>> loadGroupLevels(core::Database& db, qint64 groupId);

// Look-ups by code or ID: -1 or an empty code when there is none.
qint64 levelIdOfCode(core::Database& db, const QString& code);
qint64 groupIdOfCode(core::Database& db, const QString& code);
QString groupCodeOfId(core::Database& db, qint64 id);
std::optional<PriceLevel> levelById(core::Database& db, qint64 id);
std::optional<PriceLevel> levelByCode(core::Database& db, const QString& code);
std::optional<PriceGroup> groupById(core::Database& db, qint64 id);
std::optional<PriceGroup> groupByCode(core::Database& db, const QString& code);

// The captions of the level fields, in code order.
QStringList levelTypeCaptions(); // "sleva", "marže", "rabat"
QStringList levelBaseCaptions(); // "zákl. prodejní", "nákupní"
QStringList roundingCaptions();  // "nezaokrouhlovat", "na koruny", "na desetníky"
QStringList priceTypeCaptions(); // "bez daně", "s daní"
QString captionAt(const QStringList& captions, int index);

} // namespace orvento::catalogue
