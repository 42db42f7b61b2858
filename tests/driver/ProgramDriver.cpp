// Loaded into the real program by the process tests (LD_PRELOAD), it presses the program's
// buttons as a person would. ORVENTO_DRIVE lists the steps, separated by ';':
//   wait:<name>   until a visible window of that object name or class is there
//   press:<name>  triggers the enabled action, or clicks the enabled, visible button, of that name
//   record        keeps the text of the message box in front
//   reject        closes the dialog in front as "Storno" or Esc would
// When the last step is done, the file ORVENTO_DRIVE_DONE is written with the recorded texts.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>

#include <type_traits>

namespace {

constexpr int kPollMs = 100;

QWidget* visibleWindow(const QString& name) {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() &&
            (window->objectName() == name || window->inherits(name.toLatin1().constData())))
            return window;
    return nullptr;
}

template <class T> T* usable(const QString& name) {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible())
            continue;
        for (T* found : window->findChildren<T*>(name)) {
            if constexpr (std::is_same_v<T, QAction>) {
                if (found->isEnabled())
                    return found;
            } else if (found->isEnabled() && found->isVisible()) {
                return found;
            }
        }
    }
    return nullptr;
}

class Driver : public QObject {
public:
    Driver(QStringList steps, QString doneFile)
        : QObject(QCoreApplication::instance())
        , m_steps(std::move(steps))
        , m_doneFile(std::move(doneFile)) {}

    void schedule() {
        QTimer::singleShot(kPollMs, this, [this] { poll(); });
    }

private:
    void poll() {
        if (m_next >= m_steps.size()) {
            QFile done(m_doneFile);
            if (done.open(QIODevice::WriteOnly))
                done.write(m_recorded.join(QLatin1Char('\n')).toUtf8());
            return;
        }
        const QString step = m_steps.at(m_next);
        const QString what = step.section(QLatin1Char(':'), 1);
        // The next poll is set up before a press: the press may open a modal window, whose own
        // loop then runs the later steps.
        if (step.startsWith(QLatin1String("wait:"))) {
            if (visibleWindow(what))
                ++m_next;
        } else if (step.startsWith(QLatin1String("press:"))) {
            if (QAction* action = usable<QAction>(what)) {
                ++m_next;
                schedule();
                action->trigger();
                return;
            }
            if (QAbstractButton* button = usable<QAbstractButton>(what)) {
                ++m_next;
                schedule();
                button->click();
                return;
            }
        } else if (step == QLatin1String("record")) {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                m_recorded << box->text();
                ++m_next;
            }
        } else if (step == QLatin1String("reject")) {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                ++m_next;
                schedule();
                dialog->reject();
                return;
            }
        }
        schedule();
    }

    QStringList m_steps;
    QString m_doneFile;
    QStringList m_recorded;
    qsizetype m_next = 0;
};

void startDriver() {
    const QString steps = QString::fromUtf8(qgetenv("ORVENTO_DRIVE"));
    if (steps.isEmpty())
        return;
    auto* driver = new Driver(steps.split(QLatin1Char(';'), Qt::SkipEmptyParts),
                              QString::fromLocal8Bit(qgetenv("ORVENTO_DRIVE_DONE")));
    // The programs it starts (the report runner) are not driven.
    for (const char* name : {"LD_PRELOAD", "ORVENTO_DRIVE", "ORVENTO_DRIVE_DONE"})
        qunsetenv(name);
    // Queued: the timers start once the application processes its first events.
    QMetaObject::invokeMethod(
        driver, [driver] { driver->schedule(); }, Qt::QueuedConnection);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(startDriver)
