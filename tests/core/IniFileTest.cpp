#include "core/IniFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using orvento::core::IniFile;

namespace {

IniFile fromText(const QTemporaryDir& dir, const QByteArray& text) {
    const QString path = dir.filePath(QStringLiteral("Tovaro.ini"));
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(text);
    f.close();
    return IniFile::load(path);
}

TEST(IniFile, ReadsSectionsAndKeysWithoutRegardToCaseAndNumbersAsBooleans) {
    QTemporaryDir dir;
    const IniFile ini =
        fromText(dir, "[path]\r\n datapath = /data/ \r\n[Config]\r\nRunPrgFirst=2\r\n"
                      "RunPrgSetup=0\r\nBuilderMode=ano\r\n");
    EXPECT_EQ(ini.value(QStringLiteral("PATH"), QStringLiteral("DataPath")),
              QStringLiteral("/data/"));
    EXPECT_TRUE(ini.boolValue(QStringLiteral("CONFIG"), QStringLiteral("RunPrgFirst"), false));
    EXPECT_FALSE(ini.boolValue(QStringLiteral("CONFIG"), QStringLiteral("RunPrgSetup"), true));
    EXPECT_TRUE(ini.boolValue(QStringLiteral("CONFIG"), QStringLiteral("BuilderMode"), true))
        << "a word that is no number falls back";
    EXPECT_EQ(
        ini.value(QStringLiteral("CONFIG"), QStringLiteral("LastDBName"), QStringLiteral("DEMO")),
        QStringLiteral("DEMO"));
}

TEST(IniFile, RewritingKeepsWhatItDoesNotOwnAndAddsMissingSections) {
    QTemporaryDir dir;
    IniFile ini =
        fromText(dir, "; poznámka\n[CONFIG]\nBuilderMode=1\nLastDBName=Stara\n\n[JINE]\nx=y\n");
    ini.setValue(QStringLiteral("CONFIG"), QStringLiteral("lastdbname"), QStringLiteral("Nova"));
    ini.setBool(QStringLiteral("CONFIG"), QStringLiteral("RunPrgFirst"), false);
    ini.setValue(QStringLiteral("PATH"), QStringLiteral("DataPath"), QStringLiteral("/d/"));
    const QString path = dir.filePath(QStringLiteral("out.ini"));
    ASSERT_TRUE(ini.save(path));
    const IniFile back = IniFile::load(path);
    EXPECT_EQ(back.value(QStringLiteral("CONFIG"), QStringLiteral("LastDBName")),
              QStringLiteral("Nova"));
    EXPECT_EQ(back.value(QStringLiteral("CONFIG"), QStringLiteral("BuilderMode")),
              QStringLiteral("1"));
    EXPECT_EQ(back.value(QStringLiteral("CONFIG"), QStringLiteral("RunPrgFirst")),
              QStringLiteral("0"));
    EXPECT_EQ(back.value(QStringLiteral("JINE"), QStringLiteral("x")), QStringLiteral("y"));
    EXPECT_EQ(back.value(QStringLiteral("PATH"), QStringLiteral("DataPath")),
              QStringLiteral("/d/"));
    EXPECT_TRUE(back.toText().startsWith(QStringLiteral("; poznámka\n")));
    // The new key stays inside its section, not after the next one.
    EXPECT_LT(back.toText().indexOf(QStringLiteral("RunPrgFirst")),
              back.toText().indexOf(QStringLiteral("[JINE]")));
}

} // namespace
