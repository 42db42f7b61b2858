#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace orvento::core {

// The one way the program's logic talks to the person at the screen. The program implements it
// with Qt dialogs; tests implement it with a scripted double that records every message and
// answers every question, so every message and branch can be checked without a display.
class UserInteraction {
public:
    virtual ~UserInteraction() = default;

    virtual void information(const QString& text) = 0;
    virtual void warning(const QString& text) = 0;
    virtual void error(const QString& text) = 0;
    // A Yes/No question; true means Yes.
    virtual bool question(const QString& text) = 0;

    // The information window that lists problems of a bulk operation: a heading and a line each.
    virtual void showProblems(const QString& heading, const QStringList& lines) = 0;

    // The wait window. While it is shown, long operations call keepAlive() between steps so the
    // interface repaints, and poll the program's cancel flag when they are cancellable.
    virtual void showWait(const QString& text, bool cancellable = false) = 0;
    virtual void hideWait() = 0;
    virtual void keepAlive() = 0;

    // File and choice dialogs; an empty optional means the person cancelled.
    virtual std::optional<QString> chooseOpenFile(const QString& title, const QString& folder,
                                                  const QString& filter) = 0;
    virtual std::optional<QString> chooseSaveFile(const QString& title, const QString& folder,
                                                  const QString& filter) = 0;
    virtual std::optional<QString> chooseFolder(const QString& title, const QString& folder) = 0;
    virtual std::optional<int> chooseItem(const QString& title, const QString& label,
                                          const QStringList& items, int current = 0) = 0;
    // A line of text typed into a small input box; an empty optional when cancelled. Only the
    // few commands that ask for a typed confirmation use it.
    virtual std::optional<QString> inputText(const QString& title, const QString& prompt) {
        (void)title;
        (void)prompt;
        return std::nullopt;
    }
};

} // namespace orvento::core
