#include "catalogue/LevelConsistency.h"

#include "catalogue/PriceLevelRecords.h"
#include "core/Database.h"
#include "core/ProgressScope.h"
#include "core/UserInteraction.h"

#include <QHash>

namespace orvento::catalogue {

namespace {

// The level parameters in the order the check compares them.
bool differs(const LevelParameters& row, const LevelParameters& level) {
    return row.Hodnota != level.Hodnota || row.TypHodnoty != level.TypHodnoty ||
           row.VychCena != level.VychCena || row.Zaok != level.Zaok ||
           row.Prepocitat != level.Prepocitat || row.SDPH != level.SDPH;
}

void report(core::UserInteraction& ui, const QString& group, const QString& level,
            const QString& problem) {
    ui.showProblems(QStringLiteral("Zjištěna nekonzistence v databázi:"),
                    {QStringLiteral("Cenová skupina \"%1\"").arg(group),
                     QStringLiteral("• cenová hladina \"%1\"").arg(level) + problem, QString(),
                     QStringLiteral("Nelze pokračovat, nejprve opravte cenovou skupinu!")});
}

} // namespace

bool checkLevelConsistency(core::Database& db, core::UserInteraction& ui) {
    core::ProgressScope wait(ui, QStringLiteral("Kontrola cenových hladin, prosím čekejte..."), 0,
                             false);
    const auto rows = loadGroupLevels(db, 0);
    const auto levels = readLevels(db);
    const auto groups = readGroups(db);
    wait.end();
    if (!rows || !levels || !groups) {
        ui.error(core::readFailedMessage());
        return false;
    }
    if (rows->empty())
        return true;
    QHash<qint64, QString> groupCodes;
    for (const PriceGroup& g : *groups)
        groupCodes.insert(g.ID, g.Zkratka);
    QHash<QString, const PriceLevel*> levelsByCode;
    for (const PriceLevel& l : *levels)
        levelsByCode.insert(l.Zkratka.toUpper(), &l);
    for (const GroupLevelRow& row : *rows) {
        const auto group = groupCodes.constFind(row.IDCenSkup);
        if (group == groupCodes.constEnd())
            continue;
        const PriceLevel* level = levelsByCode.value(row.Zkratka.toUpper(), nullptr);
        if (!level) {
            report(ui, *group, row.Zkratka,
                   QStringLiteral(" neexistuje v seznamu cenových hladin"));
            return false;
        }
        if (row.Prevzato && differs(row.values, level->values)) {
            report(ui, *group, row.Zkratka,
                   QStringLiteral(" - přebírá hodnoty z původní cen. hladiny, ale některý "
                                  "parametr neodpovídá"));
            return false;
        }
    }
    return true;
}

} // namespace orvento::catalogue
