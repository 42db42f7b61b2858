#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace orvento::core {

class ProgressScope;

// The buttons of a question, and the answer given. The default button is the one Enter presses.
enum class Answer { Yes, No, Cancel };
enum class Buttons { YesNo, YesNoCancel };

// The one way the program's logic talks to the person at the screen. The program implements it
// with Qt dialogs; tests implement it with a scripted double that records every message and
// answers every question, so every message and branch can be checked without a display.
class UserInteraction {
public:
    virtual ~UserInteraction() = default;

    virtual void information(const QString& text) = 0;
    virtual void warning(const QString& text) = 0;
    virtual void error(const QString& text) = 0;
    // A question with the buttons and the default the caller names ("leave the offer without
    // saving?" has Yes/No/Cancel). Esc and closing the box answer Cancel, or No without Cancel.
    virtual Answer ask(const QString& text, Buttons buttons, Answer defaultButton) = 0;
    // The plain Yes/No question with Yes as the default; true means Yes.
    bool question(const QString& text) {
        return ask(text, Buttons::YesNo, Answer::Yes) == Answer::Yes;
    }

    // The information window that lists problems of a bulk operation: a heading and a line each.
    virtual void showProblems(const QString& heading, const QStringList& lines) = 0;

    // The wait window. While it is shown, long operations call keepAlive() between steps so the
    // interface repaints, and poll the program's cancel flag when they are cancellable; they do
    // that through core::ProgressScope, the only caller of showWait/hideWait. keepAlive() lets no
    // input reach other windows, only the wait window's cancel link, and does its work at most
    // every few tens of milliseconds, so it may be called as often as convenient.
    virtual void showWait(const QString& text, bool cancellable = false) = 0;
    virtual void hideWait() = 0;
    virtual void keepAlive() = 0;
    // Inside a unit of work, between two statements: lets only the person's stop through (the
    // wait window's cancel link, or the "Přerušit" of the window the work runs in) and repaints
    // that window. No timer, socket or input of another window is served, so nothing else reaches
    // the connection in the middle of the unit. Like keepAlive(), it does its work at most every
    // few tens of milliseconds. Through core::ProgressScope::stepInUnit().
    virtual void keepStopAlive() {}
    // The progress bar of the wait window: step `done` of `total`; a total of 0 hides the bar.
    virtual void showProgress(int done, int total) = 0;

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
    // A secret typed into an input box that shows no letters (a mail server's password); an
    // empty optional when cancelled. The text is never echoed, logged or put into a message.
    virtual std::optional<QString> inputPassword(const QString& title, const QString& prompt) {
        (void)title;
        (void)prompt;
        return std::nullopt;
    }

private:
    // The innermost progress scope open on this interaction; scopes nest through it.
    friend class ProgressScope;
    ProgressScope* m_innermostScope = nullptr;
};

} // namespace orvento::core
