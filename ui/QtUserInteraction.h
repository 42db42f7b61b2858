#pragma once

#include "core/UserInteraction.h"

#include "ui/WorkingWindow.h"

#include <QElapsedTimer>
#include <QPointer>

class QWidget;

namespace orvento::ui {

// The program's side of the user-interaction seam: Czech message boxes, the wait window, the
// information window and the standard file dialogs.
class QtUserInteraction : public core::UserInteraction {
public:
    QtUserInteraction();
    ~QtUserInteraction() override;
    QtUserInteraction(const QtUserInteraction&) = delete;
    QtUserInteraction& operator=(const QtUserInteraction&) = delete;

    void information(const QString& text) override;
    void warning(const QString& text) override;
    void error(const QString& text) override;
    core::Answer ask(const QString& text, core::Buttons buttons,
                     core::Answer defaultButton) override;
    void showProblems(const QString& heading, const QStringList& lines) override;
    void showWait(const QString& text, bool cancellable = false) override;
    void hideWait() override;
    void keepAlive() override;
    void keepStopAlive() override;
    void showProgress(int done, int total) override;
    std::optional<QString> chooseOpenFile(const QString& title, const QString& folder,
                                          const QString& filter) override;
    std::optional<QString> chooseSaveFile(const QString& title, const QString& folder,
                                          const QString& filter) override;
    std::optional<QString> chooseFolder(const QString& title, const QString& folder) override;
    std::optional<int> chooseItem(const QString& title, const QString& label,
                                  const QStringList& items, int current = 0) override;
    std::optional<QString> inputText(const QString& title, const QString& prompt) override;
    std::optional<QString> inputPassword(const QString& title, const QString& prompt) override;

    WorkingWindow* workingWindow() const { return m_working; }

private:
    QWidget* dialogParent() const;

    QPointer<WorkingWindow> m_working;
    QElapsedTimer m_sinceStopLook;
};

} // namespace orvento::ui
