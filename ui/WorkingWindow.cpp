#include "ui/WorkingWindow.h"

#include "core/ProgramState.h"
#include "ui/InputGate.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace orvento::ui {

WorkingWindow::WorkingWindow(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint)
    , m_text(new QLabel(this))
    , m_cancel(new QLabel(this))
    , m_progress(new QProgressBar(this)) {
    setObjectName(QStringLiteral("frmWorking"));
    setWindowTitle(QStringLiteral("Pracuji..."));
    setWindowModality(Qt::NonModal);
    m_text->setAlignment(Qt::AlignCenter);
    m_text->setMinimumWidth(320);
    m_cancel->setObjectName(QStringLiteral("lblZrusit"));
    m_cancel->setText(QStringLiteral("<a href=\"cancel\">&lt;zrušit&gt;</a>"));
    m_cancel->setAlignment(Qt::AlignCenter);
    m_progress->setObjectName(QStringLiteral("pbPrubeh"));
    m_progress->setTextVisible(true);
    m_progress->hide();
    connect(m_cancel, &QLabel::linkActivated, this, [this] { requestCancel(); });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 18);
    layout->addWidget(m_text);
    layout->addWidget(m_progress);
    layout->addWidget(m_cancel);
    m_sinceKeptAlive.start();
}

WorkingWindow::~WorkingWindow() = default;

void WorkingWindow::showText(const QString& text, bool cancellable) {
    m_text->setText(text);
    m_cancel->setVisible(cancellable);
    adjustSize();
    show();
    raise();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_sinceKeptAlive.restart();
}

QString WorkingWindow::text() const {
    return m_text->text();
}

bool WorkingWindow::isCancellable() const {
    return !m_cancel->isHidden();
}

void WorkingWindow::setProgress(int done, int total) {
    if (total <= 0) {
        m_progress->hide();
        return;
    }
    m_progress->setRange(0, total);
    m_progress->setValue(done);
    if (m_progress->isHidden()) {
        m_progress->show();
        adjustSize();
    }
}

void WorkingWindow::requestCancel() {
    core::programState().cancelRequested = true;
}

void WorkingWindow::keepAlive() {
    if (m_sinceKeptAlive.isValid() && m_sinceKeptAlive.elapsed() < kKeepAliveMs)
        return;
    if (!isVisible() || m_gateOpen) {
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    } else {
        // Input is let through only while this window can take it, and then only to it.
        m_gateOpen = true;
        {
            const InputGate gate(this);
            QApplication::processEvents(QEventLoop::AllEvents);
        }
        m_gateOpen = false;
    }
    m_sinceKeptAlive.restart();
}

} // namespace orvento::ui
