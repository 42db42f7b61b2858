#include "core/DesktopCalculator.h"

#include "core/UserInteraction.h"

#include <QProcess>
#include <QStandardPaths>

namespace orvento::core::calculator {

QStringList candidates() {
    return {QStringLiteral("gnome-calculator"), QStringLiteral("kcalc"),
            QStringLiteral("galculator"), QStringLiteral("qalculate-gtk"), QStringLiteral("xcalc")};
}

QString find(const QStringList& searchPaths) {
    for (const QString& name : candidates()) {
        const QString path = QStandardPaths::findExecutable(name, searchPaths);
        if (!path.isEmpty())
            return path;
    }
    return {};
}

QString missingMessage() {
    return QStringLiteral("Program \"Kalkulačka\" není v systému nainstalován.");
}

bool start(UserInteraction& ui, const QStringList& searchPaths) {
    const QString program = find(searchPaths);
    if (program.isEmpty() || !QProcess::startDetached(program, {})) {
        ui.error(missingMessage());
        return false;
    }
    return true;
}

} // namespace orvento::core::calculator
