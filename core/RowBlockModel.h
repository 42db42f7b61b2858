#pragma once

#include "core/Database.h"

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>

#include <functional>
#include <list>
#include <memory>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace orvento::core {

class Statement;

// A grid over a table that may hold 100,000 rows. It never reads every row: a load reads only
// the IDs in the display order, and the columns of the rows the grid shows are read in small
// blocks on demand, of which a bounded number is kept. Marks are kept by ID, in the order they
// were made. Subclasses say which rows, in which order, and how a value is shown.
class RowBlockModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // How many rows one block holds, and how many blocks are held at most.
    static constexpr int kBlockRows = 64;
    static constexpr size_t kMaxBlocks = 48;

    ~RowBlockModel() override;

    qint64 idAt(int row) const;
    std::optional<int> rowOfId(qint64 id) const;
    const std::vector<qint64>& ids() const { return m_ids; }
    size_t cachedBlocks() const { return m_blocks.size(); }

    void setMarked(int row, bool marked);
    bool isMarked(qint64 id) const { return m_markedSet.contains(id); }
    void markAll();
    void clearMarks();
    const std::vector<qint64>& marks() const { return m_marks; }
    // The marked IDs in the display order.
    std::vector<qint64> marksInListOrder() const;

    int rowCount(const QModelIndex& parent = {}) const override;

protected:
    // `columns` are read for every row, in this order; `markedRole` is the role whose value
    // changes with the marks.
    RowBlockModel(Database& db, QString table, QStringList columns, int markedRole,
                  QObject* parent);

    // Reads the IDs with a query whose first column is the ID, as a model reset; no statement
    // leaves the model empty. `eachRow`, when given, sees every row of the query as it is read
    // (for what a subclass keeps beside the IDs). False when the query failed; the model is then
    // empty.
    bool resetIds(const QString& sql, const SqlParams& params,
                  const std::function<void(const QSqlQuery&)>& eachRow = {});
    // Marks of rows that are no longer shown go with them.
    void dropMarksNotShown();
    // The stored values of a row (one per column), or nothing for a row out of range or one
    // deleted since the IDs were read.
    const std::vector<QVariant>* rowValues(int row) const;
    Database& db() const { return m_db; }

private:
    using Block = std::vector<std::vector<QVariant>>;
    const Block* block(int number) const;

    Database& m_db;
    QString m_table;
    QStringList m_columns;
    int m_markedRole;
    // Reads one block of rows by their IDs; prepared once.
    mutable std::unique_ptr<Statement> m_blockQuery;
    std::vector<qint64> m_ids;
    std::unordered_map<qint64, int> m_rowOfId;
    mutable std::unordered_map<int, Block> m_blocks;
    mutable std::list<int> m_blockUse; // most recently used first
    std::vector<qint64> m_marks;
    std::unordered_set<qint64> m_markedSet;
};

} // namespace orvento::core
