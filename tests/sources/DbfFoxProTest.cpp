#include "core/sources/ImportSource.h"
#include "sources/CsvTestRows.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace orvento::core::sources;
using orvento::testsupport::readAllTexts;
using orvento::testsupport::writeBytes;

namespace {

// Writes a table of the kind ("vfp", "fp" or "db3") with memos, code page 1250, three records of
// which the second is deleted. Visual FoxPro also gets its binary types.
constexpr char makeTable[] = R"(
import dbf, sys, datetime, decimal
kind, path = sys.argv[1], sys.argv[2]
if kind == 'vfp':
    spec = 'nazev C(30); popis M; cena N(10,2); pocet I; vaha B; castka Y; datum D; cas T; aktivni L'
else:
    spec = 'nazev C(30); popis M; cena N(10,2); datum D; aktivni L'
t = dbf.Table(path, spec, dbf_type=kind, codepage='cp1250')
t.open(mode=dbf.READ_WRITE)
first = ['Žluťoučký kůň', 'Poznámka: úpěl ďábelské ódy', 1234.5]
gone = ['Smazaný', 'pryč', 1]
last = ['Druhý', 'Dlouhý popis ' * 300, 0]
if kind == 'vfp':
    first += [42, 2.25, decimal.Decimal('19.99')]
    gone += [1, 1.0, decimal.Decimal('1')]
    last += [-7, -0.5, decimal.Decimal('-3.5')]
first += [datetime.date(2024, 3, 15)]
gone += [datetime.date(2024, 1, 1)]
last += [None]
if kind == 'vfp':
    first += [datetime.datetime(2024, 3, 15, 13, 45, 30)]
    gone += [datetime.datetime(2024, 1, 1)]
    last += [None]
t.append(tuple(first + [True]))
t.append(tuple(gone + [False]))
t.append(tuple(last + [False]))
dbf.delete(t[1])
t.close()
)";

const QString firstMemo = QStringLiteral("Poznámka: úpěl ďábelské ódy");
const QString longMemo = QStringLiteral("Dlouhý popis ").repeated(300).trimmed();

class DbfFoxProTest : public ::testing::Test {
protected:
    // The table's path, or empty when the maker could not run (the test then skips).
    QString make(const QString& kind) {
        const QString script = m_dir.filePath(QStringLiteral("make.py"));
        writeBytes(script, makeTable);
        const QString path = m_dir.filePath(kind + QStringLiteral(".dbf"));
        QProcess python;
        python.start(QStringLiteral(ORVENTO_SYSTEM_PYTHON), {script, kind, path});
        constexpr int timeoutMs = 30000;
        if (!python.waitForFinished(timeoutMs) || python.exitCode() != 0) {
            m_failure = QString::fromLocal8Bit(python.readAllStandardError());
            return {};
        }
        return path;
    }

    std::unique_ptr<SourceTable> open(const QString& path, QString& error) {
        m_source = openSource(SourceKind::Dbf, path, error);
        return m_source ? m_source->openTable(m_source->tables().value(0), error) : nullptr;
    }

    QTemporaryDir m_dir;
    QString m_failure;
    std::unique_ptr<ImportSource> m_source;
};

TEST_F(DbfFoxProTest, VisualFoxProTypesAndMemos) {
    const QString path = make(QStringLiteral("vfp"));
    if (path.isEmpty())
        GTEST_SKIP() << "python3-dbf could not write the table: " << m_failure.toStdString();
    QString error;
    auto table = open(path, error);
    ASSERT_TRUE(table) << error.toStdString();
    EXPECT_EQ(
        table->columns(),
        (QStringList{QStringLiteral("NAZEV"), QStringLiteral("POPIS"), QStringLiteral("CENA"),
                     QStringLiteral("POCET"), QStringLiteral("VAHA"), QStringLiteral("CASTKA"),
                     QStringLiteral("DATUM"), QStringLiteral("CAS"), QStringLiteral("AKTIVNI")}));
    EXPECT_EQ(table->rowCount(), 2);
    Row row;
    ASSERT_TRUE(table->next(row));
    for (const std::size_t number : {2u, 3u, 4u, 5u})
        EXPECT_EQ(row[number].kind(), Cell::Kind::Number) << number;
    const auto rest = readAllTexts(*table);
    QStringList first;
    for (const Cell& cell : row)
        first.push_back(cell.toText());
    EXPECT_EQ(first,
              (QStringList{QStringLiteral("Žluťoučký kůň"), firstMemo, QStringLiteral("1234.5"),
                           QStringLiteral("42"), QStringLiteral("2.25"), QStringLiteral("19.99"),
                           QStringLiteral("2024-03-15"), QStringLiteral("2024-03-15 13:45:30"),
                           QStringLiteral("True")}));
    ASSERT_EQ(rest.size(), 1u);
    EXPECT_EQ(rest[0],
              (QStringList{QStringLiteral("Druhý"), longMemo, QStringLiteral("0"),
                           QStringLiteral("-7"), QStringLiteral("-0.5"), QStringLiteral("-3.5"),
                           QString(), QString(), QStringLiteral("False")}));
}

TEST_F(DbfFoxProTest, FoxProAndDbaseIIIMemos) {
    for (const char* kind : {"fp", "db3"}) {
        SCOPED_TRACE(kind);
        const QString path = make(QString::fromLatin1(kind));
        if (path.isEmpty())
            GTEST_SKIP() << "python3-dbf could not write the table: " << m_failure.toStdString();
        QString error;
        auto table = open(path, error);
        ASSERT_TRUE(table) << error.toStdString();
        EXPECT_EQ(table->rowCount(), 2);
        const auto rows = readAllTexts(*table);
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(rows[0],
                  (QStringList{QStringLiteral("Žluťoučký kůň"), firstMemo, QStringLiteral("1234.5"),
                               QStringLiteral("2024-03-15"), QStringLiteral("True")}));
        EXPECT_EQ(rows[1][1], longMemo);
    }
}

TEST_F(DbfFoxProTest, DamagedOrMissingMemoFile) {
    const QString path = make(QStringLiteral("vfp"));
    if (path.isEmpty())
        GTEST_SKIP() << "python3-dbf could not write the table: " << m_failure.toStdString();
    const QString memo = m_dir.filePath(QStringLiteral("vfp.fpt"));
    ASSERT_TRUE(QFile::exists(memo));

    // The long memo's blocks lie past the end of a memo file cut short.
    constexpr qint64 cutMemoFile = 700;
    ASSERT_TRUE(QFile::resize(memo, cutMemoFile));
    QString error;
    auto table = open(path, error);
    ASSERT_TRUE(table) << error.toStdString();
    Row row;
    ASSERT_TRUE(table->next(row));
    EXPECT_FALSE(table->next(row));
    EXPECT_TRUE(table->error().contains(QStringLiteral("poznámek")))
        << table->error().toStdString();

    // The memo file gone altogether.
    ASSERT_TRUE(QFile::remove(memo));
    EXPECT_FALSE(openSource(SourceKind::Dbf, path, error));
    EXPECT_TRUE(error.contains(QStringLiteral("poznámek"))) << error.toStdString();
}

} // namespace
