#pragma once

#include <QWidget>

class QLabel;

namespace orvento::ui {

// frmWorking: the wait window of long operations, with the "<zrušit>" link that sets the
// program's cancel flag.
class WorkingWindow : public QWidget {
    Q_OBJECT
public:
    explicit WorkingWindow(QWidget* parent = nullptr);

    void showText(const QString& text, bool cancellable);
    QString text() const;
    bool isCancellable() const;
    // What a click on "<zrušit>" does.
    void requestCancel();

private:
    QLabel* m_text;
    QLabel* m_cancel;
};

} // namespace orvento::ui
