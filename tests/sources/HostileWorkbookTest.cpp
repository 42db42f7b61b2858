#include "core/sources/CompoundFileCheck.h"
#include "core/sources/ImportSource.h"
#include "core/sources/IsolatedRead.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <csignal>
#include <thread>

using namespace orvento::core::sources;
using namespace std::chrono_literals;

namespace {

// The inputs with which fuzzing brought FreeXL down, kept where the harness replays them.
QString fuzzRegression(const QString& name) {
    return QStringLiteral(ORVENTO_FUZZ_INPUTS "/regressions/xls/") + name;
}

QByteArray contentOf(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

TEST(HostileWorkbook, DamagedContainersAreRefusedAsDamagedAndTheProgramGoesOn) {
    // A directory entry whose name claims 300 bytes (FreeXL read 47 kB past its buffer), and a
    // number format whose text claims 65,535 letters in a record of 12 bytes (it copied 128 kB
    // past its buffer).
    const QString nameLength = fuzzRegression(QStringLiteral("directory-name-length.xls"));
    EXPECT_FALSE(compoundDirectoryIsSound(contentOf(nameLength)));
    QString error;
    EXPECT_EQ(openSource(SourceKind::Xls, nameLength, error), nullptr);
    EXPECT_TRUE(error.contains(QStringLiteral("je poškozený"))) << error.toStdString();

    const QString formatLength = fuzzRegression(QStringLiteral("format-text-length.xls"));
    error.clear();
    if (const auto book = openSource(SourceKind::Xls, formatLength, error)) {
        // What FreeXL made of it in its own process is junk, but harmless junk.
        for (const QString& sheet : book->tables())
            (void)book->rawGrid(sheet, error);
    } else {
        EXPECT_FALSE(error.isEmpty());
    }
}

TEST(HostileWorkbook, ContainerCheckRefusesWhatFreeXlWouldTrustAndPassesSoundFiles) {
    // A sound container (xlwt's file of the corpus), then the same with its directory's chain
    // led out of the file and round in a circle, cut short, and a header of zeros.
    const QByteArray sound = contentOf(QStringLiteral(ORVENTO_FUZZ_INPUTS "/corpus/xls/cenik.xls"));
    ASSERT_TRUE(compoundDirectoryIsSound(sound));
    constexpr int firstDirectorySectorAt = 0x30;
    QByteArray outside = sound;
    outside[firstDirectorySectorAt + 3] = '\x7f';
    EXPECT_FALSE(compoundDirectoryIsSound(outside));
    QByteArray circle = sound;
    // The first allocation sector lists itself as the sector after the directory's.
    const quint32 directory = static_cast<quint8>(sound[firstDirectorySectorAt]);
    const qsizetype fatAt = 512 * (1 + static_cast<quint8>(sound[0x4C]));
    circle[fatAt + 4 * directory] = static_cast<char>(directory);
    circle[fatAt + 4 * directory + 1] = 0;
    circle[fatAt + 4 * directory + 2] = 0;
    circle[fatAt + 4 * directory + 3] = 0;
    EXPECT_FALSE(compoundDirectoryIsSound(circle));
    EXPECT_FALSE(compoundDirectoryIsSound(sound.left(511)));
    EXPECT_FALSE(compoundDirectoryIsSound(QByteArray(4096, '\0')));
}

TEST(IsolatedRead, TheChildsAnswerComesBackAndItsFaultsAndLoopsStayThere) {
    const auto answer = readApart([] { return QByteArray(200'000, 'x'); }, 10s);
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(answer->size(), 200'000);

    EXPECT_FALSE(readApart(
        [] {
            std::raise(SIGSEGV);
            return QByteArray("never");
        },
        10s));
    EXPECT_FALSE(readApart(
        [] {
            std::abort();
            return QByteArray();
        },
        10s));
    // A child that never answers is stopped after its silence, not waited for.
    const auto before = std::chrono::steady_clock::now();
    EXPECT_FALSE(readApart(
        [] {
            std::this_thread::sleep_for(60s);
            return QByteArray();
        },
        200ms));
    EXPECT_LT(std::chrono::steady_clock::now() - before, 10s);
}

} // namespace
