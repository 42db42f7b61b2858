#pragma once

#include "support/QtPrinting.h"

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace orvento::testsupport {

// A throw-away program folder (with the built templates) and data folder, with the program
// state reset and pointed at them.
class TestEnvironment {
public:
    TestEnvironment();
    ~TestEnvironment();

    QString programFolder() const; // with trailing '/'
    QString dataFolder() const;    // with trailing '/'; not created until asked
    QString iniPath() const;

    void writeIni(const QString& text) const;
    QString readIni() const;
    // Creates the data folder and writes Tovaro.ini pointing at it.
    void useDataFolder(const QString& extraConfig = QString()) const;
    // Puts a fresh database of the kind into the data folder (Global.MDB or an agenda).
    bool copyTemplate(const QString& templateName, const QString& targetName) const;

private:
    QTemporaryDir m_root;
};

// Another workstation: the test helper program doing one thing until it is stopped or killed.
class OtherWorkstation {
public:
    explicit OtherWorkstation(const QStringList& arguments);
    ~OtherWorkstation();
    OtherWorkstation(const OtherWorkstation&) = delete;
    OtherWorkstation& operator=(const OtherWorkstation&) = delete;

    // The first line it printed ("ready", "held", "readonly", "failed").
    const QString& firstLine() const { return m_firstLine; }
    QString readLine(int timeoutMs = 20000);
    // Ends it the clean way: its input closes and it exits.
    void stop();
    // Ends it the hard way, as a crash or a power cut would.
    void kill();

private:
    std::unique_ptr<QProcess> m_process;
    QString m_firstLine;
};

QString testHelperPath();

} // namespace orvento::testsupport
