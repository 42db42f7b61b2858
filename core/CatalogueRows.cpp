#include "core/CatalogueRows.h"

namespace orvento::core {

const RecordMapping<SheetRecord>& sheetMapping() {
    static const RecordMapping<SheetRecord> mapping = [] {
        RecordMapping<SheetRecord> m(QStringLiteral("Sklady"));
        m.member("Nazev", &SheetRecord::Nazev).member("Poradi", &SheetRecord::Poradi);
        return m;
    }();
    return mapping;
}

const RecordMapping<GroupRecord>& groupMapping() {
    static const RecordMapping<GroupRecord> mapping = [] {
        RecordMapping<GroupRecord> m(QStringLiteral("Skupiny"));
        m.member("Sklad", &GroupRecord::Sklad)
            .member("Nazev", &GroupRecord::Nazev)
            .member("Kod", &GroupRecord::Kod)
            .member("Zakladni", &GroupRecord::Zakladni);
        return m;
    }();
    return mapping;
}

std::optional<qint64> insertSheet(Database& db, const SheetRecord& sheet) {
    if (!sheetMapping().insert(db, sheet))
        return std::nullopt;
    return db.newRowId();
}

std::optional<qint64> insertGroup(Database& db, const GroupRecord& group) {
    if (!groupMapping().insert(db, group))
        return std::nullopt;
    return db.newRowId();
}

bool updateGroup(Database& db, const GroupRecord& group, qint64 id) {
    return groupMapping().update(db, group, id);
}

} // namespace orvento::core
