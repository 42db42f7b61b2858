#include "core/ShellOperations.h"
#include "support/ScriptedInteraction.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace orvento::core;
using orvento::testsupport::ScriptedInteraction;

namespace {

void touch(const QString& path, const QByteArray& content = "x") {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}

TEST(ShellOperations, WebAddressGetsAPrefixOnlyWhenItHasNoScheme) {
    EXPECT_EQ(shell::webAddressFor(QStringLiteral("www.firma.cz")),
              QStringLiteral("http://www.firma.cz"));
    EXPECT_EQ(shell::webAddressFor(QStringLiteral(" http://www.firma.cz ")),
              QStringLiteral("http://www.firma.cz"));
    EXPECT_EQ(shell::webAddressFor(QStringLiteral("https://firma.cz/a")),
              QStringLiteral("https://firma.cz/a"));
}

TEST(ShellOperations, FileNamesAsKeyAndBare) {
    EXPECT_EQ(shell::fileNameAsKey(QStringLiteral("/data/import/cenik.2024.xls")),
              QStringLiteral("cenik#2024#xls"));
    EXPECT_EQ(shell::bareFileName(QStringLiteral("/data/import/cenik.2024.xls")),
              QStringLiteral("cenik.2024"));
    const QRegularExpression guid(
        QStringLiteral("^\\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\}$"));
    const QString a = shell::newIdentifier();
    EXPECT_TRUE(guid.match(a).hasMatch()) << a.toStdString();
    EXPECT_NE(a, shell::newIdentifier());
}

TEST(ShellOperations, CopyFilesByPatternOverwritesAndFailsWithoutSource) {
    QTemporaryDir dir;
    const QString from = dir.filePath(QStringLiteral("from"));
    const QString to = dir.filePath(QStringLiteral("to"));
    QDir().mkpath(from);
    QDir().mkpath(to);
    touch(from + QStringLiteral("/a.rpo"), "new");
    touch(from + QStringLiteral("/b.frx"));
    touch(from + QStringLiteral("/README"));
    touch(to + QStringLiteral("/a.rpo"), "old");
    QFile::setPermissions(to + QStringLiteral("/a.rpo"), QFile::ReadOwner);

    ASSERT_TRUE(shell::copyFiles(from + QStringLiteral("/*.rpo"), to));
    QFile copied(to + QStringLiteral("/a.rpo"));
    ASSERT_TRUE(copied.open(QIODevice::ReadOnly));
    EXPECT_EQ(copied.readAll(), QByteArray("new"));
    EXPECT_FALSE(QFile::exists(to + QStringLiteral("/b.frx")));
    EXPECT_EQ(QDir(to).entryList(QDir::Files | QDir::Hidden).size(), 1) << "no copy left aside";

    ASSERT_TRUE(shell::copyFiles(from + QStringLiteral("/*.*"), to));
    EXPECT_TRUE(QFile::exists(to + QStringLiteral("/README")))
        << "*.* also means names without a dot";
    EXPECT_FALSE(shell::copyFiles(dir.filePath(QStringLiteral("none/*.*")), to));
}

TEST(ShellOperations, OpeningAMissingFileSaysSo) {
    ScriptedInteraction ui;
    shell::openFile(QStringLiteral("/nikde/nabidka.pdf"), ui);
    EXPECT_TRUE(ui.saw(ScriptedInteraction::Kind::Warning,
                       QStringLiteral("Soubor /nikde/nabidka.pdf neexistuje!")));
}

} // namespace
