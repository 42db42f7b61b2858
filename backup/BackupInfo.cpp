#include "backup/BackupInfo.h"

#include "backup/BackupArchive.h"
#include "core/IniFile.h"

namespace orvento::backup {

namespace {

const QString kSection = QStringLiteral("MAIN");

} // namespace

QString infoEntryName() {
    return QStringLiteral("info.ini");
}

QString programMark() {
    return QStringLiteral("OV");
}

QString dateTimeText(const QDateTime& when) {
    return when.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
}

QByteArray BackupInfo::toText() const {
    core::IniFile ini;
    ini.setValue(kSection, QStringLiteral("Program"), program);
    ini.setValue(kSection, QStringLiteral("FullPath"), fullPath);
    ini.setValue(kSection, QStringLiteral("AgendaFile"), agendaFile);
    ini.setValue(kSection, QStringLiteral("Global"),
                 global ? QStringLiteral("1") : QStringLiteral("0"));
    ini.setValue(kSection, QStringLiteral("FRM"), frm ? QStringLiteral("1") : QStringLiteral("0"));
    ini.setValue(kSection, QStringLiteral("Name"), name);
    ini.setValue(kSection, QStringLiteral("Creator"), creator);
    ini.setValue(kSection, QStringLiteral("DateTime"), dateTime);
    ini.setValue(kSection, QStringLiteral("Version"), version);
    ini.setValue(kSection, QStringLiteral("ID"), QString::number(id));
    return ini.toText().toUtf8();
}

BackupInfo BackupInfo::fromText(const QByteArray& text) {
    const core::IniFile ini = core::IniFile::fromText(QString::fromUtf8(text));
    BackupInfo info;
    info.program = ini.value(kSection, QStringLiteral("Program"));
    info.fullPath = ini.value(kSection, QStringLiteral("FullPath"));
    info.agendaFile = ini.value(kSection, QStringLiteral("AgendaFile"));
    info.global = ini.boolValue(kSection, QStringLiteral("Global"), false);
    info.frm = ini.boolValue(kSection, QStringLiteral("FRM"), false);
    info.name = ini.value(kSection, QStringLiteral("Name"));
    info.creator = ini.value(kSection, QStringLiteral("Creator"));
    info.dateTime = ini.value(kSection, QStringLiteral("DateTime"));
    info.version = ini.value(kSection, QStringLiteral("Version"));
    info.id = ini.value(kSection, QStringLiteral("ID")).toInt();
    return info;
}

bool BackupInfo::listable() const {
    return program.trimmed().toUpper() == programMark() && isBareName(agendaFile);
}

} // namespace orvento::backup
