#pragma once

#include <QMainWindow>

#include <functional>

class QAction;
class QLabel;
class QMenu;
class QToolButton;

namespace orvento::core {
class AppContext;
enum class ListWindow;
enum class BackupPage;
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
    explicit MainWindow(core::AppContext& context, QWidget* parent = nullptr);

    // Shows the open agenda's name and the logged-in user.
    void refreshStatus();
    // Closing the window ("Konec", the window's own close, a request from the desktop session)
    // runs the start-up's closing steps once. This closes without them: the agenda is already
    // closed or the data folder moves, and the steps must not write the old state back.
    void closeWithoutClosingSteps();
    // Puts the desktop's notes in place of the agenda's name; the window takes the panel.
    void setDesktopPanel(QWidget* panel);

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
    void openList(core::ListWindow list);
    void showSettings();
    void showAgendaList();
    void openBackup(core::BackupPage page);

    core::AppContext& m_context;
    QMenu* m_otherMenu = nullptr;
    QLabel* m_agendaField = nullptr;
    QLabel* m_versionField = nullptr;
    QLabel* m_userField = nullptr;
    QLabel* m_desktopTitle = nullptr;
    QWidget* m_desktop = nullptr;
    bool m_closed = false;
    bool m_closingBusy = false;
    bool m_offersBusy = false;
};

} // namespace orvento::ui
