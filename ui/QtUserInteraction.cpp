#include "ui/QtUserInteraction.h"

#include "core/AppVersion.h"
#include "ui/InformationWindow.h"
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

bool QtUserInteraction::question(const QString& text) {
    QMessageBox box(QMessageBox::Question, core::kProductName, text,
                    QMessageBox::Yes | QMessageBox::No, dialogParent());
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Ano"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Ne"));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
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
    QApplication::processEvents();
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

} // namespace orvento::ui
