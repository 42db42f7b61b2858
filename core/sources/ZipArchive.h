#pragma once

#include <QByteArray>
#include <QString>
#include <QXmlStreamReader>

#include <functional>
#include <memory>
#include <optional>

struct zip;
struct zip_file;

namespace orvento::core::sources {

// A zip file opened read-only, whose entries are unpacked under one budget: a hostile file that
// unpacks to gigabytes ends with a Czech message after the budget, never with the memory spent.
class ZipArchive {
public:
    // Enough for any sheet a workstation can hold in memory.
    static constexpr qint64 defaultBudget = 256LL * 1024 * 1024;

    // Nothing, with a Czech message in `error`, when the file is no zip or cannot be read.
    static std::unique_ptr<ZipArchive> open(const QString& path, QString& error,
                                            qint64 budget = defaultBudget);
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    bool contains(const QString& name) const;
    // A new budget for the next piece of work (one sheet with what it needs).
    void renewBudget() { m_left = m_budget; }
    // The whole entry; nothing, with `error` set, when it is missing, damaged or over budget.
    std::optional<QByteArray> read(const QString& name, QString& error);

    // One entry read piece by piece, each piece counted against the archive's budget.
    class Entry {
    public:
        ~Entry();
        Entry(const Entry&) = delete;
        Entry& operator=(const Entry&) = delete;
        // The next piece; an empty one at the end. False, with `error` set, on a fault.
        bool readPiece(QByteArray& piece, QString& error);

    private:
        friend class ZipArchive;
        Entry(ZipArchive& archive, zip_file* file, QString name);
        ZipArchive& m_archive;
        zip_file* m_file;
        QString m_name;
    };
    std::unique_ptr<Entry> openEntry(const QString& name, QString& error);

private:
    ZipArchive(zip* archive, QString path, qint64 budget);
    bool spend(qint64 bytes, const QString& name, QString& error);
    QString damagedMessage(const QString& name) const;

    zip* m_zip;
    QString m_path;
    qint64 m_budget;
    qint64 m_left;
};

// An XML entry read token by token, unpacked only as far as the parser has come.
class ZipXmlStream {
public:
    // Nothing, with `error` set, when the entry cannot be opened.
    static std::unique_ptr<ZipXmlStream> open(ZipArchive& archive, const QString& name,
                                              QString& error);

    // The next token; false at the end of the document or on a fault, which error() tells.
    bool next();
    QXmlStreamReader& xml() { return m_xml; }
    // Empty after a whole, well-formed document.
    QString error() const { return m_error; }
    // Hands every token to `take` until the end; false, with `error` set by `take` or by the
    // stream, when either fails.
    bool forEach(const std::function<bool(QXmlStreamReader&)>& take, QString& error);

private:
    ZipXmlStream(std::unique_ptr<ZipArchive::Entry> entry, QString name);

    std::unique_ptr<ZipArchive::Entry> m_entry;
    QString m_name;
    QXmlStreamReader m_xml;
    QString m_error;
    bool m_drained = false;
};

} // namespace orvento::core::sources
