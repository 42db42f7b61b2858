#include "core/sources/Readers.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QTime>

// mdbtools' header needs glib's types first.
#include <glib.h>

#include <mdbtools.h>

#include <cmath>
#include <utility>
#include <vector>

namespace orvento::core::sources {

namespace {

// Room for one value as text; a longer memo is cut here.
constexpr std::size_t bindSize = 64 * 1024;
constexpr double secondsPerDay = 86400.0;
// The engine's dates run from year 100 to year 9999, counted in days from 30 December 1899.
constexpr double firstDay = -657434.0;
constexpr double lastDay = 2958466.0;
const QDate dayZero(1899, 12, 30);
const QString systemTablePrefix = QStringLiteral("MSys");

QString notAccessMessage(const QString& path) {
    return QStringLiteral("Soubor \"%1\" není databází MS Access nebo je poškozený.").arg(path);
}

// An Access date: whole days before or after day zero, and the time of day as the fraction
// (of the day's own length, also before day zero). Read from the stored value, as the
// library's own conversion gives up before 1900 and after the year 4700.
QString accessDateText(double value) {
    if (!std::isfinite(value) || value < firstDay || value >= lastDay)
        return {};
    double day = std::trunc(value);
    qint64 seconds = std::llround(std::fabs(value - day) * secondsPerDay);
    if (seconds >= static_cast<qint64>(secondsPerDay)) {
        seconds -= static_cast<qint64>(secondsPerDay);
        day += 1;
    }
    const QDate date = dayZero.addDays(static_cast<qint64>(day));
    const QTime time = QTime(0, 0).addSecs(static_cast<int>(seconds));
    return date.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ') +
           time.toString(QStringLiteral("HH:mm:ss"));
}

// The library writes whole numbers, currency and decimals itself; a decimal comma, should the
// program's locale reach its formatting, reads too.
std::optional<double> plainNumber(const char* text) {
    return Cell::text(QString::fromLatin1(text)).toNumber();
}

struct CloseDatabase {
    void operator()(MdbHandle* handle) const { mdb_close(handle); }
};
using Database = std::unique_ptr<MdbHandle, CloseDatabase>;

struct FreeTable {
    void operator()(MdbTableDef* table) const { mdb_free_tabledef(table); }
};
using TableDef = std::unique_ptr<MdbTableDef, FreeTable>;

// The database with its catalogue read; nothing, with `error` set, when it is no Access file.
Database openDatabase(const QString& path, QString& error) {
    const QFileInfo info(path);
    if (!info.isFile()) {
        error = QStringLiteral("Soubor \"%1\" neexistuje.").arg(path);
        return nullptr;
    }
    if (!info.isReadable()) {
        error = QStringLiteral("Soubor \"%1\" se nepodařilo otevřít.").arg(path);
        return nullptr;
    }
    Database database(mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS));
    if (!database || !mdb_read_catalog(database.get(), MDB_TABLE)) {
        error = notAccessMessage(path);
        return nullptr;
    }
    mdb_set_bind_size(database.get(), bindSize);
    mdb_set_boolean_fmt_numbers(database.get());
    return database;
}

std::vector<MdbCatalogEntry*> userTables(MdbHandle* database) {
    std::vector<MdbCatalogEntry*> tables;
    for (unsigned int i = 0; i < database->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(database->catalog, i));
        if (entry->object_type != MDB_TABLE || !mdb_is_user_table(entry))
            continue;
        if (QString::fromUtf8(entry->object_name)
                .startsWith(systemTablePrefix, Qt::CaseInsensitive))
            continue;
        tables.push_back(entry);
    }
    return tables;
}

class AccessTable final : public SourceTable {
public:
    AccessTable(Database database, TableDef table, QString name)
        : m_database(std::move(database))
        , m_table(std::move(table))
        , m_name(std::move(name)) {
        const unsigned int count = m_table->num_cols;
        m_values.resize(count);
        for (unsigned int i = 0; i < count; ++i) {
            auto* column = static_cast<MdbColumn*>(g_ptr_array_index(m_table->columns, i));
            m_columns << QString::fromUtf8(column->name);
            m_values[i].assign(bindSize + 1, '\0');
            mdb_bind_column(m_table.get(), static_cast<int>(i) + 1, m_values[i].data(), nullptr);
        }
        mdb_rewind_table(m_table.get());
    }

    QStringList columns() const override { return m_columns; }
    qint64 rowCount() const override { return m_table->num_rows; }

