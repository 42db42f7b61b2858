#pragma once

#include <QWidget>

#include <optional>

class QEventLoop;
class QLabel;
class QLineEdit;

namespace orvento::ui {

// frmSplash: shown while the program starts, with the version and "Prosím čekejte...". For the
// login it turns into a modal dialog asking for the password.
class SplashWindow : public QWidget {
    Q_OBJECT
public:
    explicit SplashWindow(QWidget* parent = nullptr);
    QString versionText() const;
    QString stateText() const;

    // The login state: "Zadejte heslo", a masked field, "OK" (Enter) and "Zpět" (Esc). The typed
    // password, or nothing after "Zpět". One second after it appears the window is brought in
    // front of the others once, unless a key was pressed by then.
    std::optional<QString> askPassword();
    bool inLoginState() const { return m_loop != nullptr; }
    // The program is ending: an open prompt closes as after "Zpět" and no later one is shown.
    void abandonLogin();
    // True when a prompt gave up because of that.
    bool loginAbandoned() const { return m_loginAbandoned; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLoginState();
    void finishLogin(std::optional<QString> answer);

    QLabel* m_version;
    QLabel* m_state;
    QWidget* m_login = nullptr;
    QLineEdit* m_password = nullptr;
    QEventLoop* m_loop = nullptr;
    std::optional<QString> m_answer;
    bool m_keyPressed = false;
    bool m_abandoning = false;
    bool m_loginAbandoned = false;
    int m_round = 0;
};

} // namespace orvento::ui
