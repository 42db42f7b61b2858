#include "ui/CatalogueRowDelegate.h"

#include <QAbstractItemView>

namespace orvento::ui {

CatalogueRowDelegate::CatalogueRowDelegate(int markedRole, int errorRole, QObject* parent)
    : QStyledItemDelegate(parent)
    , m_markedRole(markedRole)
    , m_errorRole(errorRole) {}

void CatalogueRowDelegate::initStyleOption(QStyleOptionViewItem* option,
                                           const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    const bool focused = option->widget && option->widget->hasFocus();
    if (index.data(m_markedRole).toBool()) {
        option->backgroundBrush = focused ? QColor(0, 0, 128) : QColor(190, 190, 190);
        option->palette.setColor(QPalette::Text, focused ? Qt::white : Qt::black);
    }
    if (m_errorRole >= 0 && index.data(m_errorRole).toBool()) {
        option->font.setStrikeOut(true);
        option->palette.setColor(QPalette::Text, Qt::red);
        option->palette.setColor(QPalette::HighlightedText, Qt::red);
        option->palette.setColor(QPalette::Highlight, QColor(128, 0, 0));
        if (option->state & QStyle::State_Selected)
            option->palette.setColor(QPalette::HighlightedText, Qt::white);
    }
}

} // namespace orvento::ui
