#include "core/sources/ZipArchive.h"

#include <QFile>

#include <zip.h>

#include <utility>

namespace orvento::core::sources {

namespace {

constexpr qsizetype pieceSize = 64 * 1024;

QString openMessage(const QString& path, int code) {
    switch (code) {
    case ZIP_ER_NOENT:
    case ZIP_ER_OPEN:
        return QStringLiteral("Soubor \"%1\" se nepodařilo otevřít.").arg(path);
    default:
        return QStringLiteral("Soubor \"%1\" je poškozený nebo neúplný a nelze jej přečíst.")
            .arg(path);
    }
}

} // namespace

std::unique_ptr<ZipArchive> ZipArchive::open(const QString& path, QString& error, qint64 budget) {
    if (!QFile::exists(path)) {
        error = QStringLiteral("Soubor \"%1\" neexistuje.").arg(path);
        return nullptr;
    }
    int code = 0;
    // The consistency check refuses a cut-off file whose directory no longer matches.
    zip* archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
    if (!archive) {
        error = openMessage(path, code);
        return nullptr;
    }
    return std::unique_ptr<ZipArchive>(new ZipArchive(archive, path, budget));
}

ZipArchive::ZipArchive(zip* archive, QString path, qint64 budget)
    : m_zip(archive)
    , m_path(std::move(path))
    , m_budget(budget)
    , m_left(budget) {}

ZipArchive::~ZipArchive() {
    zip_discard(m_zip);
}

// Part names are compared without regard to letter case, as the package formats want.
bool ZipArchive::contains(const QString& name) const {
    return zip_name_locate(m_zip, name.toUtf8().constData(), ZIP_FL_NOCASE) >= 0;
}

QString ZipArchive::damagedMessage(const QString& name) const {
    return QStringLiteral("Soubor \"%1\" je poškozený: část \"%2\" nelze rozbalit.")
        .arg(m_path, name);
}

bool ZipArchive::spend(qint64 bytes, const QString& name, QString& error) {
    if (bytes > m_left) {
        error = QStringLiteral("Soubor \"%1\" se rozbaluje do nepřiměřené velikosti (část \"%2\"); "
                               "nebude načten.")
                    .arg(m_path, name);
        m_left = 0;
        return false;
    }
    m_left -= bytes;
    return true;
}

std::unique_ptr<ZipArchive::Entry> ZipArchive::openEntry(const QString& name, QString& error) {
    const QByteArray utf8 = name.toUtf8();
    const zip_int64_t index = zip_name_locate(m_zip, utf8.constData(), ZIP_FL_NOCASE);
    if (index < 0) {
        error =
            QStringLiteral("Soubor \"%1\" není úplný: chybí v něm část \"%2\".").arg(m_path, name);
        return nullptr;
    }
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(m_zip, static_cast<zip_uint64_t>(index), 0, &stat) != 0) {
        error = damagedMessage(name);
        return nullptr;
    }
    // The declared size is refused before anything is unpacked; the real one is counted as it
    // comes, as a forged header may understate it.
    if ((stat.valid & ZIP_STAT_SIZE) != 0 && static_cast<qint64>(stat.size) > m_left) {
        spend(static_cast<qint64>(stat.size), name, error);
        return nullptr;
    }
    zip_file* file = zip_fopen_index(m_zip, static_cast<zip_uint64_t>(index), 0);
    if (!file) {
        error = damagedMessage(name);
        return nullptr;
    }
    return std::unique_ptr<Entry>(new Entry(*this, file, name));
}

std::optional<QByteArray> ZipArchive::read(const QString& name, QString& error) {
    auto entry = openEntry(name, error);
    if (!entry)
        return std::nullopt;
    QByteArray whole;
    QByteArray piece;
    while (true) {
        if (!entry->readPiece(piece, error))
            return std::nullopt;
        if (piece.isEmpty())
            return whole;
        whole += piece;
    }
}

ZipArchive::Entry::Entry(ZipArchive& archive, zip_file* file, QString name)
    : m_archive(archive)
    , m_file(file)
    , m_name(std::move(name)) {}

ZipArchive::Entry::~Entry() {
    zip_fclose(m_file);
}

bool ZipArchive::Entry::readPiece(QByteArray& piece, QString& error) {
    piece.resize(pieceSize);
    const zip_int64_t got = zip_fread(m_file, piece.data(), static_cast<zip_uint64_t>(pieceSize));
    if (got < 0) {
        piece.clear();
        error = m_archive.damagedMessage(m_name);
        return false;
    }
    piece.resize(static_cast<qsizetype>(got));
    return m_archive.spend(got, m_name, error);
}

std::unique_ptr<ZipXmlStream> ZipXmlStream::open(ZipArchive& archive, const QString& name,
                                                 QString& error) {
    auto entry = archive.openEntry(name, error);
    if (!entry)
        return nullptr;
    return std::unique_ptr<ZipXmlStream>(new ZipXmlStream(std::move(entry), name));
}

ZipXmlStream::ZipXmlStream(std::unique_ptr<ZipArchive::Entry> entry, QString name)
    : m_entry(std::move(entry))
    , m_name(std::move(name)) {}

bool ZipXmlStream::next() {
    if (!m_error.isEmpty())
        return false;
    while (true) {
        m_xml.readNext();
        if (m_xml.error() == QXmlStreamReader::PrematureEndOfDocumentError && !m_drained) {
            QByteArray piece;
            if (!m_entry->readPiece(piece, m_error))
                return false;
            // After the last piece a premature end is a cut-off document, told below.
            if (piece.isEmpty())
                m_drained = true;
            else
                m_xml.addData(piece);
            continue;
        }
        if (m_xml.hasError()) {
            m_error = QStringLiteral("Část \"%1\" sešitu je poškozená nebo neúplná (řádek %2).")
                          .arg(m_name, QString::number(m_xml.lineNumber()));
            return false;
        }
        return m_xml.tokenType() != QXmlStreamReader::EndDocument;
    }
}

bool ZipXmlStream::forEach(const std::function<bool(QXmlStreamReader&)>& take, QString& error) {
    while (next()) {
        if (!take(m_xml))
            return false;
    }
    if (!m_error.isEmpty()) {
        error = m_error;
        return false;
    }
    return true;
}

} // namespace orvento::core::sources
