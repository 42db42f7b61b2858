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

namespace orvento::catalogue {

// The items grid of the catalogue window over a sheet or a group that may hold 100,000 items.
// It never reads every row: a load reads only the IDs in the display order, and the columns of
// the rows the grid shows are fetched in small blocks on demand, of which a bounded number is
// kept. Sorting and the quick find run in SQL in the Czech order, so the grid and the quick find
// agree on which row comes first.
class CatalogueItemsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Role {
        IdRole = Qt::UserRole + 10, // the item's `ID`
        ErrorRole,                  // `Chyba`: the item's prices must be recomputed
        MarkedRole,                 // marked for a bulk command
        RawValueRole,               // the stored value, unformatted
    };
    enum class Scope { Nothing, Sheet, Group };

    explicit CatalogueItemsModel(core::Database& db, QObject* parent = nullptr);
    ~CatalogueItemsModel() override;

    // The grid's fields in model column order; the header's display text is the field name.
    static const QStringList& fields();
    static bool isSortable(const QString& field);
    // The stored sort field (upper case) of a grid field, or the default `POPIS`.
    static QString normalisedSortField(const QString& field);

    // The items of a sheet or a group, in the order of the sort field. False when the query
    // failed; the model is then empty.
    bool load(Scope scope, qint64 ownerId, const QString& sortField);
    void clear();
    // Reads the IDs again (after a change here or elsewhere), keeping scope and order.
    bool reload();
    bool sortBy(const QString& field);
    const QString& sortField() const { return m_sortField; }
    Scope scope() const { return m_scope; }
    qint64 ownerId() const { return m_ownerId; }

    qint64 idAt(int row) const;
    std::optional<int> rowOfId(qint64 id) const;
    const std::vector<qint64>& ids() const { return m_ids; }
    QVariant value(int row, const QString& field) const;

    // The first row in display order whose sort field starts with the text, ignoring case.
    std::optional<int> quickFind(const QString& text) const;

    // Marks, kept in the order they were made.
    void setMarked(int row, bool marked);
    bool isMarked(qint64 id) const { return m_markedSet.contains(id); }
    void markAll();
    void clearMarks();
    const std::vector<qint64>& marks() const { return m_marks; }

    // The purchase price column is blank while purchase prices are hidden.
    void setPurchasePricesVisible(bool visible);

    // How many blocks of rows are held at most, and how many are held now.
    static constexpr int kBlockRows = 64;
    static constexpr size_t kMaxBlocks = 48;
    size_t cachedBlocks() const { return m_blocks.size(); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    struct Row {
        std::vector<QVariant> values; // one per field, then Chyba
    };
    using Block = std::vector<Row>;

    QString ownerColumn() const;
    QString orderBy() const;
    bool readIds();
    const Row* rowAt(int row) const;
    const Block* block(int number) const;
    std::optional<int> findByRange(const QString& text) const;
    std::optional<int> findByScan(const QString& text) const;
    void dropCache();

    core::Database& m_db;
    // Reads one block of rows by their IDs; prepared once.
    mutable std::unique_ptr<core::Statement> m_blockQuery;
    Scope m_scope = Scope::Nothing;
    qint64 m_ownerId = 0;
    QString m_sortField = QStringLiteral("POPIS");
    std::vector<qint64> m_ids;
    mutable std::unordered_map<int, Block> m_blocks;
    mutable std::list<int> m_blockUse; // most recently used first
    std::vector<qint64> m_marks;
    std::unordered_set<qint64> m_markedSet;
    bool m_purchasePricesVisible = false;
};

} // namespace orvento::catalogue
