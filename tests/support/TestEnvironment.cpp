#include "support/TestEnvironment.h"

#include "core/ProgramState.h"
#include "core/StartUp.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace orvento::testsupport {

TestEnvironment::TestEnvironment() {
    core::resetProgramState();
    const QString program = programFolder();
    QDir().mkpath(program + QStringLiteral("Res/FRMRES"));
    const QString built = QStringLiteral(ORVENTO_PROGRAM_DIR "/Res/");
    for (const char* name : {"0001.res", "0002.res", "0003.res"}) {
        const QString n = QString::fromLatin1(name);
        EXPECT_TRUE(QFile::copy(built + n, program + QStringLiteral("Res/") + n))
            << "template " << name << " missing: build orvento_templates first";
    }
    QFile frx(program + QStringLiteral("Res/FRMRES/Nabidka.frx"));
    if (frx.open(QIODevice::WriteOnly))
        frx.write("<html></html>");
    QFile note(program + QStringLiteral("Res/Uvod.rpo"));
    if (note.open(QIODevice::WriteOnly))
        note.write("Vítejte");
    core::StartUp::initProgramFolders(program);
}

TestEnvironment::~TestEnvironment() {
    core::resetProgramState();
}

QString TestEnvironment::programFolder() const {
    return m_root.path() + QStringLiteral("/program/");
}
QString TestEnvironment::dataFolder() const {
    return m_root.path() + QStringLiteral("/data/");
}
QString TestEnvironment::iniPath() const {
    return programFolder() + QStringLiteral("Tovaro.ini");
}

void TestEnvironment::writeIni(const QString& text) const {
    QFile file(iniPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text.toUtf8());
}

QString TestEnvironment::readIni() const {
    QFile file(iniPath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

void TestEnvironment::useDataFolder(const QString& extraConfig) const {
    QDir().mkpath(dataFolder());
    writeIni(QStringLiteral("[PATH]\nDataPath=%1\n[CONFIG]\n%2").arg(dataFolder(), extraConfig));
}

bool TestEnvironment::copyTemplate(const QString& templateName, const QString& targetName) const {
    QDir().mkpath(dataFolder());
    return QFile::copy(programFolder() + QStringLiteral("Res/") + templateName,
                       dataFolder() + targetName);
}

QString testHelperPath() {
    return QStringLiteral(ORVENTO_TEST_HELPER);
}

OtherWorkstation::OtherWorkstation(const QStringList& arguments)
    : m_process(std::make_unique<QProcess>()) {
    m_process->setProcessChannelMode(QProcess::SeparateChannels);
    m_process->start(testHelperPath(), arguments);
    if (!m_process->waitForStarted(10000)) {
        ADD_FAILURE() << "test helper did not start";
        return;
    }
    m_firstLine = readLine();
}

OtherWorkstation::~OtherWorkstation() {
    stop();
}

QString OtherWorkstation::readLine(int timeoutMs) {
    while (!m_process->canReadLine()) {
        if (!m_process->waitForReadyRead(timeoutMs))
            return {};
    }
    return QString::fromUtf8(m_process->readLine()).trimmed();
}

void OtherWorkstation::stop() {
    if (m_process->state() == QProcess::NotRunning)
        return;
    m_process->closeWriteChannel();
    if (!m_process->waitForFinished(10000))
        kill();
}

void OtherWorkstation::kill() {
    if (m_process->state() == QProcess::NotRunning)
        return;
    m_process->kill();
    m_process->waitForFinished(10000);
}

} // namespace orvento::testsupport
