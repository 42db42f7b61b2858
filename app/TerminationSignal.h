#pragma once

#include <QObject>

class QSocketNotifier;

namespace orvento::app {

// Turns SIGTERM and SIGHUP (the desktop session ending) into a Qt signal delivered in the
// interface thread, so the program closes as if "Konec" was pressed.
class TerminationSignal : public QObject {
    Q_OBJECT
public:
    // Catches the signals from the very start of the program; a signal that arrives before the
    // object exists is delivered once it does.
    static void catchSignals();

    explicit TerminationSignal(QObject* parent = nullptr);
    ~TerminationSignal() override;

Q_SIGNALS:
    void terminationRequested();

private:
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace orvento::app
