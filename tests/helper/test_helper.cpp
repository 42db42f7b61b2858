// Plays "another workstation" for the tests: takes a lock, holds a database open or writes rows,
// says "ready" on its output and keeps going until its input closes or it is killed.
#include "catalogue/ItemCard.h"
#include "catalogue/RepricingRun.h"
#include "core/Database.h"
#include "core/FileLock.h"
#include "core/ProgramState.h"
#include "core/SilentInteraction.h"
#include "offers/OfferStore.h"
#include "services/RecordLock.h"
#include "tests/support/StoreKinds.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QTextStream>
#include <QThread>

#include <atomic>
#include <cstdio>
#include <iostream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

using namespace orvento;

namespace {

using core::SilentInteraction;

void say(const std::string& text) {
    std::cout << text << std::endl;
}

// Opens the agenda `<data folder><agenda>.MDB` as the program does.
bool openAgenda(const QString& dataFolder, const QString& agenda) {
    core::ProgramState& state = core::programState();
    state.folders.setData(dataFolder);
    state.agenda = agenda;
    state.settings.urovenHistorie = 2;
    return state.db->agenda.open(dataFolder + agenda + QStringLiteral(".MDB"));
}

offers::OfferItem helperItem(double quantity) {
    offers::OfferItem item;
    item.Popis = QStringLiteral("položka");
    item.PocetMJ = quantity;
    item.PCBDPHMJ = 10.0;
    item.PCBDPHPOL = 10.0 * quantity;
    item.SazbaDPH = 0.0;
    return item;
}

void waitForInputToClose() {
    std::string line;
    while (std::getline(std::cin, line)) {
    }
}

void insertSheets(core::Database& db, int count) {
    for (int i = 0; i < count; ++i)
        db.execute(QStringLiteral("INSERT INTO Sklady (Nazev, Poradi) VALUES (:Nazev, :Poradi)"),
                   {{QStringLiteral("Nazev"), QStringLiteral("cizí")},
                    {QStringLiteral("Poradi"), 1000 + i}});
}

core::DatabaseId databaseNamed(const QString& agenda) {
    return agenda == QLatin1String("-") ? core::DatabaseId::global()
                                        : core::DatabaseId::agendaNamed(agenda);
}

// store-<what> <store kind> <location> ...: the same through a data store of that kind, so that
// the store tests run against every kind of store.
int storeCommand(const QString& command, const QStringList& args) {
    const auto store = testsupport::makeStore(args.value(2), args.value(3), QString());
    if (!store) {
        say("failed");
        return 2;
    }
    if (command == QLatin1String("store-open")) {
        // store-open <kind> <location> <agenda or ->: holds the database open
        core::Database db(QStringLiteral("helper"), store->dialect());
        say(store->open(db, databaseNamed(args.value(4))) ? "ready" : "failed");
        waitForInputToClose();
        return 0;
    }
    if (command == QLatin1String("store-hold-write")) {
        // store-hold-write <kind> <location> <agenda or ->: keeps an open unit of work
        core::Database db(QStringLiteral("helper"), store->dialect());
        if (!store->open(db, databaseNamed(args.value(4)))) {
            say("failed");
            return 1;
        }
        core::Transaction unit(db);
        say(unit.isActive() ? "ready" : "failed");
        waitForInputToClose();
        return 0;
    }
    if (command == QLatin1String("store-lock")) {
        // store-lock <kind> <location> <agenda or -> <table> <id>: edits the record
        const QString agenda = args.value(4) == QLatin1String("-") ? QString() : args.value(4);
        const core::RecordRef record{agenda, args.value(5), args.value(6).toLongLong()};
        core::HeldLock lock;
        say(store->recordLockHeldElsewhere(record) ? "readonly"
            : store->takeRecordLock(record, lock)  ? "held"
                                                   : "failed");
        waitForInputToClose();
        return 0;
    }
    if (command == QLatin1String("store-exclusive")) {
        // store-exclusive <kind> <location>: runs an operation that needs the data to itself
        core::HeldLock lock;
        say(store->takeExclusiveLock(lock) ? "ready" : "failed");
        waitForInputToClose();
        return 0;
    }
    if (command == QLatin1String("store-insert")) {
        // store-insert <kind> <location> <agenda> <count>: new sheets, one statement each
        core::Database db(QStringLiteral("helper"), store->dialect());
        if (!store->open(db, databaseNamed(args.value(4)))) {
            say("failed");
            return 1;
        }
        say("ready");
        insertSheets(db, args.value(5).toInt());
        say("done");
        return 0;
    }
    if (command == QLatin1String("store-stamp")) {
        // store-stamp <kind> <location> <agenda> <table number> <value>
        store->writeStamp(args.value(4), static_cast<core::StampedTable>(args.value(5).toInt()),
                          args.value(6).toDouble());
        say("done");
        return 0;
    }
    say("failed");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString command = args.value(1);
    if (command.startsWith(QLatin1String("store-")))
        return storeCommand(command, args);
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
        core::SilentInteraction ui;
        services::RecordLock lock;
        const auto state =
            services::RecordLock::take(args.value(4), args.value(5).toLongLong(), ui, lock);
        say(state == services::RecordLock::State::Held       ? "held"
            : state == services::RecordLock::State::ReadOnly ? "readonly"
                                                             : "failed");
        waitForInputToClose();
        return 0;
    }
    if (command == QLatin1String("hold-write")) {
        // hold-write <database>: keeps the write lock of an open unit of work
        core::Database db(QStringLiteral("helper"));
        if (!db.open(args.value(2))) {
            say("failed");
            return 1;
        }
        core::Transaction unit(db);
        say(unit.isActive() ? "ready" : "failed");
        waitForInputToClose();
        return 0;
    }
    if (command == QLatin1String("timed-saves")) {
        // timed-saves <data folder> <agenda>: saves a new offer every few milliseconds until its
        // input closes, then tells of each save "save <start, ms since the epoch> <duration ms>"
        if (!openAgenda(args.value(2), args.value(3))) {
            say("failed");
            return 1;
        }
        std::atomic<bool> inputClosed{false};
        std::thread reader([&] {
            waitForInputToClose();
            inputClosed = true;
        });
        say("ready");
        core::SilentInteraction ui;
        offers::OfferStore store(core::programState().db->agenda);
        std::vector<std::pair<qint64, qint64>> saves;
        bool ok = true;
        while (ok && !inputClosed) {
            const qint64 start = QDateTime::currentMSecsSinceEpoch();
            QElapsedTimer took;
            took.start();
            auto opened = store.open(offers::OfferMode::New, std::nullopt, ui);
            ok = opened.has_value();
            if (ok) {
                opened->copy.insertItem(1, helperItem(1.0));
                ok = store.save(opened->copy, ui);
            }
            saves.emplace_back(start, took.elapsed());
            constexpr unsigned long kPauseMs = 20;
            QThread::msleep(kPauseMs);
        }
        reader.join();
        for (const auto& [start, took] : saves)
            say("save " + std::to_string(start) + " " + std::to_string(took));
        say(ok ? "done" : "failed");
        return 0;
    }
    if (command == QLatin1String("save-item")) {
        // save-item <data folder> <agenda> <item ID> <note>: opens the item's card, writes the
        // note and saves the card, as a person at another workstation would
        if (!openAgenda(args.value(2), args.value(3))) {
            say("failed");
            return 1;
        }
        core::SilentInteraction ui;
        catalogue::ItemCard card(core::programState().db->agenda, ui);
        if (!card.open(catalogue::ItemCardMode::Edit, args.value(4).toLongLong(), 0, 0)) {
            say("failed");
            return 1;
        }
        card.item().Poznamka = args.value(5);
        say(card.confirm() == catalogue::CardOutcome::Saved ? "done" : "failed");
        return 0;
    }
    if (command == QLatin1String("new-offers")) {
        // new-offers <data folder> <agenda> <count>: saves new offers, each numbered by the series
        if (!openAgenda(args.value(2), args.value(3))) {
            say("failed");
            return 1;
        }
        say("ready");
        core::SilentInteraction ui;
        offers::OfferStore store(core::programState().db->agenda);
        const int count = args.value(4).toInt();
        for (int i = 0; i < count; ++i) {
            auto opened = store.open(offers::OfferMode::New, std::nullopt, ui);
            if (!opened) {
                say("failed");
                return 1;
            }
            opened->copy.insertItem(1, helperItem(1.0));
            if (!store.save(opened->copy, ui)) {
                say("failed");
                return 1;
            }
        }
        say("done");
        return 0;
    }
    if (command == QLatin1String("resave")) {
        // resave <data folder> <agenda> <offer ID>: saves the offer again and again, every item's
        // quantity set to the round's number, until it is killed
        if (!openAgenda(args.value(2), args.value(3))) {
            say("failed");
            return 1;
        }
        core::SilentInteraction ui;
        offers::OfferStore store(core::programState().db->agenda);
        for (int round = 1;; ++round) {
            offers::OfferWorkingCopy copy(offers::OfferMode::Existing);
            if (!store.load(args.value(4).toLongLong(), copy)) {
                say("failed");
                return 1;
            }
            for (std::size_t i = 0; i < copy.items().size(); ++i)
                copy.replaceItem(i, helperItem(round));
            if (!store.save(copy, ui)) {
                say("failed");
                return 1;
            }
            if (round == 1)
                say("ready");
        }
    }
    if (command == QLatin1String("reprice")) {
        // reprice <data folder> <agenda>: multiplies every purchase price by 2 through the
        // repricing; says "writing" just before its first phase writes
        if (!openAgenda(args.value(2), args.value(3))) {
            say("failed");
            return 1;
        }
        core::SilentInteraction ui;
        bool told = false;
        catalogue::RepricingRun run(core::programState().db->agenda, ui,
                                    {{}, {}, [&](int done, int total) {
                                         if (!told && done == 0 && total > 0) {
                                             told = true;
                                             say("writing");
                                         }
                                     }});
        catalogue::RepricingSettings settings;
        settings.purchasePrice = {true, catalogue::ValueAction::Multiply, 2.0};
        const auto end = run.run({}, settings);
        say(end == catalogue::RunEnd::Finished ? "done" : "failed");
        return 0;
    }
    QTextStream(stderr) << "unknown command\n";
    return 2;
}
