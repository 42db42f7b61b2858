#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

namespace orvento::ui {

// Minimising any window of the program minimises the whole program: the main window goes down
// and takes its child windows with it.
class ApplicationMinimizer : public QObject {
    Q_OBJECT
public:
    explicit ApplicationMinimizer(QWidget* mainWindow);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> m_main;
};

} // namespace orvento::ui
