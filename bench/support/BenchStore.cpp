#include "bench/support/BenchStore.h"

#include "bench/support/BenchFigures.h"
#include "core/ProgramState.h"
#include "core/SqlDialect.h"
#include "support/PostgresCluster.h"
#include "support/StoreKinds.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <vector>

namespace orvento::bench {

namespace {

constexpr auto kStoreOption = "--store";

struct Figure {
    QString what;
    QString unit;
    double value = 0;
    double target = 0;
    bool ok = false;
};

std::vector<Figure> readFigures(const QString& path) {
    std::vector<Figure> figures;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return figures;
    while (!file.atEnd()) {
        const QStringList fields = QString::fromUtf8(file.readLine()).trimmed().split(u'\t');
        if (fields.size() == kFigureFields)
            figures.push_back({fields[0], fields[1], fields[2].toDouble(), fields[3].toDouble(),
                               fields[4] == QLatin1String("1")});
    }
    return figures;
}

const Figure* figureNamed(const std::vector<Figure>& figures, const QString& what) {
    for (const Figure& f : figures)
        if (f.what == what)
            return &f;
    return nullptr;
}

QString shown(const Figure* f) {
    if (!f)
        return QStringLiteral("-");
    return QStringLiteral("%1%2").arg(f->value, 0, 'f', 1).arg(f->ok ? "" : " MISSED");
}

struct EngineRun {
    const char* kind;
    const char* title;
    int exitCode = 0;
    std::vector<Figure> figures;
};

// One run of the benchmark on `run.kind`, its output passed through as it comes.
void runOn(EngineRun& run, const QStringList& arguments, const QString& figuresFile) {
    std::printf("\n== %s\n", run.title);
    std::fflush(stdout);
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kFiguresVariable), figuresFile);
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                QStringList{QString::fromLatin1(kStoreOption), QString::fromLatin1(run.kind)} +
                    arguments);
    if (!child.waitForStarted() || !child.waitForFinished(-1) ||
        child.exitStatus() != QProcess::NormalExit)
        run.exitCode = 1;
    else
        run.exitCode = child.exitCode();
    run.figures = readFigures(figuresFile);
}

} // namespace

QString takeStoreOption(int& argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], kStoreOption) != 0)
            continue;
        const QString kind = i + 1 < argc ? QString::fromLocal8Bit(argv[i + 1]) : QString();
        const int taken = i + 1 < argc ? 2 : 1;
        for (int j = i; j + taken <= argc; ++j)
            argv[j] = j + taken < argc ? argv[j + taken] : nullptr;
        argc -= taken;
        return kind;
    }
    return QString::fromLatin1(kSqliteStore);
}

int runOnEveryStore(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QTemporaryDir work;
    EngineRun sqlite{kSqliteStore, "SQLite file in the data folder", 0, {}};
    EngineRun server{kPostgresStore, "PostgreSQL server over its Unix socket", 0, {}};
    runOn(sqlite, arguments, work.filePath(QStringLiteral("sqlite.txt")));
    runOn(server, arguments, work.filePath(QStringLiteral("server.txt")));

    std::printf("\n%-48s %-3s %18s %8s %18s %8s\n", "figure", "", "SQLite", "target", "PostgreSQL",
                "target");
    for (const Figure& f : sqlite.figures) {
        const Figure* other = figureNamed(server.figures, f.what);
        std::printf("%-48s %-3s %18s %8.1f %18s %8s\n", qPrintable(f.what.left(48)),
                    qPrintable(f.unit), qPrintable(shown(&f)), f.target, qPrintable(shown(other)),
                    other ? qPrintable(QString::number(other->target, 'f', 1)) : "-");
    }
    if (server.exitCode == kServerUnavailable)
        std::printf("The PostgreSQL server could not start (see above): SQLite figures only.\n");
    const bool serverFailed = server.exitCode != 0 && server.exitCode != kServerUnavailable;
    return sqlite.exitCode != 0 || serverFailed ? 1 : 0;
}

core::Database* openStoreAgenda(const QString& kind, const QTemporaryDir& folder,
                                const QString& agenda, bool* serverMissing) {
    *serverMissing = false;
    QString why;
    if (kind == QLatin1String(kPostgresStore) && !testsupport::PostgresCluster::instance(&why)) {
        std::printf("The PostgreSQL server cannot start: %s\n", qPrintable(why));
        *serverMissing = true;
        return nullptr;
    }
    const QString data = folder.path() + QStringLiteral("/data/");
    if (!testsupport::prepareLocation(kind, data)) {
        std::fprintf(stderr, "cannot prepare a data folder for the store %s\n", qPrintable(kind));
        return nullptr;
    }
    core::ProgramState& state = core::programState();
    state.folders.program = QStringLiteral(ORVENTO_PROGRAM_DIR "/");
    state.folders.setData(data);
    QDir().mkpath(state.folders.lock);
    auto store = testsupport::makeStore(kind, data, state.folders.program);
    if (!store) {
        std::fprintf(stderr, "no store of the kind %s\n", qPrintable(kind));
        return nullptr;
    }
    core::useProgramStore(std::move(store));
    state.agenda = agenda;
    core::Database& db = state.db->agenda;
    core::DataStore::CreateProblem problem = core::DataStore::CreateProblem::None;
    if (!state.store->create(state.agendaId(), core::DatabaseTemplate::EmptyAgenda, &problem)) {
        std::fprintf(
            stderr, "the agenda cannot be made from %s\n",
            qPrintable(state.store->templateLocation(core::DatabaseTemplate::EmptyAgenda)));
        return nullptr;
    }
    core::OpenFailure failure;
    if (!state.store->open(db, state.agendaId(), &failure)) {
        std::fprintf(stderr, "the agenda cannot be opened: %s\n", qPrintable(failure.reason));
        return nullptr;
    }
    std::printf("store: %s\n", qPrintable(kind));
    return &db;
}

bool benchOnServer() {
    return &core::programState().store->dialect() == &core::postgresDialect();
}

bool settleServerStatistics(core::Database& db) {
    if (!benchOnServer())
        return true;
    // As the server's own autovacuum does after many new rows: the statistics, and the map of
    // pages whose rows every transaction sees, without which no list is read from an index alone.
    if (!db.executeDdl(QStringLiteral("VACUUM ANALYZE"))) {
        std::fprintf(stderr, "VACUUM ANALYZE: %s\n", qPrintable(db.lastError()));
        return false;
    }
    std::printf("the server's statistics and visibility map brought up to date (VACUUM ANALYZE)\n");
    return true;
}

core::Database* prepareBenchStore(int& argc, char** argv, const QTemporaryDir& folder,
                                  const QString& agenda, int* exitCode) {
    const QString kind = takeStoreOption(argc, argv);
    if (kind == QLatin1String(kEveryStore)) {
        *exitCode = runOnEveryStore(argc, argv);
        return nullptr;
    }
    if (!testsupport::storeKinds().contains(kind)) {
        std::fprintf(stderr, "--store takes %s or %s\n",
                     qPrintable(testsupport::storeKinds().join(QStringLiteral(", "))), kEveryStore);
        *exitCode = 2;
        return nullptr;
    }
    printLoadAverage();
    bool serverMissing = false;
    core::Database* db = openStoreAgenda(kind, folder, agenda, &serverMissing);
    if (!db)
        *exitCode = serverMissing ? kServerUnavailable : 1;
    return db;
}

} // namespace orvento::bench
