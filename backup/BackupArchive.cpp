#include "backup/BackupArchive.h"

#include "core/ProgressScope.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <zip.h>

#include <algorithm>
#include <cmath>

namespace orvento::backup {

namespace {

constexpr int kCompressionLevel = 9;
constexpr int kPercent = 100;
// How finely libzip reports its progress (one hundredth).
constexpr double kProgressPrecision = 0.01;
constexpr qint64 kChunkBytes = 1 << 20;

QByteArray nativePath(const QString& path) {
    return QFile::encodeName(QDir::toNativeSeparators(path));
}

QString zipErrorText(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    QString text = QString::fromUtf8(zip_error_strerror(&error));
    zip_error_fini(&error);
    return text;
}

// The packing's own state for libzip's callbacks, which get it back as a void pointer.
struct PackState {
    core::ProgressScope& progress;
};

void onProgress(zip_t*, double fraction, void* state) {
    auto* pack = static_cast<PackState*>(state);
    pack->progress.step(
        std::clamp(static_cast<int>(std::lround(fraction * kPercent)), 1, kPercent));
}

int onCancel(zip_t*, void* state) {
    return static_cast<PackState*>(state)->progress.cancelled() ? 1 : 0;
}

} // namespace

bool isBareName(const QString& name) {
    if (name.trimmed().isEmpty() || name.contains(QLatin1Char('/')) ||
        name.contains(QLatin1Char('\\')) || name.contains(QStringLiteral("..")) ||
        name.contains(QLatin1Char(':')) || name.contains(QChar(0)))
        return false;
    return name != QStringLiteral(".");
}

PackResult packArchive(const QString& target, const std::vector<PackEntry>& entries,
                       core::ProgressScope& progress, QString& error) {
    int code = 0;
    zip_t* archive = zip_open(nativePath(target).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!archive) {
        error = zipErrorText(code);
        return PackResult::Failed;
    }
    const auto fail = [&](PackResult result) {
        error = QString::fromUtf8(zip_strerror(archive));
        zip_discard(archive);
        return result;
    };
    for (const PackEntry& entry : entries) {
        if (!isBareName(entry.name)) {
            zip_discard(archive);
            error = QStringLiteral("nepřípustný název položky \"%1\"").arg(entry.name);
            return PackResult::Failed;
        }
        // A buffer is read only at zip_close(); the entries outlive it.
        zip_source_t* source =
            entry.filePath.isEmpty()
                ? zip_source_buffer(archive, entry.data.constData(),
                                    static_cast<zip_uint64_t>(entry.data.size()), 0)
                : zip_source_file(archive, nativePath(entry.filePath).constData(), 0, 0);
        if (!source)
            return fail(PackResult::Failed);
        const zip_int64_t index = zip_file_add(archive, entry.name.toUtf8().constData(), source,
                                               ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE);
        if (index < 0) {
            zip_source_free(source);
            return fail(PackResult::Failed);
        }
        if (zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE,
                                     kCompressionLevel) != 0)
            return fail(PackResult::Failed);
    }
    PackState state{progress};
    zip_register_progress_callback_with_state(archive, kProgressPrecision, onProgress, nullptr,
                                              &state);
    zip_register_cancel_callback_with_state(archive, onCancel, nullptr, &state);
    if (zip_close(archive) != 0) {
        const bool cancelled =
            zip_error_code_zip(zip_get_error(archive)) == ZIP_ER_CANCELLED || progress.cancelled();
        return fail(cancelled ? PackResult::Cancelled : PackResult::Failed);
    }
    return PackResult::Done;
}

void ArchiveReader::Closer::operator()(zip* archive) const {
    zip_discard(archive);
}

ArchiveReader::ArchiveReader() = default;
ArchiveReader::~ArchiveReader() = default;

