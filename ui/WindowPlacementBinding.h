#pragma once

#include "services/ProfileSession.h"

#include <QObject>
#include <QPointer>

class QWidget;

namespace orvento::ui {

// Binds one of the four main windows to its remembered placement: applies it, shows the window
// maximised or not, and hands the current placement back to the profile when the window is
// hidden and before the program saves.
class WindowPlacementBinding : public QObject {
    Q_OBJECT
public:
    WindowPlacementBinding(QWidget* window, services::ProfileSession& session,
                           services::WindowId id);

    // Shows the window at its remembered place, maximised unless the profile says otherwise.
    void show();
    services::WindowPlacement current() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void apply();
    void remember();

    QPointer<QWidget> m_window;
    services::ProfileSession& m_session;
    services::WindowId m_id;
    services::ProfileSession::Registration m_registration;
    bool m_shownOnce = false;
};

} // namespace orvento::ui
