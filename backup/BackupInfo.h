#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

namespace orvento::backup {

// What `info.ini` of an archive says about it ([MAIN]). It is built and read in memory only:
// a file of it in a folder others can write to could be replaced between writing and packing.
struct BackupInfo {
    QString program;     // `Program`, "OV" for this program's archives
    QString fullPath;    // `FullPath`, where the archive was written
    QString agendaFile;  // `AgendaFile`, the agenda database's entry ("DEMO.MDB")
    bool global = false; // `Global`: the global database is inside
    bool frm = false;    // `FRM`: the print templates are inside
    QString name;        // `Name`, the firm
    QString creator;     // `Creator`, who made it
    QString dateTime;    // `DateTime`, as dateTimeText() writes it
    QString version;     // `Version`
    int id = 0;          // `ID`, the backup counter; orders the list

    QByteArray toText() const;
    // Any text reads; listable() tells whether it describes an archive this program restores.
    static BackupInfo fromText(const QByteArray& text);
    // Program "OV" (any letter case) and an agenda entry with a bare name.
    bool listable() const;
};

// The entry's name inside an archive, and the most of it that is read.
QString infoEntryName();
inline constexpr qint64 kInfoEntryLimit = 64 * 1024;
// Every archive writes its time the same way, whatever the workstation's settings.
QString dateTimeText(const QDateTime& when);
// The program's mark in `Program`.
QString programMark();

} // namespace orvento::backup
