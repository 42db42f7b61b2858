#pragma once

#include <QAbstractTableModel>
#include <QStringList>

#include <optional>

namespace orvento::offers {

class OfferCardLogic;

// The item grid of the offer card over the card's working copy: three marker columns, then the
// item columns. The header's display text is the field name; the grid layout gives the titles.
class OfferItemsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Role {
        MarkedRole = Qt::UserRole + 10,
        CostRole, // a cost item: red
        TitleRole,
    };

    explicit OfferItemsModel(OfferCardLogic& logic, QObject* parent = nullptr);

    static const QStringList& fields();
    static int columnOf(const QString& field);
    static constexpr int kMarkerColumns = 3;

    // The items changed in number or order: everything is shown again.
    void reload();
    // The items stayed where they were; their values or marks changed.
    void refreshValues();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The text a cell shows, as the quick find matches it.
    QString text(int row, int column) const;
    // Quick find: the first row whose text in the column starts with `part`, letters of any case.
    std::optional<int> findRow(int column, const QString& part) const;

private:
    OfferCardLogic& m_logic;
};

} // namespace orvento::offers
