#pragma once

#include <QWidget>

class QLabel;

namespace orvento::ui {

// frmSplash: shown while the program starts, with the version and "Prosím čekejte...".
class SplashWindow : public QWidget {
    Q_OBJECT
public:
    explicit SplashWindow(QWidget* parent = nullptr);
    QString versionText() const;
    QString stateText() const;

private:
    QLabel* m_version;
    QLabel* m_state;
};

} // namespace orvento::ui
