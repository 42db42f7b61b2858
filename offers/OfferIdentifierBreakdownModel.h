#pragma once

#include <QAbstractTableModel>

#include <optional>

namespace orvento::offers {

class IdentifierBreakdown;

// The grid of the breakdown window over its rows: the columns the breakdown names, amounts in
// the money format, marked rows told apart by their background.
class IdentifierBreakdownModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Role { MarkedRole = Qt::UserRole + 10 };

    explicit IdentifierBreakdownModel(const IdentifierBreakdown& breakdown,
                                      QObject* parent = nullptr);

    // The marks changed: the rows are painted again.
    void refreshMarks();
    // Quick find: the first row whose shown text in the column starts with `part`, letters of
    // any case.
    std::optional<int> findRow(int column, const QString& part) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    const IdentifierBreakdown& m_breakdown;
};

} // namespace orvento::offers
