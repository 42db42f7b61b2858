#include "ui/InputGate.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace orvento::ui {

InputGate::InputGate(const QWidget* window)
    : m_window(window) {
    QCoreApplication::instance()->installEventFilter(this);
}

InputGate::~InputGate() {
    QCoreApplication::instance()->removeEventFilter(this);
}

bool InputGate::isUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::ContextMenu:
        return true;
    default:
        return false;
    }
}

bool InputGate::eventFilter(QObject* watched, QEvent* event) {
    if (!isUserInput(event->type()))
        return false;
    const auto* widget = qobject_cast<const QWidget*>(watched);
    if (widget && m_window && (widget == m_window || m_window->isAncestorOf(widget)))
        return false;
    // Input for another window, or for the window system's side of one: dropped.
    return widget != nullptr || watched->isWindowType();
}

} // namespace orvento::ui
