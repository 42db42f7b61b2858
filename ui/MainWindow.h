#pragma once

#include <QMainWindow>

#include <functional>

class QAction;
class QLabel;
class QMenu;
class QToolButton;

namespace orvento::core {
class StartUp;
class UserInteraction;
} // namespace orvento::core

namespace orvento::services {
class ProfileSession;
}

namespace orvento::ui {

// frmMain: the button bar, the "Ostatní" menu, the desktop and the status bar with the firm,
// the version and the logged-in user.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(core::UserInteraction& ui, QWidget* parent = nullptr);

    // Run once when the program closes (the "Konec" button, closing the window, a request from
    // the desktop session), before the window goes away.
    void setClosingSteps(std::function<void()> steps) { m_closingSteps = std::move(steps); }
    // Shows the open agenda's name and the logged-in user.
    void refreshStatus();
    // The start-up that opens agendas; the agenda list ("Seznam firem") needs it.
    void setStartUp(core::StartUp* startUp);
    // The profile whose layouts the catalogue's grids show; "Ceník" opens once it is set.
    void setProfileSession(services::ProfileSession* session);

    QAction* action(const QString& objectName) const;
    QMenu* otherMenu() const { return m_otherMenu; }
    QLabel* statusField(int index) const;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* addCommand(const QString& objectName, const QString& text, bool available);
    void buildButtonBar();
    void buildOtherMenu();
    void buildStatusBar();
    // A button that is still busy with its previous click ignores the next one.
    void runOnce(bool& busy, const std::function<void()>& work);
    void showSettings();
    void showAgendaList();

    core::UserInteraction& m_ui;
    QMenu* m_otherMenu = nullptr;
    QLabel* m_agendaField = nullptr;
    QLabel* m_versionField = nullptr;
    QLabel* m_userField = nullptr;
    QLabel* m_desktopTitle = nullptr;
    std::function<void()> m_closingSteps;
    core::StartUp* m_startUp = nullptr;
    services::ProfileSession* m_session = nullptr;
    bool m_closed = false;
    bool m_closingBusy = false;
};

} // namespace orvento::ui