    bool next(Row& row) override {
        if (!m_error.isEmpty() || !mdb_fetch_row(m_table.get())) {
            // The table knows how many rows it holds: fewer means its pages are missing.
            if (m_error.isEmpty() && m_read < rowCount())
                m_error = QStringLiteral("Tabulku \"%1\" se nepodařilo přečíst celou (přečteno %2 "
                                         "z %3 řádků); databáze je pravděpodobně poškozená.")
                              .arg(m_name, QString::number(m_read), QString::number(rowCount()));
            return false;
        }
        ++m_read;
        row.assign(m_values.size(), Cell());
        for (std::size_t i = 0; i < m_values.size(); ++i)
            row[i] = cell(i);
        return true;
    }

    QString error() const override { return m_error; }

private:
    Cell cell(std::size_t index) const {
        auto* column = static_cast<MdbColumn*>(g_ptr_array_index(m_table->columns, index));
        const char* bound = m_values[index].data();
        // A yes/no column keeps its value where others keep their null mark.
        if (column->col_type == MDB_BOOL)
            return Cell::number(bound[0] == '1' ? 1 : 0);
        if (column->cur_value_len == 0)
            return {};
        unsigned char* page = m_database->pg_buf;
        const int start = column->cur_value_start;
        switch (column->col_type) {
        case MDB_FLOAT:
            return Cell::number(mdb_get_single(page, start));
        case MDB_DOUBLE:
            return Cell::number(mdb_get_double(page, start));
        case MDB_DATETIME: {
            const QString text = accessDateText(mdb_get_double(page, start));
            return text.isEmpty() ? Cell() : Cell::text(text);
        }
        case MDB_BYTE:
        case MDB_INT:
        case MDB_LONGINT:
        case MDB_COMPLEX:
        case MDB_MONEY:
        case MDB_NUMERIC: {
            const auto number = plainNumber(bound);
            return number ? Cell::number(*number) : Cell();
        }
        case MDB_TEXT:
        case MDB_MEMO:
        case MDB_REPID: {
            QString text = QString::fromUtf8(bound);
            return text.isEmpty() ? Cell() : Cell::text(std::move(text));
        }
        default: // pictures and other binary values are nothing to import
            return {};
        }
    }

    Database m_database;
    TableDef m_table;
    QString m_name;
    QStringList m_columns;
    std::vector<std::vector<char>> m_values;
    qint64 m_read = 0;
    QString m_error;
};

class AccessSource final : public ImportSource {
public:
    AccessSource(QString path, QStringList tables)
        : m_path(std::move(path))
        , m_tables(std::move(tables)) {}

    QStringList tables() const override { return m_tables; }

    // Each table reads through a database handle of its own, since the library keeps the page
    // being read in the handle.
    std::unique_ptr<SourceTable> openTable(const QString& name, QString& error) override {
        Database database = openDatabase(m_path, error);
        if (!database)
            return nullptr;
        const auto tables = userTables(database.get());
        MdbCatalogEntry* found = nullptr;
        for (MdbCatalogEntry* entry : tables) {
            const QString entryName = QString::fromUtf8(entry->object_name);
            if (entryName == name) {
                found = entry;
                break;
            }
            if (!found && entryName.compare(name, Qt::CaseInsensitive) == 0)
                found = entry;
        }
        if (!found) {
            error = QStringLiteral("Databáze \"%1\" neobsahuje tabulku \"%2\".").arg(m_path, name);
            return nullptr;
        }
        TableDef table(mdb_read_table(found));
        if (!table || !mdb_read_columns(table.get())) {
            error = QStringLiteral("Tabulku \"%1\" databáze \"%2\" se nepodařilo přečíst.")
                        .arg(name, m_path);
            return nullptr;
        }
        return std::make_unique<AccessTable>(std::move(database), std::move(table),
                                             QString::fromUtf8(found->object_name));
    }

private:
    QString m_path;
    QStringList m_tables;
};

} // namespace

std::unique_ptr<ImportSource> openAccessFile(const QString& path, QString& error) {
    Database database = openDatabase(path, error);
    if (!database)
        return nullptr;
    QStringList names;
    for (MdbCatalogEntry* entry : userTables(database.get()))
        names << QString::fromUtf8(entry->object_name);
    return std::make_unique<AccessSource>(path, std::move(names));
}

} // namespace orvento::core::sources
