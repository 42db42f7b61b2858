#include "ui/QtUserInteraction.h"

#include "core/AppVersion.h"
#include "ui/InformationWindow.h"
#include "ui/InputGate.h"
#include "ui/WorkingWindow.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace orvento::ui {

namespace {

void showBox(QWidget* parent, QMessageBox::Icon icon, const QString& text) {
    QMessageBox box(icon, core::kProductName, text, QMessageBox::Ok, parent);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box.exec();
}

} // namespace

QtUserInteraction::QtUserInteraction()
    : m_working(new WorkingWindow) {}

QtUserInteraction::~QtUserInteraction() {
    delete m_working;
}

QWidget* QtUserInteraction::dialogParent() const {
    QWidget* active = QApplication::activeWindow();
    if (active == m_working)
        return nullptr;
    return active;
}

void QtUserInteraction::information(const QString& text) {
    showBox(dialogParent(), QMessageBox::Information, text);
}

void QtUserInteraction::warning(const QString& text) {
    showBox(dialogParent(), QMessageBox::Warning, text);
}

void QtUserInteraction::error(const QString& text) {
    showBox(dialogParent(), QMessageBox::Critical, text);
}

core::Answer QtUserInteraction::ask(const QString& text, core::Buttons buttons,
                                    core::Answer defaultButton) {
    const bool withCancel = buttons == core::Buttons::YesNoCancel;
    QMessageBox::StandardButtons shown = QMessageBox::Yes | QMessageBox::No;
    if (withCancel)
        shown |= QMessageBox::Cancel;
    QMessageBox box(QMessageBox::Question, core::kProductName, text, shown, dialogParent());
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Ano"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Ne"));
    if (withCancel)
        box.button(QMessageBox::Cancel)->setText(QStringLiteral("Storno"));
    const auto standard = [withCancel](core::Answer answer) {
        switch (answer) {
        case core::Answer::Yes:
            return QMessageBox::Yes;
        case core::Answer::No:
            return QMessageBox::No;
        case core::Answer::Cancel:
            break;
        }
        return withCancel ? QMessageBox::Cancel : QMessageBox::No;
    };
    box.setDefaultButton(standard(defaultButton));
    box.setEscapeButton(withCancel ? QMessageBox::Cancel : QMessageBox::No);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return core::Answer::Yes;
    case QMessageBox::No:
        return core::Answer::No;
    default:
        return withCancel ? core::Answer::Cancel : core::Answer::No;
    }
}

void QtUserInteraction::showProblems(const QString& heading, const QStringList& lines) {
    InformationWindow window(dialogParent());
    window.setLines(heading, lines);
    window.exec();
}

void QtUserInteraction::showWait(const QString& text, bool cancellable) {
    if (m_working)
        m_working->showText(text, cancellable);
}

void QtUserInteraction::hideWait() {
    if (m_working)
        m_working->hide();
}

void QtUserInteraction::keepAlive() {
    if (m_working)
        m_working->keepAlive();
}

void QtUserInteraction::keepStopAlive() {
    if (m_sinceStopLook.isValid() && m_sinceStopLook.elapsed() < WorkingWindow::kKeepAliveMs)
        return;
    m_sinceStopLook.restart();
    const QWidget* stopper = QApplication::activeModalWidget();
    if (const WorkingWindow* wait = m_working.data(); wait != nullptr && !wait->isHidden())
        stopper = wait;
    if (!stopper)
        return;
    const InputGate gate(stopper);
    // Without timers and sockets: what they start (a list's reload, say) would run its
    // statements on the connection in the middle of the unit.
    QApplication::processEvents(QEventLoop::X11ExcludeTimers | QEventLoop::ExcludeSocketNotifiers);
}

void QtUserInteraction::showProgress(int done, int total) {
    if (m_working)
        m_working->setProgress(done, total);
}

std::optional<QString> QtUserInteraction::chooseOpenFile(const QString& title,
                                                         const QString& folder,
                                                         const QString& filter) {
    const QString path = QFileDialog::getOpenFileName(dialogParent(), title, folder, filter);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

std::optional<QString> QtUserInteraction::chooseSaveFile(const QString& title,
                                                         const QString& folder,
                                                         const QString& filter) {
    const QString path = QFileDialog::getSaveFileName(dialogParent(), title, folder, filter);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

std::optional<QString> QtUserInteraction::chooseFolder(const QString& title,
                                                       const QString& folder) {
    const QString path = QFileDialog::getExistingDirectory(dialogParent(), title, folder);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

std::optional<int> QtUserInteraction::chooseItem(const QString& title, const QString& label,
                                                 const QStringList& items, int current) {
    bool ok = false;
    const QString chosen =
        QInputDialog::getItem(dialogParent(), title, label, items, current, false, &ok);
    if (!ok)
        return std::nullopt;
    return static_cast<int>(items.indexOf(chosen));
}

std::optional<QString> QtUserInteraction::inputText(const QString& title, const QString& prompt) {
    bool ok = false;
    const QString text =
        QInputDialog::getText(dialogParent(), title, prompt, QLineEdit::Normal, QString(), &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<QString> QtUserInteraction::inputPassword(const QString& title,
                                                        const QString& prompt) {
    bool ok = false;
    const QString text =
        QInputDialog::getText(dialogParent(), title, prompt, QLineEdit::Password, QString(), &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

} // namespace orvento::ui
