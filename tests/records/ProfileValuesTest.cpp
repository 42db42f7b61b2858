#include "services/ProfileValues.h"
#include "services/GridLayouts.h"
#include "services/ProfileStore.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

using namespace orvento::services;

namespace {

// Each number of a table is given once, the numbers run from 1 without a gap, and no two numbers
// share a description (one meaning under two numbers).
template <size_t N>
void expectOneMeaningPerNumber(const std::array<profile::NumberedValue, N>& table) {
    QSet<int> numbers;
    QSet<QString> descriptions;
    for (const profile::NumberedValue& entry : table) {
        EXPECT_FALSE(numbers.contains(entry.number)) << "number used twice: " << entry.number;
        numbers.insert(entry.number);
        EXPECT_GE(entry.number, 1);
        EXPECT_LE(entry.number, static_cast<int>(N));
        const QString description = QString::fromUtf8(entry.description);
        if (!description.isEmpty()) {
            EXPECT_FALSE(descriptions.contains(description))
                << "described twice: " << description.toStdString();
            descriptions.insert(description);
        }
    }
}

TEST(ProfileValues, NoNumberHasTwoMeanings) {
    expectOneMeaningPerNumber(profile::kValues);
    expectOneMeaningPerNumber(profile::kMemos);
    for (const profile::NumberedValue& entry : profile::kValues)
        EXPECT_EQ(profile::valueDescription(entry.number), QString::fromUtf8(entry.description));
    for (const profile::NumberedValue& entry : profile::kMemos)
        EXPECT_EQ(profile::memoDescription(entry.number), QString::fromUtf8(entry.description));
    // The grids keep their layouts in the memos of their own number.
    for (const GridId id : kAllGrids)
        EXPECT_NE(profile::memoDescription(layoutMemoNumber(id)).indexOf(QStringLiteral("grid")),
                  -1);
    EXPECT_EQ(profile::windowValueDescription(profile::kWindowValueCount),
              QStringLiteral("Ceník - Max"));
    EXPECT_TRUE(profile::windowValueDescription(profile::kWindowValueCount + 1).isEmpty());
}

// The numbers are named in one place only: no profile value is read or written under a bare
// number, and no other file defines a number of its own.
TEST(ProfileValues, TheProgramNamesEveryNumberFromTheOneTable) {
    const QRegularExpression bareCall(
        QStringLiteral(R"(profile::(load|save)(Value|Memo|WindowValue|Bool|Int)\s*\(\s*-?\d)"));
    const QRegularExpression ownConstant(
        QStringLiteral(R"(constexpr\s+int\s+k\w*(Value|Memo)\s*=\s*\d)"));
    for (const char* folder : {"core", "services", "catalogue", "offers", "addressbook", "import",
                               "output", "backup", "notes", "ui", "tools", "app", "bench"}) {
        QDirIterator it(QStringLiteral(ORVENTO_SOURCE_DIR "/") + QString::fromLatin1(folder),
                        {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (path.endsWith(QStringLiteral("services/ProfileValues.h")))
                continue;
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const QString text = QString::fromUtf8(file.readAll());
            EXPECT_FALSE(bareCall.match(text).hasMatch())
                << path.toStdString() << ": " << bareCall.match(text).captured(0).toStdString();
            EXPECT_FALSE(ownConstant.match(text).hasMatch())
                << path.toStdString() << ": " << ownConstant.match(text).captured(0).toStdString();
        }
    }
}

// The tests name the numbers as the program does, so a renumbered value cannot pass unnoticed. (The
// window values have no names: a window's five numbers follow from its place.)
TEST(ProfileValues, TheTestsNameEveryValueAndMemoNumberToo) {
    const QRegularExpression bareCall(
        QStringLiteral(R"(profile::(load|save)(Value|Memo|Bool|Int)\s*\(\s*-?\d)"));
    QDirIterator it(QStringLiteral(ORVENTO_SOURCE_DIR "/tests"),
                    {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        EXPECT_FALSE(bareCall.match(text).hasMatch())
            << path.toStdString() << ": " << bareCall.match(text).captured(0).toStdString();
    }
}

} // namespace
