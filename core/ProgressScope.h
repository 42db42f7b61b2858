#pragma once

#include <QString>

namespace orvento::core {

class UserInteraction;

// A long operation's wait window for as long as the object lives: shown with its text (and the
// "<zrušit>" link when cancellable), step i of n on its progress bar, the interface kept alive
// between steps, and hidden once however the work ends (return, failure or exception). The
// program's cancel flag is cleared at the start and at the end, so a cancel belongs to one run.
//
//     ProgressScope progress(ui, QStringLiteral("Přeceňuji...\nprosím čekejte..."), rows.size());
//     for (int i = 0; i < rows.size(); ++i) {
//         if (!progress.step(i + 1))
//             break; // "<zrušit>" was pressed: rows done so far stay done
//         ...
//     }
class ProgressScope {
public:
    ProgressScope(UserInteraction& ui, const QString& text, int steps, bool cancellable = true);
    ~ProgressScope();
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

    // Reports that step `done` (1 to steps) is reached and lets the interface repaint. False once
    // the person asked to stop; the caller then ends its work.
    bool step(int done);
    // The next step after the last one reported.
    bool advance() { return step(m_done + 1); }
    bool cancelled() const;
    int done() const { return m_done; }

private:
    UserInteraction& m_ui;
    int m_steps;
    int m_done = 0;
    bool m_cancellable;
};

} // namespace orvento::core
