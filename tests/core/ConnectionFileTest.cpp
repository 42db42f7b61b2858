#include "core/ConnectionFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace orvento;

namespace {

class ConnectionFileTest : public ::testing::Test {
protected:
    QString folder() const { return m_dir.path() + QLatin1Char('/'); }
    QString path() const { return folder() + QString::fromLatin1(core::kConnectionFileName); }
    void write(const QByteArray& text) const {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    // The problem reading the file gives; empty when it reads.
    QString problemOf(const QByteArray& text) const {
        write(text);
        QString problem;
        const auto server = core::readConnectionFile(folder(), &problem);
        EXPECT_EQ(server.has_value(), problem.isEmpty()) << problem.toStdString();
        return problem;
    }

    QTemporaryDir m_dir;
};

// What is written reads back the same; the password never reaches the file.
TEST_F(ConnectionFileTest, WrittenFileReadsBackWithoutThePassword) {
    EXPECT_FALSE(core::hasConnectionFile(folder()));
    core::ServerConnection server;
    server.host = QStringLiteral("/run/postgresql");
    server.port = 5433;
    server.database = QStringLiteral("firma");
    server.user = QStringLiteral("orvento");
    server.sslMode = QStringLiteral("verify-full");
    server.password = QStringLiteral("tajne-heslo");
    QString problem;
    ASSERT_TRUE(core::writeConnectionFile(folder(), server, &problem)) << problem.toStdString();
    EXPECT_TRUE(core::hasConnectionFile(folder()));

    QFile file(path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_FALSE(text.contains("tajne-heslo"));
    EXPECT_TRUE(text.startsWith(';')) << "a person opening it learns what it is for";

    const auto read = core::readConnectionFile(folder(), &problem);
    ASSERT_TRUE(read) << problem.toStdString();
    EXPECT_EQ(read->host, server.host);
    EXPECT_EQ(read->port, 5433);
    EXPECT_EQ(read->database, server.database);
    EXPECT_EQ(read->user, server.user);
    EXPECT_EQ(read->sslMode, server.sslMode);
    EXPECT_TRUE(read->password.isEmpty());
}

// A file whose name another workstation wrote in another letter case is the same file; port
// and sslmode have libpq's defaults when left out.
TEST_F(ConnectionFileTest, FoundInAnyLetterCaseWithDefaults) {
    QFile file(folder() + QStringLiteral("orventodb.INI"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[server]\nhost = db.firma.cz\ndatabase=orvento\nuser=novak\n");
    file.close();
    ASSERT_TRUE(core::hasConnectionFile(folder()));
    QString problem;
    const auto read = core::readConnectionFile(folder(), &problem);
    ASSERT_TRUE(read) << problem.toStdString();
    EXPECT_EQ(read->host, QStringLiteral("db.firma.cz"));
    EXPECT_EQ(read->port, core::ServerConnection::kDefaultPort);
    EXPECT_EQ(read->sslMode, QStringLiteral("prefer"));
    EXPECT_EQ(read->label(), QStringLiteral("db.firma.cz:5432/orvento"));
}

// Every fault is told in Czech, naming the file and what is wrong; none gives a connection.
TEST_F(ConnectionFileTest, FaultsNameTheFileAndWhatIsWrong) {
    const QString shownPath = QDir::toNativeSeparators(path());
    const QByteArray good = "[SERVER]\nHost=db\nPort=5432\nDatabase=orvento\nUser=orvento\n";

    struct Case {
        QByteArray text;
        QString named;
    };
    const std::vector<Case> cases{
        {QByteArray("\x7f"
                    "ELF\x02\x01\x00\x00garbage",
                    16),
         QStringLiteral("není textový")},
        {"nothing an INI file holds\n", QStringLiteral("[SERVER]")},
        {"[SERVER]\nHost=db\nDatabase=orvento\n", QStringLiteral("User")},
        {"[SERVER]\nHost=\nDatabase=orvento\nUser=u\n", QStringLiteral("Host")},
        {"[SERVER]\nHost=db\nPort=abc\nDatabase=o\nUser=u\n", QStringLiteral("\"abc\"")},
        {"[SERVER]\nHost=db\nPort=70000\nDatabase=o\nUser=u\n", QStringLiteral("\"70000\"")},
        {"[SERVER]\nHost=db\nPort=0\nDatabase=o\nUser=u\n", QStringLiteral("\"0\"")},
        {good + "SslMode=sometimes\n", QStringLiteral("\"sometimes\"")},
    };
    for (const Case& c : cases) {
        const QString problem = problemOf(c.text);
        EXPECT_TRUE(problem.contains(shownPath)) << problem.toStdString();
        EXPECT_TRUE(problem.contains(c.named)) << problem.toStdString();
    }
    EXPECT_TRUE(problemOf(good).isEmpty());
}

} // namespace
