#pragma once

#include "core/RowBlockModel.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace orvento::addressbook {

// The firms of the address book as the list window shows them, in the order of the sort field
// (Czech order for texts, the ID breaking ties). A load reads the IDs and the sort column, over
// which the quick find runs in memory; the other columns come in blocks as the grid shows them.
class FirmListModel : public core::RowBlockModel {
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

    // Reads the firms in the order of the sort field; the marks of firms that are gone go with
    // them. False when the query failed; the model is then empty.
    bool load(const QString& sortField);
    // Reads the firms again (after a change here or elsewhere) in the same order.
    bool reload();
    bool sortBy(const QString& field);
    const QString& sortField() const { return m_sortField; }

    QString value(int row, const QString& field) const;

    // The first row in display order whose sort field starts with the text, ignoring case.
    std::optional<int> quickFind(const QString& text) const;

    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QString m_sortField = QStringLiteral("NAZEV");
    int m_sortColumn = 0;
    std::vector<QString> m_keys; // the sort column of each row
};

} // namespace orvento::addressbook
