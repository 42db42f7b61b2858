#pragma once

#include "core/DataStore.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace orvento::services {

// The maintenance of the data folder's databases ("Správa databází"): for each chosen file a
// copy is kept, its integrity is checked (a damaged index is rebuilt), and it is compacted. It
// runs only while nobody else has the database open.
class DatabaseMaintenance {
public:
    enum class FileKind { Global, Agenda, Unknown };
    struct Entry {
        QString fileName; // as the store labels it
        FileKind kind = FileKind::Unknown;
        core::DatabaseId id;
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

    // The maintenance of the data folder the tool was given: its files, or the database server
    // its connection file names.
    explicit DatabaseMaintenance(QString dataFolder);
    // The maintenance of a store's databases; the copies go to `copyFolder`.
    DatabaseMaintenance(core::DataStore& store, QString copyFolder);

    // Why the folder's data cannot be reached (a connection file that cannot be used); empty
    // when they can.
    const QString& problem() const { return m_problem; }

    // The databases of the store, the global database first, then by name.
    std::vector<Entry> databases() const;

    // Takes the exclusive-operation lock of the store, so that no workstation starts the program
    // meanwhile. False when another workstation holds it.
    bool beginExclusive();
    void endExclusive();

    // Copy, check, repair and compact one database, named as databases() labels it.
    Result maintain(const QString& fileName) const;

    // The folder the copies of one run go to: <data>ZALOHY_DB/<date and time>/.
    const QString& copyFolder() const { return m_copyFolder; }

    static QString describe(const Result& result);
    static QString kindText(FileKind kind);

private:
    std::unique_ptr<core::DataStore> m_ownStore; // when given a folder rather than a store
    core::DataStore* m_store = nullptr;          // nothing when the folder's data are out of reach
    QString m_copyFolder;
    QString m_problem;
    core::HeldLock m_programLock;
};

} // namespace orvento::services
