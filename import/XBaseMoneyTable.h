#pragma once

#include "import/MoneyTable.h"

#include <QHash>

#include <optional>
#include <vector>

namespace orvento::import {

// A Money table read from its xBase file (dBase or FoxPro under a ".dat" name) by the program's
// dBase reader. The fields asked for are read into memory when the table opens, so the import
// sees the file as it was then, whatever Money writes meanwhile. Index files are not read: an
// index is the records sorted in memory by its fields (numbers as numbers, texts as text).
class XBaseMoneyTable final : public MoneyTable {
public:
    int open(const QString& path, const QStringList& fields) override;
    void close() override;
    qint64 recordCount() const override { return static_cast<qint64>(m_order.size()); }
    void first() override { m_at = 0; }
    int next() override;
    int seek(const QVariant& key) override { return seekKeys({key}); }
    int seekKeys(const QVariantList& keys) override;
    int setIndex(const QString& name) override;
    QVariant value(const QString& field) const override;
    QString why() const override { return m_why; }

    static MoneyTableFactory factory();

private:
    // One field's values in record order; a field holds numbers or texts, never both.
    struct Column {
        bool numeric = false;
        bool kindKnown = false;
        std::vector<double> numbers;
        std::vector<QString> texts;
    };

    std::optional<qsizetype> columnOf(const QString& field) const;
    // <0, 0, >0 as record `record` sorts before, with or after `key` in column `column`.
    int compareToKey(const Column& column, std::size_t record, const QVariant& key) const;

    std::vector<Column> m_columns;
    QHash<QString, qsizetype> m_byName; // case-folded field name -> column
    std::vector<std::size_t> m_order;   // record numbers in the current index's order
    std::vector<qsizetype> m_index;     // the columns of the current index
    std::size_t m_at = 0;
    QString m_why;
};

} // namespace orvento::import
