#pragma once

#include "core/RowBlockModel.h"
#include "core/SqlCondition.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace orvento::catalogue {

// The items grid of the catalogue window over a sheet or a group that may hold 100,000 items:
// the IDs in the display order, the columns read on demand. Sorting and the quick find run in
// SQL in the Czech order, so the grid and the quick find agree on which row comes first.
class CatalogueItemsModel : public core::RowBlockModel {
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
    // The ORDER BY text (without the keywords) of the grid's order by a sort field: one of the
    // fields above whatever is passed, ties broken by ID, texts in the Czech order.
    static QString orderByClause(const QString& sortField);

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

    QVariant value(int row, const QString& field) const;

    // A condition every row shown must meet besides its sheet or group (the catalogue filter);
    // it holds for the order, the quick find and every reload until it is replaced. Takes effect
    // at the next load or reload.
    void setFilter(core::SqlCondition condition) { m_filter = std::move(condition); }
    const core::SqlCondition& filter() const { return m_filter; }
    bool filtered() const { return !m_filter.empty(); }

    // The first row in display order whose sort field starts with the text, ignoring case.
    std::optional<int> quickFind(const QString& text) const;

    // The purchase price column is blank while purchase prices are hidden.
    void setPurchasePricesVisible(bool visible);

    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QString ownerColumn() const;
    QString orderBy() const;
    bool readIds();
    std::optional<int> findByRange(const QString& text) const;
    std::optional<int> findByScan(const QString& text) const;
    core::SqlParams withFilter(core::SqlParams params) const;

    Scope m_scope = Scope::Nothing;
    qint64 m_ownerId = 0;
    QString m_sortField = QStringLiteral("POPIS");
    bool m_purchasePricesVisible = false;
    core::SqlCondition m_filter;
};

} // namespace orvento::catalogue
