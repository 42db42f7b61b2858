#pragma once

#include "catalogue/RepricingRun.h"
#include "catalogue/RepricingSettings.h"

#include <QDateTime>
#include <QString>

namespace orvento::core {
class Database;
class UserInteraction;
} // namespace orvento::core

namespace orvento::catalogue {

// The bulk update of descriptive data over a selection: batch by batch in the selection's order,
// each batch read and written in one short unit of work, every touched item stamped with the
// run mark. An identifier list that would outgrow its column stays as it was and the item is
// listed in the information window.
class BulkItemUpdateRun {
public:
    BulkItemUpdateRun(core::Database& db, core::UserInteraction& ui, RunDisplay display);

    RunEnd run(const RunSelection& selection, const BulkUpdateSettings& settings);

    static QString updateSql(const BulkUpdateSettings& settings);
    // The stored letter of an availability entry ("" for "<neuvedeno>").
    static QString availabilityLetter(int index);
    // The item's new identifier list, or nothing when it would not fit its column.
    static std::optional<QString> identifiersFor(const QString& itemList,
                                                 const BulkUpdateSettings& settings);
    const QDateTime& mark() const { return m_mark; }

    static QString finishedMessage() {
        return QStringLiteral("Nastavení údajů na položkách bylo dokončeno.");
    }
    static QString tooLongLine(const QString& popis) {
        return QStringLiteral("• Položka \"") + popis +
               QStringLiteral("\": nelze přidat nové Identifikátory, řetězec může mít max. 255 "
                              "znaků");
    }

private:
    core::Database& m_db;
    core::UserInteraction& m_ui;
    RunDisplay m_display;
    QDateTime m_mark;
};

} // namespace orvento::catalogue
