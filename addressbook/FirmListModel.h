#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>

#include <list>
#include <memory>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace orvento::core {
class Database;
class Statement;
} // namespace orvento::core

namespace orvento::addressbook {

// The firms of the address book as the list window shows them, in the order of the sort field
// (Czech order for texts, the ID breaking ties). An address book holds some ten thousand firms:
// a load reads only the IDs and the sort column, over which the quick find runs in memory; the
// other columns of the rows the grid shows are read in small blocks on demand, of which a bounded
// number is kept.
class FirmListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Role {
        IdRole = Qt::UserRole + 10, // the firm's `ID`
        MarkedRole,                 // marked for a bulk command
    };

    explicit FirmListModel(core::Database& db, QObject* parent = nullptr);
    ~FirmListModel() override;

    // The grid's fields in model column order; the header's display text is the field name.
    static const QStringList& fields();
    static bool isSortable(const QString& field);
    // The stored sort field (upper case) of a grid field, or the default `NAZEV`.
    static QString normalisedSortField(const QString& field);

    // Reads the firms in the order of the sort field. False when the query failed; the model is
    // then empty.
    bool load(const QString& sortField);
    // Reads the firms again (after a change here or elsewhere) in the same order.
    bool reload();
    bool sortBy(const QString& field);
    const QString& sortField() const { return m_sortField; }

    qint64 idAt(int row) const;
    std::optional<int> rowOfId(qint64 id) const;
    const std::vector<qint64>& ids() const { return m_ids; }
    QString value(int row, const QString& field) const;

    // The first row in display order whose sort field starts with the text, ignoring case.
    std::optional<int> quickFind(const QString& text) const;

    // Marks, kept in the order they were made; a reload drops the marks of vanished firms.
    void setMarked(int row, bool marked);
    bool isMarked(qint64 id) const { return m_markedSet.contains(id); }
    void markAll();
    void clearMarks();
    const std::vector<qint64>& marks() const { return m_marks; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // How many rows a block holds, and how many blocks are kept at most.
    static constexpr int kBlockRows = 64;
    static constexpr size_t kMaxBlocks = 48;

private:
    using Block = std::vector<QStringList>; // per row one text per field; empty: row gone
    bool read();
    const QStringList* rowAt(int row) const;
    const Block& block(int number) const;

    core::Database& m_db;
    QString m_sortField = QStringLiteral("NAZEV");
    int m_sortColumn = 0;
    std::vector<qint64> m_ids;
    std::vector<QString> m_keys; // the sort column of each row
    std::unordered_map<qint64, int> m_rowOfId;
    // Reads one block of rows by their IDs; prepared once.
    mutable std::unique_ptr<core::Statement> m_blockQuery;
    mutable std::unordered_map<int, Block> m_blocks;
    mutable std::list<int> m_blockUse; // most recently used first
    std::vector<qint64> m_marks;
    std::unordered_set<qint64> m_markedSet;
};

} // namespace orvento::addressbook
