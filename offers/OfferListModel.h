#pragma once

#include "offers/OfferFilter.h"

#include <QAbstractTableModel>
#include <QDate>
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

namespace orvento::offers {

// The rows of the offer list over an agenda that may hold 50,000 offers. A load reads only the
// IDs of the rows the user may see and the filter lets through, in the sort order; the columns of
// the rows the grid shows are read in small blocks on demand, of which a bounded number is kept.
// Sorting, filtering and the quick find run in SQL, with every value bound.
class OfferListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Role {
        IdRole = Qt::UserRole + 10, // the offer's `ID`
        StateRole,                  // `IDStav`
        ExpiredRole,                // an open offer whose validity date has passed: bold
        MarkedRole,                 // marked for a bulk command
        RawValueRole,               // the stored value, unformatted
    };

    explicit OfferListModel(core::Database& db, QObject* parent = nullptr);
    ~OfferListModel() override;

    // The grid's fields in model column order; the header's display text is the field name.
    static const QStringList& fields();
    static bool isSortable(const QString& field);
    // The sort field as stored (upper case), or empty for none, which lists the offers in the
    // order they were made.
    static QString normalisedSortField(const QString& field);

    // Which offers the user may see at all, and the filter on top; both apply from the next load.
    void setVisibility(SqlCondition condition) { m_visibility = std::move(condition); }
    void setFilter(SqlCondition condition) { m_filter = std::move(condition); }
    // Reads the IDs again (after a change here or elsewhere), keeping order and filter. False
    // when the query failed; the model is then empty.
    bool reload();
    bool sortBy(const QString& field);
    const QString& sortField() const { return m_sortField; }
    void setSortField(const QString& field) { m_sortField = normalisedSortField(field); }
    // The condition of the rows shown now (visibility and filter), for sums over them.
    SqlCondition shownCondition() const;

    qint64 idAt(int row) const;
    std::optional<int> rowOfId(qint64 id) const;
    const std::vector<qint64>& ids() const { return m_ids; }
    QVariant value(int row, const QString& field) const;

    // The first row in display order whose sort field, as the grid shows it, starts with the
    // text, ignoring case; nothing without a sort field.
    std::optional<int> quickFind(const QString& text) const;

    // Marks, kept in the order they were made.
    void setMarked(int row, bool marked);
    bool isMarked(qint64 id) const { return m_markedSet.contains(id); }
    void markAll();
    void clearMarks();
    const std::vector<qint64>& marks() const { return m_marks; }
    // The marked IDs in the list's order.
    std::vector<qint64> marksInListOrder() const;

    // The profit column is blank while purchase prices and profit are hidden.
    void setProfitVisible(bool visible);
    bool profitVisible() const { return m_profitVisible; }

    // The day against which validity dates count as passed.
    void setToday(const QDate& today) { m_today = today; }

    static constexpr int kBlockRows = 64;
    static constexpr size_t kMaxBlocks = 48;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    struct Row {
        std::vector<QVariant> values; // one per field, then IDStav
    };
    using Block = std::vector<Row>;

    QString orderBy() const;
    bool readIds();
    const Row* rowAt(int row) const;
    const Block* block(int number) const;
    void dropCache();
    bool isExpired(const Row& row) const;

    core::Database& m_db;
    mutable std::unique_ptr<core::Statement> m_blockQuery;
    SqlCondition m_visibility;
    SqlCondition m_filter;
    QString m_sortField = QStringLiteral("DOKLAD");
    std::vector<qint64> m_ids;
    mutable std::unordered_map<int, Block> m_blocks;
    mutable std::list<int> m_blockUse; // most recently used first
    std::vector<qint64> m_marks;
    std::unordered_set<qint64> m_markedSet;
    QDate m_today = QDate::currentDate();
    bool m_profitVisible = false;
};

} // namespace orvento::offers
