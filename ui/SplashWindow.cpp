#include "ui/SplashWindow.h"

#include "core/AppVersion.h"
#include "services/PasswordScrambler.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
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

void SplashWindow::buildLoginState() {
    m_login = new QWidget(this);
    m_login->setObjectName(QStringLiteral("pnlLogin"));
    auto* label = new QLabel(QStringLiteral("Zadejte heslo"), m_login);
    m_password = new QLineEdit(m_login);
    m_password->setObjectName(QStringLiteral("edtHeslo"));
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setMaxLength(services::password::kMaxLength);
    m_password->installEventFilter(this);
    label->setBuddy(m_password);
    auto* ok = new QPushButton(QStringLiteral("OK"), m_login);
    ok->setObjectName(QStringLiteral("btnOK"));
    auto* back = new QPushButton(QStringLiteral("Zpět"), m_login);
    back->setObjectName(QStringLiteral("btnZpet"));
    auto* row = new QHBoxLayout(m_login);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(label);
    row->addWidget(m_password, 1);
    row->addWidget(ok);
    row->addWidget(back);
    connect(ok, &QPushButton::clicked, this, [this] { finishLogin(m_password->text()); });
    connect(m_password, &QLineEdit::returnPressed, this,
            [this] { finishLogin(m_password->text()); });
    connect(back, &QPushButton::clicked, this, [this] { finishLogin(std::nullopt); });
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), m_login);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, [this] { finishLogin(std::nullopt); });
    auto* box = qobject_cast<QVBoxLayout*>(layout());
    box->insertWidget(box->indexOf(m_state), m_login);
    m_login->hide();
}

void SplashWindow::finishLogin(std::optional<QString> answer) {
    if (!m_loop)
        return;
    m_answer = std::move(answer);
    m_loop->quit();
}

bool SplashWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_password && event->type() == QEvent::KeyPress)
        m_keyPressed = true;
    return QWidget::eventFilter(watched, event);
}

void SplashWindow::abandonLogin() {
    m_abandoning = true;
    if (m_loop) {
        m_loginAbandoned = true;
        finishLogin(std::nullopt);
    }
}

std::optional<QString> SplashWindow::askPassword() {
    if (m_abandoning) {
        m_loginAbandoned = true;
        return std::nullopt;
    }
    if (!m_login)
        buildLoginState();
    // The splash closes and comes back as a modal dialog that can take the keyboard.
    hide();
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setWindowModality(Qt::ApplicationModal);
    m_state->hide();
    m_login->show();
    m_password->clear();
    m_answer.reset();
    m_keyPressed = false;
    show();
    activateWindow();
    m_password->setFocus();

    const int round = ++m_round;
    QTimer::singleShot(1000, this, [this, round] {
        if (round == m_round && m_loop && !m_keyPressed) {
            raise();
            activateWindow();
        }
    });
    QEventLoop loop;
    m_loop = &loop;
    loop.exec();
    m_loop = nullptr;

    hide();
    setWindowModality(Qt::NonModal);
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    m_login->hide();
    m_state->show();
    show();
    return m_answer;
}

} // namespace orvento::ui
