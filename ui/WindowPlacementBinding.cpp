#include "ui/WindowPlacementBinding.h"

#include <QEvent>
#include <QWidget>

namespace orvento::ui {

WindowPlacementBinding::WindowPlacementBinding(QWidget* window, services::ProfileSession& session,
                                               services::WindowId id)
    : QObject(window)
    , m_window(window)
    , m_session(session)
    , m_id(id) {
    window->installEventFilter(this);
    m_registration = session.addCollector([this] {
        if (m_window && m_shownOnce)
            remember();
    });
    apply();
}

void WindowPlacementBinding::apply() {
    QWidget* window = m_window.data();
    if (!window)
        return;
    const services::WindowPlacement& p = m_session.placement(m_id);
    QRect g = window->geometry();
    if (p.left)
        g.moveLeft(*p.left);
    if (p.top)
        g.moveTop(*p.top);
    if (p.width && *p.width > 0)
        g.setWidth(*p.width);
    if (p.height && *p.height > 0)
        g.setHeight(*p.height);
    window->setGeometry(g);
}

void WindowPlacementBinding::show() {
    QWidget* window = m_window.data();
    if (!window)
        return;
    if (m_session.placement(m_id).maximised)
        window->showMaximized();
    else
        window->showNormal();
}

services::WindowPlacement WindowPlacementBinding::current() const {
    services::WindowPlacement p;
    const QWidget* window = m_window.data();
    if (!window)
        return p;
    p.maximised = window->isMaximized();
    const QRect g = p.maximised ? window->normalGeometry() : window->geometry();
    if (g.isValid()) {
        p.left = g.left();
        p.top = g.top();
        p.width = g.width();
        p.height = g.height();
    }
    return p;
}

void WindowPlacementBinding::remember() {
    m_session.rememberPlacement(m_id, current());
}

bool WindowPlacementBinding::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_window) {
        if (event->type() == QEvent::Show)
            m_shownOnce = true;
        else if (event->type() == QEvent::Hide && m_shownOnce)
            remember();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace orvento::ui
