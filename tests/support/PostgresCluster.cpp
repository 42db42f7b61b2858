#include "support/PostgresCluster.h"

#include "core/Database.h"
#include "core/PostgresCatalog.h"
#include "core/PostgresStore.h"
#include "core/SqlDialect.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QTemporaryDir>

#include <pwd.h>
#include <unistd.h>

#include <algorithm>

namespace orvento::testsupport {

namespace {

const QString kTemplateDatabase = QStringLiteral("orvento_template");
const QString kAdminDatabase = QStringLiteral("postgres");
constexpr int kProgramTimeoutMs = 60000;

// The newest installed server's programs.
QString serverBinaries() {
    const QDir root(QStringLiteral("/usr/lib/postgresql"));
    QStringList versions = root.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(versions.begin(), versions.end(),
              [](const QString& a, const QString& b) { return a.toInt() > b.toInt(); });
    for (const QString& version : versions) {
        const QString bin = root.filePath(version + QStringLiteral("/bin"));
        if (QFileInfo(bin + QStringLiteral("/initdb")).isExecutable() &&
            QFileInfo(bin + QStringLiteral("/pg_ctl")).isExecutable())
            return bin;
    }
    return {};
}

// The server refuses to run as root; CI runs as root, so it runs as the postgres system user.
bool runningAsRoot() {
    return geteuid() == 0;
}

// Stops the server while the application object still stands, before the drivers go: the test
// programs and the benchmarks alike end that way.
void stopAtExit() {
    if (auto* cluster = PostgresCluster::instance(nullptr))
        cluster->stop();
}

} // namespace

namespace {

// Gives the folder to the user the server runs as.
bool handOver(const QString& folder) {
    if (!runningAsRoot())
        return true;
    const passwd* user = getpwnam("postgres");
    return user != nullptr &&
           chown(QFile::encodeName(folder).constData(), user->pw_uid, user->pw_gid) == 0;
}

bool copyFolder(const QString& from, const QString& to, QString* why) {
    QProcess copy;
    copy.setProcessChannelMode(QProcess::MergedChannels);
    copy.start(QStringLiteral("cp"), {QStringLiteral("-a"), from, to});
    const bool ok = copy.waitForFinished(kProgramTimeoutMs) && copy.exitCode() == 0;
    if (!ok)
        *why = QStringLiteral("cp: ") + QString::fromLocal8Bit(copy.readAll());
    return ok;
}

} // namespace

struct PostgresCluster::Private {
    QTemporaryDir root{QDir::tempPath() + QStringLiteral("/orvento-pg-XXXXXX")};
    QString bin;
    bool running = false;
    std::unique_ptr<core::Database> admin;
    QString startOptions;

    bool startServer(QString* why) {
        running =
            run(QStringLiteral("pg_ctl"),
                {QStringLiteral("-D"), dataFolder(), QStringLiteral("-l"),
                 root.path() + QStringLiteral("/server.log"), QStringLiteral("-w"),
                 QStringLiteral("-s"), QStringLiteral("-o"), startOptions, QStringLiteral("start")},
                why);
        return running;
    }

    QString dataFolder() const { return root.path() + QStringLiteral("/data"); }

