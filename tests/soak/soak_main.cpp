// The workstation soak: `orvento_soak [--workstations N] [--seconds S] [--store KIND]
// [--server HOST] [--folder DIR] [--seed N] [--kill-gap MS] [--break=no-lock|skip-item]` supervises
// N scripted workstations on one fresh data folder; `--workstation ...` is the mode in which it
// starts each of them.
#include "SoakSupervisor.h"
#include "SoakWorkstation.h"

#include "tests/support/StoreKinds.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>
#include <random>

using namespace orvento;

namespace {

const QString kDefaultStore = QStringLiteral("SqliteFolder");

std::optional<soak::BrokenMode> brokenMode(const QString& name) {
    if (name == QLatin1String("no-lock"))
        return soak::BrokenMode::NoLock;
    if (name == QLatin1String("skip-item"))
        return soak::BrokenMode::SkipItem;
    return std::nullopt;
}

int usage() {
    std::fprintf(stderr, "usage: orvento_soak [--workstations N] [--seconds S] [--store KIND] "
                         "[--server HOST] [--folder DIR] [--seed N] [--kill-gap MS] "
                         "[--break=no-lock|skip-item]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    soak::SupervisorOptions supervisor;
    supervisor.storeKind = kDefaultStore;
    supervisor.programFolder = QStringLiteral(ORVENTO_PROGRAM_DIR);
    supervisor.seed = std::random_device{}();
    soak::WorkstationOptions workstation;
    bool isWorkstation = false;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        const QString next = args.value(i + 1);
        if (a.startsWith(QLatin1String("--break="))) {
            const auto mode = brokenMode(a.mid(static_cast<qsizetype>(qstrlen("--break="))));
            if (!mode)
                return usage();
            supervisor.broken = workstation.broken = *mode;
            continue;
        }
        if (a == QLatin1String("--workstation")) {
            isWorkstation = true;
            workstation.slot = next.toInt();
            workstation.generation = args.value(i + 2).toInt();
            i += 2;
            continue;
        }
        if (next.isEmpty())
            return usage();
        ++i;
        if (a == QLatin1String("--workstations"))
            supervisor.workstations = next.toInt();
        else if (a == QLatin1String("--seconds"))
            supervisor.seconds = next.toInt();
        else if (a == QLatin1String("--store"))
            supervisor.storeKind = workstation.storeKind = next;
        else if (a == QLatin1String("--server"))
            supervisor.server = next;
        else if (a == QLatin1String("--folder"))
            supervisor.folder = next;
        else if (a == QLatin1String("--kill-gap"))
            supervisor.killGapMs = next.toInt();
        else if (a == QLatin1String("--seed"))
            supervisor.seed = workstation.seed = next.toUInt();
        else if (a == QLatin1String("--data"))
            workstation.dataLocation = next;
        else if (a == QLatin1String("--program"))
            workstation.programFolder = next;
        else if (a == QLatin1String("--journal"))
            workstation.journal = next;
        else if (a == QLatin1String("--until"))
            workstation.until = next.toLongLong();
        else
            return usage();
    }
    if (isWorkstation)
        return soak::runWorkstation(workstation);
    if (supervisor.workstations < 1 || supervisor.seconds < 1 || supervisor.killGapMs < 2)
        return usage();
    if (!testsupport::storeKinds().contains(supervisor.storeKind)) {
        std::fprintf(stderr, "orvento_soak: no store of the kind %s; there are: %s\n",
                     qPrintable(supervisor.storeKind),
                     qPrintable(testsupport::storeKinds().join(QStringLiteral(", "))));
        return 2;
    }
    return soak::runSupervisor(supervisor);
}
