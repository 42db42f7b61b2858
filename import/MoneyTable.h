#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

#include <functional>
#include <memory>

namespace orvento::import {

// One table of the Money accounting system as the import reads it: open, move through the
// records in the order of the current index, seek by leading keys and read a field of the
// current record by name. The result codes are the ones the import relies on.
class MoneyTable {
public:
    static constexpr int kOpened = 0;
    static constexpr int kIndexSet = 0;
    static constexpr int kNoFurtherRecord = 1; // next() past the last record
    static constexpr int kMoved = 0;           // next() onto a following record
    static constexpr int kNotFound = 2;
    static constexpr int kFound = 7;
    static constexpr int kFailed = -1;

    virtual ~MoneyTable() = default;

    // `path` is the table's file without its ".dat"; `fields` are the fields the import reads
    // (and indexes by), each of which the table must have. kOpened, else why() tells in Czech.
    virtual int open(const QString& path, const QStringList& fields) = 0;
    virtual void close() = 0;
    virtual qint64 recordCount() const = 0;
    virtual void first() = 0;
    virtual int next() = 0;
    // The first record whose leading index fields equal the keys: kFound and positioned there,
    // else kNotFound with the position unchanged.
    virtual int seek(const QVariant& key) = 0;
    virtual int seekKeys(const QVariantList& keys) = 0;
    // Fields joined by "+" ("Sklad+Cislo"); kIndexSet, else why() tells.
    virtual int setIndex(const QString& name) = 0;
    // The current record's field (a number, a text, or null when empty).
    virtual QVariant value(const QString& field) const = 0;
    virtual QString why() const = 0;
};

using MoneyTableFactory = std::function<std::unique_ptr<MoneyTable>()>;

} // namespace orvento::import
