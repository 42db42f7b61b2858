#include "catalogue/PriceLevelRecords.h"

#include "core/Database.h"

#include <QSqlQuery>

namespace orvento::catalogue {

namespace {

// The level parameters sit in a nested member of both level records.
template <class Record>
void addParameters(core::RecordMapping<Record>& m, LevelParameters Record::*values) {
    m.custom(
         "Hodnota", [values](const Record& r) { return QVariant((r.*values).Hodnota); },
         [values](Record& r, const QVariant& v) { (r.*values).Hodnota = v.toDouble(); })
        .custom(
            "TypHodnoty", [values](const Record& r) { return QVariant((r.*values).TypHodnoty); },
            [values](Record& r, const QVariant& v) { (r.*values).TypHodnoty = v.toInt(); })
        .custom(
            "VychCena", [values](const Record& r) { return QVariant((r.*values).VychCena); },
            [values](Record& r, const QVariant& v) { (r.*values).VychCena = v.toInt(); })
        .custom(
            "Zaok", [values](const Record& r) { return QVariant((r.*values).Zaok); },
            [values](Record& r, const QVariant& v) { (r.*values).Zaok = v.toInt(); })
        .custom(
            "SDPH", [values](const Record& r) { return QVariant((r.*values).SDPH); },
            [values](Record& r, const QVariant& v) { (r.*values).SDPH = v.toInt() != 0; })
        .custom(
            "Prepocitat", [values](const Record& r) { return QVariant((r.*values).Prepocitat); },
            [values](Record& r, const QVariant& v) { (r.*values).Prepocitat = v.toInt() != 0; });
}

template <class Record>
std::optional<std::vector<Record>> readAll(core::Database& db, const core::RecordMapping<Record>& m,
                                           const QString& sql, const core::SqlParams& params = {}) {
    QSqlQuery q = db.select(sql, params);
    if (!q.isActive())
        return std::nullopt;
    std::vector<Record> rows;
    while (q.next()) {
        Record r = m.read(q.record());
        r.ID = q.value(QStringLiteral("ID")).toLongLong();
        rows.push_back(std::move(r));
    }
    return rows;
}

template <class Record>
std::optional<Record> findCode(const std::optional<std::vector<Record>>& rows,
                               const QString& code) {
    if (rows)
        for (const Record& r : *rows)
            if (sameCode(r.Zkratka, code))
                return r;
    return std::nullopt;
}

template <class Record>
std::optional<Record> findId(const std::optional<std::vector<Record>>& rows, qint64 id) {
    if (rows)
        for (const Record& r : *rows)
            if (r.ID == id)
                return r;
    return std::nullopt;
}

} // namespace

const core::RecordMapping<PriceLevel>& priceLevelMapping() {
    static const core::RecordMapping<PriceLevel> mapping = [] {
        core::RecordMapping<PriceLevel> m(QStringLiteral("CenHlad"));
        m.member("Zkratka", &PriceLevel::Zkratka).member("Popis", &PriceLevel::Popis);
        addParameters(m, &PriceLevel::values);
        return m;
    }();
    return mapping;
}

const core::RecordMapping<GroupLevelRow>& groupLevelRowMapping() {
    static const core::RecordMapping<GroupLevelRow> mapping = [] {
        core::RecordMapping<GroupLevelRow> m(QStringLiteral("CenSkupPol"));
        m.member("IDCenSkup", &GroupLevelRow::IDCenSkup)
            .member("Zkratka", &GroupLevelRow::Zkratka)
            .member("Prevzato", &GroupLevelRow::Prevzato);
        addParameters(m, &GroupLevelRow::values);
        return m;
    }();
    return mapping;
}

const core::RecordMapping<PriceGroup>& priceGroupMapping() {
    static const core::RecordMapping<PriceGroup> mapping = [] {
        core::RecordMapping<PriceGroup> m(QStringLiteral("CenSkup"));
        m.member("Popis", &PriceGroup::Popis)
            .member("Marze", &PriceGroup::Marze)
            .member("Rabat", &PriceGroup::Rabat)
            .member("SDPH", &PriceGroup::SDPH)
            .member("Prepocitat", &PriceGroup::Prepocitat)
            .member("Zkratka", &PriceGroup::Zkratka)
            .member("Zaok", &PriceGroup::Zaok)
            .member("Vlastni", &PriceGroup::Vlastni)
            .member("TypHodnoty", &PriceGroup::TypHodnoty);
        return m;
    }();
    return mapping;
}

bool sameCode(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString normalizedCode(const QString& typed) {
    return typed.trimmed().toUpper().left(kLevelCodeLength);
}

std::optional<std::vector<PriceLevel>> readLevels(core::Database& db) {
    return readAll(db, priceLevelMapping(),
                   QStringLiteral("SELECT * FROM CenHlad ORDER BY Zkratka, ID"));
}

std::optional<std::vector<PriceGroup>> readGroups(core::Database& db) {
    return readAll(db, priceGroupMapping(),
                   QStringLiteral("SELECT * FROM CenSkup ORDER BY Zkratka, ID"));
}

std::optional<std::vector<GroupLevelRow>> loadGroupLevels(core::Database& db, qint64 groupId) {
    if (groupId == 0)
        return readAll(db, groupLevelRowMapping(),
                       QStringLiteral("SELECT * FROM CenSkupPol ORDER BY IDCenSkup, ID"));
    return readAll(
        db, groupLevelRowMapping(),
        QStringLiteral("SELECT * FROM CenSkupPol WHERE IDCenSkup = :IDCenSkup ORDER BY ID"),
        {{QStringLiteral("IDCenSkup"), groupId}});
}

qint64 levelIdOfCode(core::Database& db, const QString& code) {
    const auto level = levelByCode(db, code);
    return level ? level->ID : -1;
}

qint64 groupIdOfCode(core::Database& db, const QString& code) {
    const auto group = groupByCode(db, code);
    return group ? group->ID : -1;
}

QString groupCodeOfId(core::Database& db, qint64 id) {
    const auto group = groupById(db, id);
    return group ? group->Zkratka : QString();
}

std::optional<PriceLevel> levelById(core::Database& db, qint64 id) {
    return findId(readLevels(db), id);
}

std::optional<PriceLevel> levelByCode(core::Database& db, const QString& code) {
    if (code.trimmed().isEmpty())
        return std::nullopt;
    return findCode(readLevels(db), code);
}

std::optional<PriceGroup> groupById(core::Database& db, qint64 id) {
    return findId(readGroups(db), id);
}

std::optional<PriceGroup> groupByCode(core::Database& db, const QString& code) {
    if (code.trimmed().isEmpty())
        return std::nullopt;
    return findCode(readGroups(db), code);
}

QStringList levelTypeCaptions() {
    return {QStringLiteral("sleva"), QStringLiteral("marže"), QStringLiteral("rabat")};
}

QStringList levelBaseCaptions() {
    return {QStringLiteral("zákl. prodejní"), QStringLiteral("nákupní")};
}

QStringList roundingCaptions() {
    return {QStringLiteral("nezaokrouhlovat"), QStringLiteral("na koruny"),
            QStringLiteral("na desetníky")};
}

QStringList priceTypeCaptions() {
    return {QStringLiteral("bez daně"), QStringLiteral("s daní")};
}

QString captionAt(const QStringList& captions, int index) {
    return index >= 0 && index < captions.size() ? captions.at(index) : captions.value(0);
}

} // namespace orvento::catalogue
