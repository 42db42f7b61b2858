#pragma once

#include <QEvent>
#include <QObject>

class QWidget;

namespace orvento::ui {

// While it lives, the person's input (clicks, keys, the wheel) reaches only one window and what
// it holds; input meant for any other window is dropped, so nothing else can be started while
// long work lets events through for that window's sake.
class InputGate : public QObject {
public:
    explicit InputGate(const QWidget* window);
    ~InputGate() override;
    InputGate(const InputGate&) = delete;
    InputGate& operator=(const InputGate&) = delete;

    static bool isUserInput(QEvent::Type type);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const QWidget* m_window;
};

} // namespace orvento::ui
