#include "FuzzSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace orvento::fuzz {

QString workFolder() {
    static const QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/orvento-fuzz-XXXXXX"));
    return folder.path();
}

QString writeFile(const QString& name, const QByteArray& content) {
    const QString path = workFolder() + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(content) != content.size()) {
        std::fprintf(stderr, "fuzz: cannot write %s\n", qPrintable(path));
        std::abort();
    }
    return path;
}

namespace {

// Every input that once crashed a reader runs again first, so a fault that comes back stops the
// harness before it fuzzes at all.
void replayRegressions(const QString& reader) {
    const QString folder = QStringLiteral(ORVENTO_FUZZ_REGRESSIONS "/") + reader;
    QDirIterator it(folder, QDir::Files);
    int replayed = 0;
    while (it.hasNext()) {
        QFile file(it.next());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray content = file.readAll();
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(content.constData()),
                               static_cast<std::size_t>(content.size()));
        ++replayed;
    }
    std::fprintf(stderr, "fuzz: %d inputs of %s replayed\n", replayed, qPrintable(folder));
}

} // namespace

} // namespace orvento::fuzz

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // Rich texts and report pages lay out text, which needs fonts: a GUI application without a
    // screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static const auto app = std::make_unique<QGuiApplication>(*argc, *argv);
    orvento::fuzz::workFolder();
    // The harness's name says which reader it fuzzes: fuzz_<reader>.
    const QString prefix = QStringLiteral("fuzz_");
    const QString reader =
        QFileInfo(QString::fromLocal8Bit((*argv)[0])).fileName().mid(prefix.size());
    orvento::fuzz::replayRegressions(reader);
    return 0;
}
