#include "ui/Help.h"

#include "core/PathUtil.h"
#include "core/ProgramState.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QShortcut>
#include <QUrl>
#include <QWidget>

namespace orvento::ui {

void openHelpTopic(const QString& topic) {
    const QString folder =
        core::resolveInFolder(core::programState().folders.program, QStringLiteral("help"));
    QString page = core::resolveInFolder(folder, topic);
    if (!QFileInfo::exists(page))
        page = core::resolveInFolder(folder, QStringLiteral("pgUvod.htm"));
    QDesktopServices::openUrl(QUrl::fromLocalFile(page));
}

void installHelpKey(QWidget* widget, const QString& topic) {
    auto* shortcut = new QShortcut(QKeySequence(Qt::Key_F1), widget);
    shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(shortcut, &QShortcut::activated, widget, [topic] { openHelpTopic(topic); });
}

} // namespace orvento::ui
