#pragma once

#include <QStyledItemDelegate>

class QWidget;

namespace orvento::ui {

// Draws an offer row in the colour of its state, bold when an open offer's validity has passed,
// struck through when cancelled, and a marked row grey (navy while it is the selected one).
class OfferRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // Text colour and selected-row background of a state.
    static QColor textColour(int state);
    static QColor selectedBackground(int state);

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

// The panel under the offer list that explains the rows' colours and marks.
QWidget* makeOfferListLegend(QWidget* parent);

} // namespace orvento::ui
