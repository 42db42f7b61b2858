#include "ui/WorkingWindow.h"

#include "core/ProgramState.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>

namespace orvento::ui {

WorkingWindow::WorkingWindow(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint)
    , m_text(new QLabel(this))
    , m_cancel(new QLabel(this)) {
    setObjectName(QStringLiteral("frmWorking"));
    setWindowTitle(QStringLiteral("Pracuji..."));
    setWindowModality(Qt::NonModal);
    m_text->setAlignment(Qt::AlignCenter);
    m_text->setMinimumWidth(320);
    m_cancel->setText(QStringLiteral("<a href=\"cancel\">&lt;zrušit&gt;</a>"));
    m_cancel->setAlignment(Qt::AlignCenter);
    connect(m_cancel, &QLabel::linkActivated, this, [this] { requestCancel(); });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 18);
    layout->addWidget(m_text);
    layout->addWidget(m_cancel);
}

void WorkingWindow::showText(const QString& text, bool cancellable) {
    m_text->setText(text);
    m_cancel->setVisible(cancellable);
    adjustSize();
    show();
    raise();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

QString WorkingWindow::text() const {
    return m_text->text();
}

bool WorkingWindow::isCancellable() const {
    return !m_cancel->isHidden();
}

void WorkingWindow::requestCancel() {
    core::programState().cancelRequested = true;
}

} // namespace orvento::ui
