#include "ui/ApplicationMinimizer.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace orvento::ui {

ApplicationMinimizer::ApplicationMinimizer(QWidget* mainWindow)
    : QObject(mainWindow)
    , m_main(mainWindow) {
    qApp->installEventFilter(this);
}

bool ApplicationMinimizer::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::WindowStateChange && m_main) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->isWindow() && widget != m_main && widget->isMinimized()) {
            widget->setWindowState(widget->windowState() & ~Qt::WindowMinimized);
            m_main->showMinimized();
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace orvento::ui
