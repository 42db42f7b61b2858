#pragma once

#include <QStyledItemDelegate>

namespace orvento::ui {

// Draws a list's rows as the catalogue shows them: marked rows grey (navy while the grid has the
// focus) and, when the model has an error role, an item whose prices must be recomputed red and
// struck through. The address book's firms are marked the same way.
class CatalogueRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    CatalogueRowDelegate(int markedRole, int errorRole, QObject* parent);

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    int m_markedRole;
    int m_errorRole;
};

} // namespace orvento::ui
