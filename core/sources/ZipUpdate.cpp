#include "core/sources/ZipUpdate.h"

#include <QFile>

#include <zip.h>

namespace orvento::core::sources {

namespace {

constexpr zip_uint32_t kFastLevel = 1;

QString writeMessage(const QString& path, const char* why) {
    return QStringLiteral("Soubor \"%1\" nelze zapsat: %2").arg(path, QString::fromUtf8(why));
}

} // namespace

bool updateZip(const QString& path, const std::map<QString, QByteArray>& replaced,
               const QStringList& removed, QString& error) {
    int code = 0;
    zip* archive = zip_open(QFile::encodeName(path).constData(), ZIP_CHECKCONS, &code);
    if (!archive) {
        zip_error_t e;
        zip_error_init_with_code(&e, code);
        error = writeMessage(path, zip_error_strerror(&e));
        zip_error_fini(&e);
        return false;
    }
    const auto fail = [&] {
        error = writeMessage(path, zip_strerror(archive));
        zip_discard(archive);
        return false;
    };
    for (const QString& name : removed) {
        const zip_int64_t at = zip_name_locate(archive, name.toUtf8().constData(), ZIP_FL_NOCASE);
        if (at >= 0 && zip_delete(archive, static_cast<zip_uint64_t>(at)) != 0)
            return fail();
    }
    for (const auto& [name, data] : replaced) {
        // libzip reads the buffer when the archive is closed: the map outlives that.
        zip_source_t* source =
            zip_source_buffer(archive, data.constData(), static_cast<zip_uint64_t>(data.size()), 0);
        if (!source)
            return fail();
        const QByteArray entry = name.toUtf8();
        zip_int64_t at = zip_name_locate(archive, entry.constData(), ZIP_FL_NOCASE);
        if (at >= 0) {
            if (zip_file_replace(archive, static_cast<zip_uint64_t>(at), source,
                                 ZIP_FL_ENC_UTF_8) != 0)
                at = -1;
        } else {
            at = zip_file_add(archive, entry.constData(), source, ZIP_FL_ENC_UTF_8);
        }
        if (at < 0) {
            zip_source_free(source);
            return fail();
        }
        // A fast level: the parts written here can be large, and they shrink nearly as well.
        if (zip_set_file_compression(archive, static_cast<zip_uint64_t>(at), ZIP_CM_DEFLATE,
                                     kFastLevel) != 0)
            return fail();
    }
    if (zip_close(archive) != 0)
        return fail();
    return true;
}

} // namespace orvento::core::sources
