#pragma once

#include <QElapsedTimer>
#include <QWidget>

class QLabel;
class QProgressBar;

namespace orvento::ui {

// frmWorking: the wait window of long operations, with the "<zrušit>" link that sets the
// program's cancel flag and a progress bar for work of known length.
class WorkingWindow : public QWidget {
    Q_OBJECT
public:
    explicit WorkingWindow(QWidget* parent = nullptr);
    ~WorkingWindow() override;

    void showText(const QString& text, bool cancellable);
    QString text() const;
    bool isCancellable() const;
    // Step `done` of `total`; a total of 0 hides the bar.
    void setProgress(int done, int total);
    QProgressBar* progressBar() const { return m_progress; }
    // What a click on "<zrušit>" does.
    void requestCancel();

    // Lets the interface repaint during long work, at most every `kKeepAliveMs` milliseconds.
    // While the window is shown, input reaches only this window (its cancel link): clicks and
    // keys meant for other windows are dropped, so nothing else can start meanwhile.
    void keepAlive();
    static constexpr int kKeepAliveMs = 50;

private:
    QLabel* m_text;
    QLabel* m_cancel;
    QProgressBar* m_progress;
    QElapsedTimer m_sinceKeptAlive;
    bool m_gateOpen = false;
};

} // namespace orvento::ui
