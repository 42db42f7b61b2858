#include "ui/SplashWindow.h"

#include "core/AppVersion.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace orvento::ui {

SplashWindow::SplashWindow(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
    , m_version(new QLabel(core::versionCaption(), this))
    , m_state(new QLabel(QStringLiteral("Prosím čekejte..."), this)) {
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral("Vítejte..."));
    setAutoFillBackground(true);
    setStyleSheet(QStringLiteral(
        "#frmSplash { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #1d4f7c, "
        "stop:1 #2f7bbf); } QLabel { color: white; }"));
    auto* title = new QLabel(core::kProductName, this);
    QFont big = title->font();
    big.setPointSize(big.pointSize() * 3);
    big.setBold(true);
    title->setFont(big);
    auto* subtitle = new QLabel(QStringLiteral("Ceník, adresář a cenové nabídky"), this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(36, 30, 36, 24);
    layout->addWidget(title, 0, Qt::AlignHCenter);
    layout->addWidget(subtitle, 0, Qt::AlignHCenter);
    layout->addStretch();
    layout->addWidget(m_state, 0, Qt::AlignHCenter);
    layout->addWidget(m_version, 0, Qt::AlignRight);
    setFixedSize(440, 240);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

QString SplashWindow::versionText() const {
    return m_version->text();
}
QString SplashWindow::stateText() const {
    return m_state->text();
}

} // namespace orvento::ui
