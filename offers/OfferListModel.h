#pragma once

#include "core/RowBlockModel.h"
#include "offers/OfferFilter.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>

namespace orvento::offers {

// The rows of the offer list over an agenda that may hold 50,000 offers: the IDs of the offers the
// user may see and the filter lets through, in the sort order, their columns read on demand.
// Sorting, filtering and the quick find run in SQL, with every value bound.
class OfferListModel : public core::RowBlockModel {
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

    QVariant value(int row, const QString& field) const;

    // The first row in display order whose sort field, as the grid shows it, starts with the
    // text, ignoring case; nothing without a sort field.
    std::optional<int> quickFind(const QString& text) const;

    // The profit column is blank while purchase prices and profit are hidden.
    void setProfitVisible(bool visible);
    bool profitVisible() const { return m_profitVisible; }

    // The day against which validity dates count as passed.
    void setToday(const QDate& today) { m_today = today; }

    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QString orderBy() const;
    // The values of a row: one per field, then `IDStav`.
    bool isExpired(const std::vector<QVariant>& row) const;

    SqlCondition m_visibility;
    SqlCondition m_filter;
    QString m_sortField = QStringLiteral("DOKLAD");
    QDate m_today = QDate::currentDate();
    bool m_profitVisible = false;
};

} // namespace orvento::offers
