#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>

#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace orvento::core {
class Database;
}

namespace orvento::addressbook {

// The firms of the address book as the list window shows them, in the order of the sort field
// (Czech order for texts, the ID breaking ties). An address book holds some ten thousand firms:
// the grid's columns are read in one query, and the quick find runs over the sort column in
// memory, so that a key answers at once.
class FirmListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Role {
        IdRole = Qt::UserRole + 10, // the firm's `ID`
        MarkedRole,                 // marked for a bulk command
    };

    explicit FirmListModel(core::Database& db, QObject* parent = nullptr);

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

private:
    bool read();

    core::Database& m_db;
    QString m_sortField = QStringLiteral("NAZEV");
    int m_sortColumn = 0;
    std::vector<qint64> m_ids;
    std::vector<QStringList> m_rows; // one text per field
    std::unordered_map<qint64, int> m_rowOfId;
    std::vector<qint64> m_marks;
    std::unordered_set<qint64> m_markedSet;
};

} // namespace orvento::addressbook
