#pragma once

#include "core/RecordMapping.h"

#include <QString>

#include <optional>

namespace orvento::core {

// The rows of the catalogue's structure as they are written: a sheet (`Sklady`) and a group of a
// sheet (`Skupiny`). They live below the catalogue because a new agenda and the template
// databases get their first sheet here too; every writer of these two tables goes through them.
struct SheetRecord {
    QString Nazev;
    int Poradi = 0;
};

struct GroupRecord {
    qint64 Sklad = 0;
    QString Nazev;
    QString Kod;
    bool Zakladni = false;
};

// The name of the group every sheet has for items that belong to no other group.
inline const QString kBasicGroupName = QStringLiteral("# Nezařazeno #");

// The basic group of a sheet, as every new sheet gets it.
inline GroupRecord basicGroupRecord(qint64 sheetId) {
    return {sheetId, kBasicGroupName, QString(), true};
}

const RecordMapping<SheetRecord>& sheetMapping();
const RecordMapping<GroupRecord>& groupMapping();

// Inserts the row and gives its new ID; nothing when the statement failed. The caller reports it.
std::optional<qint64> insertSheet(Database& db, const SheetRecord& sheet);
std::optional<qint64> insertGroup(Database& db, const GroupRecord& group);
bool updateGroup(Database& db, const GroupRecord& group, qint64 id);

} // namespace orvento::core