    // Runs a server program as the user the server runs as; false with its output in `why`.
    bool run(const QString& program, const QStringList& arguments, QString* why) const {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        const QString path = bin + QLatin1Char('/') + program;
        if (runningAsRoot())
            process.start(QStringLiteral("runuser"),
                          QStringList{QStringLiteral("-u"), QStringLiteral("postgres"),
                                      QStringLiteral("--"), path} +
                              arguments);
        else
            process.start(path, arguments);
        const bool ok = process.waitForFinished(kProgramTimeoutMs) &&
                        process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
        if (!ok && why)
            *why = program + QStringLiteral(": ") + QString::fromLocal8Bit(process.readAll());
        return ok;
    }
};

// initdb is most of a start (about two seconds, with ctest running every test case as a program
// of its own): it runs once per machine and server version, into a folder that later starts
// copy. It is made beside its final name and renamed, so a half-made one is never used.
QString PostgresCluster::initialisedCluster(QString* why) const {
    const QString base =
        QDir::tempPath() + QStringLiteral("/orvento-pg-initdb-%1-%2")
                               .arg(geteuid())
                               .arg(QFileInfo(QFileInfo(d->bin).path()).fileName());
    QLockFile lock(base + QStringLiteral(".lock"));
    lock.setStaleLockTime(kProgramTimeoutMs);
    if (!lock.lock()) {
        *why = QStringLiteral("cannot lock %1.lock").arg(base);
        return {};
    }
    const QString data = base + QStringLiteral("/data");
    if (QFileInfo(data + QStringLiteral("/PG_VERSION")).isFile())
        return data;
    const QString making = base + QStringLiteral(".new");
    QDir(making).removeRecursively();
    if (!QDir().mkpath(making) || !handOver(making)) {
        *why = QStringLiteral("cannot prepare %1 for the postgres user").arg(making);
        return {};
    }
    if (!d->run(QStringLiteral("initdb"),
                {QStringLiteral("-D"), making + QStringLiteral("/data"), QStringLiteral("-U"),
                 QString::fromLatin1(kPostgresTestUser), QStringLiteral("-A"),
                 QStringLiteral("trust"), QStringLiteral("-E"), QStringLiteral("UTF8"),
                 QStringLiteral("--locale=C.UTF-8"), QStringLiteral("--no-sync"),
                 QStringLiteral("--no-instructions")},
                why))
        return {};
    QDir(base).removeRecursively();
    if (!QDir().rename(making, base)) {
        *why = QStringLiteral("cannot rename %1").arg(making);
        return {};
    }
    return data;
}

PostgresCluster::PostgresCluster()
    : d(std::make_unique<Private>()) {}

PostgresCluster::~PostgresCluster() {
    stop();
}

PostgresCluster* PostgresCluster::instance(QString* why) {
    static QString failure;
    static std::unique_ptr<PostgresCluster> cluster = [] {
        std::unique_ptr<PostgresCluster> made(new PostgresCluster);
        if (!made->start(&failure))
            made.reset();
        else
            qAddPostRoutine(stopAtExit);
        return made;
    }();
    if (!cluster && why)
        *why = failure;
    return cluster.get();
}

QString PostgresCluster::socketFolder() const {
    return d->root.path();
}

bool PostgresCluster::start(QString* why) {
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL"))) {
        *why = QStringLiteral("Qt's QPSQL driver (libqt6sql6-psql) is not installed");
        return false;
    }
    d->bin = serverBinaries();
    if (d->bin.isEmpty()) {
        *why = QStringLiteral("no PostgreSQL server programs (initdb, pg_ctl) under "
                              "/usr/lib/postgresql/*/bin");
        return false;
    }
    if (!d->root.isValid()) {
        *why = QStringLiteral("no temporary folder");
        return false;
    }
    if (runningAsRoot()) {
        const passwd* user = getpwnam("postgres");
        if (user == nullptr ||
            chown(QFile::encodeName(d->root.path()).constData(), user->pw_uid, user->pw_gid) != 0) {
            *why = QStringLiteral("running as root without a postgres system user");
            return false;
        }
    }
    const QString folder = d->root.path();
    const QString initialised = initialisedCluster(why);
    if (initialised.isEmpty())
        return false;
    if (!copyFolder(initialised, d->dataFolder(), why))
        return false;
    // Durability means nothing for data thrown away after the run; speed does.
    d->startOptions = QStringLiteral("-k %1 -c listen_addresses= -c fsync=off -c "
                                     "full_page_writes=off -c synchronous_commit=off")
                          .arg(folder);
    if (!d->startServer(why))
        return false;
    qputenv(kPostgresSocketVariable, folder.toLocal8Bit());
    // A test program that crashes leaves no server behind: a watcher stops it once the program
    // is gone.
    const QString stopCommand =
        (runningAsRoot() ? QStringLiteral("runuser -u postgres -- ") : QString()) + d->bin +
        QStringLiteral("/pg_ctl -D '%1' -m immediate -s stop").arg(d->dataFolder());
    QProcess::startDetached(
        QStringLiteral("sh"),
        {QStringLiteral("-c"),
         QStringLiteral(
             "while kill -0 %1 2>/dev/null; do sleep 1; done; %2 >/dev/null 2>&1; rm -rf '%3'")
             .arg(QCoreApplication::applicationPid())
             .arg(stopCommand, folder)});

    if (!runAsAdmin(QStringLiteral("CREATE DATABASE ") +
                        core::postgres::quotedIdentifier(kTemplateDatabase),
                    why))
        return false;
    core::ServerConnection server = postgresTestConnection(QString());
    server.database = kTemplateDatabase;
    core::PostgresStore store(server, QString());
    return store.prepare(why);
}

bool PostgresCluster::runAsAdmin(const QString& sql, QString* error) {
    if (!d->admin) {
        d->admin = std::make_unique<core::Database>(QStringLiteral("test-cluster-admin"),
                                                    core::postgresDialect());
        core::ServerConnection server = postgresTestConnection(QString());
        server.database = kAdminDatabase;
        if (!d->admin->openOnServer(server, QString())) {
            if (error)
                *error = d->admin->lastError();
            d->admin.reset();
            return false;
        }
    }
    if (!d->admin->executeDdl(sql)) {
        if (error)
            *error = d->admin->lastError();
        return false;
    }
    return true;
}

bool PostgresCluster::createDatabase(const QString& name, QString* error) {
    return runAsAdmin(QStringLiteral("CREATE DATABASE %1 TEMPLATE %2")
                          .arg(core::postgres::quotedIdentifier(name),
                               core::postgres::quotedIdentifier(kTemplateDatabase)),
                      error);
}

void PostgresCluster::stop() {
    d->admin.reset();
    if (!d->running)
        return;
    d->running = false;
    d->run(QStringLiteral("pg_ctl"),
           {QStringLiteral("-D"), d->dataFolder(), QStringLiteral("-m"),
            QStringLiteral("immediate"), QStringLiteral("-w"), QStringLiteral("-s"),
            QStringLiteral("stop")},
           nullptr);
}

bool PostgresCluster::shutDown(QString* why) {
    d->admin.reset();
    if (!d->running)
        return true;
    // As an administrator stops it: every session is told so and ended.
    d->running = !d->run(QStringLiteral("pg_ctl"),
                         {QStringLiteral("-D"), d->dataFolder(), QStringLiteral("-m"),
                          QStringLiteral("fast"), QStringLiteral("-w"), QStringLiteral("-s"),
                          QStringLiteral("stop")},
                         why);
    return !d->running;
}

bool PostgresCluster::startAgain(QString* why) {
    return d->running || d->startServer(why);
}

} // namespace orvento::testsupport
