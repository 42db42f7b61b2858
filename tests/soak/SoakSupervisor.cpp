#include "SoakSupervisor.h"

#include "SoakChecks.h"
#include "SoakDatabase.h"
#include "SoakLog.h"

#include "bench/support/BenchFigures.h"
#include "core/Database.h"
#include "core/PostgresCatalog.h"
#include "core/SqlDialect.h"
#include "tests/support/StoreKinds.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <random>
#include <vector>

namespace orvento::soak {
namespace {

constexpr qint64 kNsPerMs = 1000000;
constexpr qint64 kNsPerSecond = 1000 * kNsPerMs;
// No new workstation is started this close to the end.
constexpr qint64 kLastStartNs = kNsPerSecond;
// How long the supervisor looks away between its looks at the workstations.
constexpr unsigned long kPollMs = 20;
// A workstation finishes its last save and ends after the time is up: at most the busy time-out
// and some.
constexpr int kFinishMs = 30000;
constexpr int kStartMs = 10000;
// The figures of the full soak that the machine should reach.
constexpr int kTargetSaves = 5000;
constexpr int kTargetWorkstations = 8;
constexpr int kTargetSeconds = 60;
constexpr qint64 kTargetWaitMs = 2000;

const QString kAgenda = QStringLiteral("DEMO");

QString brokenName(BrokenMode mode) {
    switch (mode) {
    case BrokenMode::NoLock:
        return QStringLiteral("no-lock");
    case BrokenMode::SkipItem:
        return QStringLiteral("skip-item");
    case BrokenMode::None:
        break;
    }
    return {};
}

// Whether the process has ended, waiting at most `ms` for it; a process seen to end earlier counts
// too (waitForFinished() says false for it).
bool finished(QProcess& process, int ms) {
    return process.state() == QProcess::NotRunning || process.waitForFinished(ms);
}

struct Slot {
    std::unique_ptr<QProcess> process;
    QString journal;
    int generation = 0;
};

class Supervisor {
public:
    Supervisor(const SupervisorOptions& options, QString root)
        : m_options(options)
        , m_data(root + QStringLiteral("/DATA/"))
        , m_journals(root + QStringLiteral("/journals/"))
        , m_random(options.seed)
        , m_slots(static_cast<std::size_t>(options.workstations)) {}

    bool prepare();
    void run();
    SoakFigures check();

private:
    void start(std::size_t slot);
    void ended(std::size_t slot, bool killed);
    void kill(std::size_t slot);
    void lookAfterEnded();

