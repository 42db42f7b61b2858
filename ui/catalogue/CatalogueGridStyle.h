#pragma once

#include "ui/CatalogueRowDelegate.h"

#include <QAbstractTableModel>

namespace orvento::catalogue {
class CatalogueWindowLogic;
}

namespace orvento::ui {

// The groups of the active sheet as the catalogue window's logic holds them.
class CatalogueGroupsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int MarkedRole = Qt::UserRole + 11;

    CatalogueGroupsModel(const catalogue::CatalogueWindowLogic& logic, QObject* parent);
    void refresh();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    const catalogue::CatalogueWindowLogic& m_logic;
};

} // namespace orvento::ui
