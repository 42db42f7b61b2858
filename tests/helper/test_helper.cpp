// Plays "another workstation" for the tests: takes a lock, holds a database open or writes rows,
// says "ready" on its output and keeps going until its input closes or it is killed.
#include "core/Database.h"
#include "core/FileLock.h"
#include "core/ProgramState.h"
#include "core/SilentInteraction.h"
#include "services/RecordLock.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>
#include <iostream>
#include <string>

using namespace orvento;

namespace {

using core::SilentInteraction;

void say(const std::string& text) {
    std::cout << text << std::endl;
}

void waitForInputToClose() {
    std::string line;
    while (std::getline(std::cin, line)) {
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString command = args.value(1);
    if (command == QLatin1String("hold")) {
        core::FileLock lock;
        const auto result =
            core::FileLock::acquire(args.value(2), core::FileLock::Mode::Exclusive, true, lock);
        say(result == core::FileLock::Result::Taken ? "ready" : "failed");
        waitForInputToClose();
        return 0;
    }
    if (command == QLatin1String("open-db")) {
        core::Database db(QStringLiteral("helper"));
        say(db.open(args.value(2)) ? "ready" : "failed");
        waitForInputToClose();
        return 0;
    }
    if (command == QLatin1String("record-lock")) {
        // record-lock <lock folder> <agenda> <table> <id>
        core::programState().folders.lock = args.value(2);
        core::programState().agenda = args.value(3);
        SilentInteraction ui;
        services::RecordLock lock;
        const auto state =
            services::RecordLock::take(args.value(4), args.value(5).toLongLong(), ui, lock);
        say(state == services::RecordLock::State::Held       ? "held"
            : state == services::RecordLock::State::ReadOnly ? "readonly"
                                                             : "failed");
        waitForInputToClose();
        return 0;
    }
    if (command == QLatin1String("insert")) {
        // insert <database> <count>: new sheets, one statement each
        core::Database db(QStringLiteral("helper"));
        if (!db.open(args.value(2))) {
            say("failed");
            return 1;
        }
        say("ready");
        const int count = args.value(3).toInt();
        for (int i = 0; i < count; ++i)
            db.execute(
                QStringLiteral("INSERT INTO Sklady (Nazev, Poradi) VALUES (:Nazev, :Poradi)"),
                {{QStringLiteral("Nazev"), QStringLiteral("cizí")},
                 {QStringLiteral("Poradi"), 1000 + i}});
        say("done");
        return 0;
    }
    QTextStream(stderr) << "unknown command\n";
    return 2;
}
