#pragma once

#include "core/FileLock.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace orvento::services {

// The maintenance of the data folder's databases ("Správa databází"): for each chosen file a
// copy is kept, its integrity is checked (a damaged index is rebuilt), and it is compacted. It
// runs only while nobody else has the database open.
class DatabaseMaintenance {
public:
    enum class FileKind { Global, Agenda, Unknown };
    struct Entry {
        QString fileName; // as it is in the folder
        FileKind kind = FileKind::Unknown;
    };
    enum class Status { Ok, Repaired, Damaged, InUse, NotADatabase, Failed };
    struct Result {
        QString fileName;
        Status status = Status::Failed;
        QString copyPath; // where the untouched copy was kept
        qint64 sizeBefore = 0;
        qint64 sizeAfter = 0;
        QString detail; // the engine's words when something went wrong
    };

    explicit DatabaseMaintenance(QString dataFolder);

    // The *.MDB files of the data folder, the global database first, then by name.
    std::vector<Entry> databases() const;

    // Takes the exclusive-operation lock of the data folder (LOCK/~program.lck), so that no
    // workstation starts the program meanwhile. False when another workstation holds it.
    bool beginExclusive();
    void endExclusive();

    // Copy, check, repair and compact one file of the folder.
    Result maintain(const QString& fileName) const;

    // The folder the copies of one run go to: <data>ZALOHY_DB/<date and time>/.
    const QString& copyFolder() const { return m_copyFolder; }

    static QString describe(const Result& result);
    static QString kindText(FileKind kind);

private:
    QString m_dataFolder;
    QString m_copyFolder;
    core::FileLock m_programLock;
};

} // namespace orvento::services
