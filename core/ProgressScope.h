#pragma once

#include <QString>

#include <functional>

namespace orvento::core {

class UserInteraction;

// A long operation's wait window for as long as the object lives: shown with its text (and the
// "<zrušit>" link when cancellable), step i of n on its progress bar, the interface kept alive
// between steps, and hidden once however the work ends (return, failure or exception). The
// program's cancel flag is cleared at the start and at the end of the outermost scope, so a
// cancel belongs to one run.
//
//     ProgressScope progress(ui, QStringLiteral("Přeceňuji...\nprosím čekejte..."), rows.size());
//     for (int i = 0; i < rows.size(); ++i) {
//         if (!progress.step(i + 1))
//             break; // "<zrušit>" was pressed: rows done so far stay done
//         ...
//     }
//
// Scopes nest: work that opens its own scope inside another one (a card loading while a list
// loads) shows its text in the same window; when it ends, the outer text, cancel link and bar
// come back, and only the outermost scope hides the window. A cancel pressed during the inner
// work is seen by the outer scope too.
//
// A window with its own progress page and "Přerušit" button (the move dialog, the wizards) runs
// its work through an in-window scope: no wait window, the window's display is told each step.
// This is the only class that shows or hides the wait window; a ctest checks that.
class ProgressScope {
public:
    // The window's own progress display: step `done` of `total`; it repaints and lets its own
    // "Přerušit" through.
    using Display = std::function<void(int done, int total)>;

    ProgressScope(UserInteraction& ui, const QString& text, int steps = 0, bool cancellable = true);
    // An in-window scope: always cancellable (by the window's own button).
    ProgressScope(UserInteraction& ui, Display display, int steps);
    ~ProgressScope();
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

    // Reports that step `done` (1 to steps) is reached and lets the interface repaint. False once
    // the person asked to stop; the caller then ends its work.
    bool step(int done);
    // The same from inside a unit of work: the step is recorded (the wait window's bar moves, a
    // window's own display waits for the next step()), and only the stop is let through
    // (UserInteraction::keepStopAlive). False once the person asked to stop; the caller then
    // rolls its unit back.
    bool stepInUnit(int done);
    // The next step after the last one reported.
    bool advance() { return step(m_done + 1); }
    bool cancelled() const;
    // The person answered No to "stop?": the request is withdrawn and the work goes on.
    void resume();
    int done() const { return m_done; }
    // A new text for the same run (the item being worked on).
    void setText(const QString& text);
    // Ends the scope before its end of life (a message is to follow): the window hides, or the
    // outer scope's text comes back. Further calls do nothing.
    void end();

private:
    void enter();
    void showAgain();
    bool innermost() const;

    UserInteraction& m_ui;
    QString m_text;
    Display m_display;
    int m_steps;
    int m_done = 0;
    bool m_cancellable;
    bool m_ended = false;
    ProgressScope* m_outer = nullptr;
};

} // namespace orvento::core