    SupervisorOptions m_options;
    QString m_data;
    QString m_journals;
    std::mt19937 m_random;
    std::vector<Slot> m_slots;
    std::optional<Journal> m_journal;
    qint64 m_until = 0;
    int m_failures = 0; // workstations that ended badly by themselves
};

// A fresh database for the data folder on the server given by name; the workstations reach it as
// they reach the tests' own server, through the environment.
bool prepareOnGivenServer(const QString& host, const QString& location) {
    qputenv(testsupport::kPostgresSocketVariable, host.toLocal8Bit());
    core::ServerConnection server = testsupport::postgresTestConnection(location);
    const QString name = server.database;
    server.database = QStringLiteral("postgres");
    core::Database admin(QStringLiteral("soak-admin"), core::postgresDialect());
    if (!admin.openOnServer(server, QString())) {
        std::fprintf(stderr, "soak: the server %s does not answer: %s\n", qPrintable(host),
                     qPrintable(admin.lastError()));
        return false;
    }
    const QString quoted = core::postgres::quotedIdentifier(name);
    const bool made = admin.executeDdl(QStringLiteral("DROP DATABASE IF EXISTS ") + quoted) &&
                      admin.executeDdl(QStringLiteral("CREATE DATABASE ") + quoted);
    if (!made)
        std::fprintf(stderr, "soak: no database on %s: %s\n", qPrintable(host),
                     qPrintable(admin.lastError()));
    return made && QDir().mkpath(location);
}

bool Supervisor::prepare() {
    const bool given = !m_options.server.isEmpty();
    if (given && m_options.storeKind != QLatin1String("Postgres")) {
        std::fprintf(stderr, "soak: --server is for the store Postgres\n");
        return false;
    }
    const bool prepared = given ? prepareOnGivenServer(m_options.server, m_data)
                                : testsupport::prepareLocation(m_options.storeKind, m_data);
    if (!prepared || !QDir().mkpath(m_journals))
        return false;
    const auto store = testsupport::makeStore(m_options.storeKind, m_data, m_options.programFolder);
    if (!store || !store->create(core::DatabaseId::global(), core::DatabaseTemplate::Global) ||
        !store->create(core::DatabaseId::agendaNamed(kAgenda), core::DatabaseTemplate::DemoAgenda))
        return false;
    m_journal.emplace(m_journals + QStringLiteral("supervisor.sup"));
    return m_journal->isOpen();
}

void Supervisor::start(std::size_t slot) {
    Slot& s = m_slots[slot];
    ++s.generation;
    s.journal = QStringLiteral("ws-%1-%2.log").arg(slot).arg(s.generation);
    QStringList args = {QStringLiteral("--workstation"),
                        QString::number(slot),
                        QString::number(s.generation),
                        QStringLiteral("--store"),
                        m_options.storeKind,
                        QStringLiteral("--data"),
                        m_data,
                        QStringLiteral("--program"),
                        m_options.programFolder,
                        QStringLiteral("--journal"),
                        m_journals + s.journal,
                        QStringLiteral("--until"),
                        QString::number(m_until),
                        QStringLiteral("--seed"),
                        QString::number(m_random())};
    if (m_options.broken != BrokenMode::None)
        args << QStringLiteral("--break=") + brokenName(m_options.broken);
    s.process = std::make_unique<QProcess>();
    s.process->setProcessChannelMode(QProcess::MergedChannels);
    s.process->setStandardOutputFile(m_journals + s.journal + QStringLiteral(".out"));
    s.process->start(QCoreApplication::applicationFilePath(), args);
    s.process->waitForStarted(kStartMs);
    m_journal->line({QStringLiteral("started"), QString::number(monotonicStamp()), s.journal});
}

void Supervisor::ended(std::size_t slot, bool killed) {
    Slot& s = m_slots[slot];
    m_journal->line({QStringLiteral("ended"), QString::number(monotonicStamp()), s.journal,
                     killed ? QStringLiteral("1") : QStringLiteral("0")});
    if (!killed && (s.process->exitStatus() != QProcess::NormalExit || s.process->exitCode() != 0))
        ++m_failures;
    s.process.reset();
}

void Supervisor::kill(std::size_t slot) {
    Slot& s = m_slots[slot];
    if (!s.process)
        return;
    s.process->kill(); // SIGKILL: as a crash or a power cut of that workstation
    finished(*s.process, kFinishMs);
    // The stamp is taken once the process is gone: its locks went with it.
    ended(slot, true);
}

// A workstation that stopped by itself before the time was up failed; it is replaced.
void Supervisor::lookAfterEnded() {
    for (std::size_t slot = 0; slot < m_slots.size(); ++slot) {
        Slot& s = m_slots[slot];
        if (s.process && finished(*s.process, 0)) {
            ended(slot, false);
            if (monotonicStamp() + kLastStartNs < m_until)
                start(slot);
        }
    }
}

void Supervisor::run() {
    m_until = monotonicStamp() + m_options.seconds * kNsPerSecond;
    for (std::size_t slot = 0; slot < m_slots.size(); ++slot)
        start(slot);
    std::uniform_int_distribution<int> gap(m_options.killGapMs / 2, m_options.killGapMs * 3 / 2);
    qint64 nextKill = monotonicStamp() + gap(m_random) * kNsPerMs;
    while (monotonicStamp() < m_until) {
        QThread::msleep(kPollMs);
        lookAfterEnded();
        if (monotonicStamp() < nextKill)
            continue;
        const auto slot = static_cast<std::size_t>(m_random() % m_slots.size());
        kill(slot);
        if (monotonicStamp() + kLastStartNs < m_until)
            start(slot);
        nextKill = monotonicStamp() + gap(m_random) * kNsPerMs;
    }
    for (std::size_t slot = 0; slot < m_slots.size(); ++slot) {
        Slot& s = m_slots[slot];
        if (!s.process)
            continue;
        if (finished(*s.process, kFinishMs)) {
            ended(slot, false);
        } else {
            ++m_failures; // did not stop when its time was up
            kill(slot);
        }
    }
}

SoakFigures Supervisor::check() {
    SoakFigures figures;
    figures.workstations = m_options.workstations;
    figures.seconds = m_options.seconds;
    const SoakHistory history = readHistory(readJournals(m_journals, QStringLiteral(".log")),
                                            readJournals(m_journals, QStringLiteral(".sup")));
    countOperations(history, figures);
    figures.otherFailures += m_failures;
    if (m_failures > 0)
        figures.details << QStringLiteral("%1 workstations ended badly by themselves (see %2*.out)")
                               .arg(m_failures)
                               .arg(m_journals);

    const auto store = testsupport::makeStore(m_options.storeKind, m_data, m_options.programFolder);
    core::Database global(QStringLiteral("soak-global"), store->dialect());
    core::Database agenda(QStringLiteral("soak-agenda"), store->dialect());
    if (!store->open(global, core::DatabaseId::global()) ||
        !store->open(agenda, core::DatabaseId::agendaNamed(kAgenda))) {
        figures.integrityProblems << QStringLiteral("the databases do not open");
        return figures;
    }
    for (core::Database* db : {&global, &agenda})
        for (const QString& problem : store->integrityProblems(*db))
            figures.integrityProblems << problem;

    for (const LostEdit& lost : findLostEdits(history, readStoredRecords(agenda))) {
        ++figures.lostEdits;
        figures.details << QStringLiteral("lost edit: %1 %2").arg(lost.record, lost.reason);
    }
    for (const DoubleGrant& twice : findDoubleGrants(history.locks)) {
        ++figures.doubleGrants;
        figures.details << QStringLiteral("double grant: %1 held by %2 and %3")
                               .arg(twice.record, twice.first, twice.second);
    }
    figures.inconsistentOffers = countInconsistentOffers(agenda, figures.details);
    figures.duplicateNumbers = countDuplicateNumbers(agenda, figures.details);
    return figures;
}

void printTargets(const SoakFigures& figures) {
    if (figures.workstations != kTargetWorkstations || figures.seconds != kTargetSeconds)
        return;
    bench::report("committed saves in total (at least)", figures.saves, "", kTargetSaves,
                  figures.saves >= kTargetSaves);
    bench::report("longest wait of a save", static_cast<double>(figures.longestWaitMs),
                  kTargetWaitMs);
}

void printLoadAverageAtEnd() {
    double load[3] = {};
    if (getloadavg(load, 3) > 0)
        std::printf("load average at end: %.2f (1 min), %.2f (5 min)\n", load[0], load[1]);
}

} // namespace

int runSupervisor(const SupervisorOptions& options) {
    std::optional<QTemporaryDir> temporary;
    QString root = options.folder;
    if (root.isEmpty()) {
        temporary.emplace();
        root = temporary->path();
    }
    // A server that cannot start here is no fault of the program: the run says why and counts
    // as skipped.
    if (const auto why = options.server.isEmpty()
                             ? testsupport::storeKindUnavailable(options.storeKind)
                             : std::nullopt) {
        std::printf("soak: %s\n", qPrintable(*why));
        return kSkipped;
    }
    bench::printLoadAverage();
    std::printf("soak: %d workstations, %d s, store %s%s%s, seed %u%s%s\n", options.workstations,
                options.seconds, qPrintable(options.storeKind),
                options.server.isEmpty() ? "" : " on ", qPrintable(options.server), options.seed,
                options.broken == BrokenMode::None ? "" : ", broken: ",
                qPrintable(brokenName(options.broken)));
    std::fflush(stdout);
    Supervisor supervisor(options, root);
    if (!supervisor.prepare()) {
        std::fprintf(stderr, "soak: the data folder cannot be made in %s\n", qPrintable(root));
        return 2;
    }
    supervisor.run();
    const SoakFigures figures = supervisor.check();
    std::printf("%s", figures.text().toUtf8().constData());
    printTargets(figures);
    printLoadAverageAtEnd();
    if (figures.passed())
        return 0;
    // The journals say where to look: a failed run keeps them with its data.
    if (temporary) {
        temporary->setAutoRemove(false);
        std::printf("data and journals kept in %s\n", qPrintable(root));
    }
    return 1;
}

} // namespace orvento::soak