bool ArchiveReader::open(const QString& path, QString& error) {
    m_archive.reset();
    if (!QFileInfo(path).isFile()) {
        error = zipErrorText(ZIP_ER_NOENT);
        return false;
    }
    int code = 0;
    zip_t* archive = zip_open(nativePath(path).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
    if (!archive) {
        error = zipErrorText(code);
        return false;
    }
    m_archive.reset(archive);
    return true;
}

QStringList ArchiveReader::entryNames() const {
    QStringList names;
    if (!m_archive)
        return names;
    const zip_int64_t count = zip_get_num_entries(m_archive.get(), 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* name = zip_get_name(m_archive.get(), static_cast<zip_uint64_t>(i), 0);
        if (name)
            names << QString::fromUtf8(name);
    }
    return names;
}

std::optional<quint64> ArchiveReader::indexOf(const QString& name) const {
    if (!m_archive || !isBareName(name))
        return std::nullopt;
    const zip_int64_t index =
        zip_name_locate(m_archive.get(), name.toUtf8().constData(), ZIP_FL_NOCASE);
    if (index < 0)
        return std::nullopt;
    return static_cast<quint64>(index);
}

bool ArchiveReader::contains(const QString& name) const {
    return indexOf(name).has_value();
}

std::optional<QByteArray> ArchiveReader::read(const QString& name, qint64 limit) const {
    const auto index = indexOf(name);
    if (!index)
        return std::nullopt;
    zip_stat_t stat;
    if (zip_stat_index(m_archive.get(), *index, 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE) ||
        stat.size > static_cast<zip_uint64_t>(limit))
        return std::nullopt;
    zip_file_t* file = zip_fopen_index(m_archive.get(), *index, 0);
    if (!file)
        return std::nullopt;
    // One byte more than declared shows an entry that lies about its size.
    QByteArray bytes(static_cast<qsizetype>(stat.size) + 1, '\0');
    const zip_int64_t got = zip_fread(file, bytes.data(), static_cast<zip_uint64_t>(bytes.size()));
    zip_fclose(file);
    if (got < 0 || static_cast<zip_uint64_t>(got) != stat.size)
        return std::nullopt;
    bytes.truncate(static_cast<qsizetype>(got));
    return bytes;
}

ArchiveReader::Extract ArchiveReader::extract(const QString& name, const QString& target,
                                              core::ProgressScope* progress, QString& error) const {
    const auto index = indexOf(name);
    if (!index)
        return Extract::Missing;
    zip_stat_t stat;
    if (zip_stat_index(m_archive.get(), *index, 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE)) {
        error = QString::fromUtf8(zip_strerror(m_archive.get()));
        return Extract::Failed;
    }
    const QStorageInfo disk(QFileInfo(target).absolutePath());
    if (disk.isValid() &&
        static_cast<zip_uint64_t>(std::max<qint64>(disk.bytesAvailable(), 0)) < stat.size)
        return Extract::NoSpace;
    zip_file_t* file = zip_fopen_index(m_archive.get(), *index, 0);
    if (!file) {
        error = QString::fromUtf8(zip_strerror(m_archive.get()));
        return Extract::Failed;
    }
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        zip_fclose(file);
        error = out.errorString();
        return Extract::WriteFailed;
    }
    const auto stop = [&](Extract result) {
        zip_fclose(file);
        out.close();
        out.remove();
        return result;
    };
    QByteArray chunk(kChunkBytes, '\0');
    zip_uint64_t written = 0;
    for (;;) {
        const zip_int64_t got =
            zip_fread(file, chunk.data(), static_cast<zip_uint64_t>(chunk.size()));
        if (got < 0) {
            error = QString::fromUtf8(zip_file_strerror(file));
            return stop(Extract::Failed);
        }
        if (got == 0)
            break;
        written += static_cast<zip_uint64_t>(got);
        if (written > stat.size)
            return stop(Extract::LongerThanDeclared);
        if (out.write(chunk.constData(), got) != got) {
            error = out.errorString();
            return stop(Extract::WriteFailed);
        }
        if (progress && stat.size > 0 &&
            !progress->step(static_cast<int>(written * kPercent / stat.size)))
            return stop(Extract::Cancelled);
    }
    if (written != stat.size)
        return stop(Extract::Failed);
    if (!out.flush()) {
        error = out.errorString();
        return stop(Extract::WriteFailed);
    }
    zip_fclose(file);
    out.close();
    return Extract::Done;
}

} // namespace orvento::backup
