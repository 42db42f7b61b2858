#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

struct zip;

namespace orvento::core {
class ProgressScope;
}

namespace orvento::backup {

// True for a name that is a file name alone: no folder ("/" or "\"), no "..", no drive, not
// empty. Only such names are ever read from an archive or written into one.
bool isBareName(const QString& name);

// One entry of a new archive: a file on disk, or (when `filePath` is empty) bytes in memory.
struct PackEntry {
    QString name;
    QString filePath;
    QByteArray data;
};

enum class PackResult { Done, Cancelled, Failed };

// Packs the entries at the highest compression level into a new zip archive at `target`. The
// archive is written beside the target and takes its place only when it is complete, so an
// existing file of that name stays until then and a failure or a cancel leaves no half archive.
// The progress scope follows the packing, and its cancel stops it. `error` carries the zip
// library's words.
PackResult packArchive(const QString& target, const std::vector<PackEntry>& entries,
                       core::ProgressScope& progress, QString& error);

// An archive opened for reading. Entries are found by their bare names, whatever their letter
// case; an entry is only ever extracted to a path the caller names.
class ArchiveReader {
public:
    ArchiveReader();
    ~ArchiveReader();
    ArchiveReader(const ArchiveReader&) = delete;
    ArchiveReader& operator=(const ArchiveReader&) = delete;

    // False with the zip library's words for a file that is no sound zip archive.
    bool open(const QString& path, QString& error);
    // Every entry's name as the archive stores it.
    QStringList entryNames() const;
    bool contains(const QString& name) const;
    // A small entry read whole (up to `limit` bytes); nothing when it is missing, larger or
    // unreadable.
    std::optional<QByteArray> read(const QString& name, qint64 limit) const;

    enum class Extract {
        Done,
        Missing,
        NoSpace,
        LongerThanDeclared,
        WriteFailed,
        Failed,
        Cancelled
    };
    // Streams the entry into the new file `target`. Stops when the entry gives more bytes than
    // it declares or than the target's disk has free; a stopped extraction leaves no file.
    Extract extract(const QString& name, const QString& target, core::ProgressScope* progress,
                    QString& error) const;

private:
    std::optional<quint64> indexOf(const QString& name) const;

    struct Closer {
        void operator()(zip* archive) const;
    };
    std::unique_ptr<zip, Closer> m_archive;
};

} // namespace orvento::backup
