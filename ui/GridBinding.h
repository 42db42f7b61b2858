#pragma once

#include "services/GridLayouts.h"
#include "services/ProfileSession.h"

#include <QIdentityProxyModel>
#include <QPointer>
#include <QWidget>

#include <map>

class QTableView;

namespace orvento::ui {

// The role under which a grid's model may name the field of a column (horizontal header);
// without it the header's display text is taken, as a query model gives it.
inline constexpr int kGridFieldRole = Qt::UserRole + 1;

QColor columnColour(services::ColumnColour colour);

// Puts the layout's titles, alignment and colours on a grid's own model.
class GridColumnsProxy : public QIdentityProxyModel {
    Q_OBJECT
public:
    explicit GridColumnsProxy(QObject* parent = nullptr);
    void setGridLayout(const services::GridLayout& layout);
    // The field of a column of the source model.
    QString fieldOf(int section) const;
    // The layout column of a model column, or nullptr when the layout does not show it.
    const services::GridColumn* columnOf(int section) const;
    // A column whose values are hidden (purchase prices) shows no title either.
    void setTitleBlank(const QString& field, bool blank);

    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    services::GridLayout m_layout;
    QStringList m_blankTitles;
};

class GridFooter;

// Binds a grid (a table view over the window's own model) to the profile's layout: shows the
// layout's columns in its order and widths, hides the rest, marks the sort column, colours the
// money columns, and hands the current order and widths back to the profile when the grid is
// hidden and before the program saves.
class GridBinding : public QObject {
    Q_OBJECT
public:
    GridBinding(QTableView* view, QAbstractItemModel* model, services::ProfileSession& session,
                services::GridId grid);

    GridColumnsProxy* proxy() const { return m_proxy; }
    // The columns as the grid now shows them, in order with their widths.
    std::vector<services::SavedColumn> currentColumns() const;
    // Shows the ascending marker on the field's column and remembers it as the sort field.
    void setSortField(const QString& field);
    // The footer with the sums of the columns the layout names; created on first use, for the
    // window to place under the grid.
    GridFooter* footer(QWidget* parent);
    void setFooterText(const QString& field, const QString& text);
    // Hides a column of the layout for now (purchase prices while they are not shown) or shows
    // it again. It keeps its place and width in the layout the profile gets.
    void setFieldHidden(const QString& field, bool hidden);

Q_SIGNALS:
    // A sortable column's title was clicked.
    void sortRequested(const QString& field);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void apply();
    void remember();
    bool hiddenByWindow(int section) const;

    QPointer<QTableView> m_view;
    GridColumnsProxy* m_proxy;
    services::ProfileSession& m_session;
    services::GridId m_grid;
    services::ProfileSession::Registration m_registration;
    QPointer<GridFooter> m_footer;
    QStringList m_hiddenFields; // upper case
    bool m_applying = false;
};

// The line of sums under a grid, each right-aligned under its column in the column's colour.
class GridFooter : public QWidget {
    Q_OBJECT
public:
    GridFooter(QTableView* view, GridColumnsProxy* proxy, QWidget* parent);
    void setText(const QString& field, const QString& text);
    QString text(const QString& field) const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPointer<QTableView> m_view;
    GridColumnsProxy* m_proxy;
    std::map<QString, QString> m_texts;
};

} // namespace orvento::ui
