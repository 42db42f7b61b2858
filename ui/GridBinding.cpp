#include "ui/GridBinding.h"

#include <QEvent>
#include <QHeaderView>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTableView>

#include <algorithm>

namespace orvento::ui {

using services::ColumnColour;

QColor columnColour(ColumnColour colour) {
    switch (colour) {
    case ColumnColour::None:
        return {};
    case ColumnColour::Grey:
        return {212, 212, 212};
    case ColumnColour::LightGrey:
        return {236, 236, 236};
    case ColumnColour::LightGreen:
        return {218, 244, 218};
    case ColumnColour::LightYellow:
        return {255, 250, 205};
    case ColumnColour::LightOrange:
        return {255, 226, 190};
    }
    return {};
}

GridColumnsProxy::GridColumnsProxy(QObject* parent)
    : QIdentityProxyModel(parent) {}

void GridColumnsProxy::setGridLayout(const services::GridLayout& layout) {
    m_layout = layout;
    if (columnCount() > 0) {
        Q_EMIT headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
        if (rowCount() > 0)
            Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1),
                               {Qt::BackgroundRole});
    }
}

QString GridColumnsProxy::fieldOf(int section) const {
    if (!sourceModel())
        return {};
    const QVariant named = sourceModel()->headerData(section, Qt::Horizontal, kGridFieldRole);
    if (named.isValid())
        return named.toString();
    return sourceModel()->headerData(section, Qt::Horizontal, Qt::DisplayRole).toString();
}

const services::GridColumn* GridColumnsProxy::columnOf(int section) const {
    const int i = m_layout.indexOf(fieldOf(section));
    return i < 0 ? nullptr : &m_layout.columns[static_cast<size_t>(i)];
}

void GridColumnsProxy::setTitleBlank(const QString& field, bool blank) {
    m_blankTitles.removeAll(field.toUpper());
    if (blank)
        m_blankTitles.append(field.toUpper());
    if (columnCount() > 0)
        Q_EMIT headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

QVariant GridColumnsProxy::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal) {
        if (const services::GridColumn* c = columnOf(section)) {
            if (role == Qt::DisplayRole)
                return m_blankTitles.contains(c->field.toUpper()) ? QString() : c->title;
            if (role == Qt::TextAlignmentRole && c->fixed)
                return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
        }
    }
    return QIdentityProxyModel::headerData(section, orientation, role);
}

QVariant GridColumnsProxy::data(const QModelIndex& index, int role) const {
    if (role == Qt::BackgroundRole) {
        const QVariant own = QIdentityProxyModel::data(index, role);
        if (own.isValid())
            return own;
        if (const services::GridColumn* c = columnOf(index.column()))
            if (c->colour != ColumnColour::None)
                return QBrush(columnColour(c->colour));
        return {};
    }
    return QIdentityProxyModel::data(index, role);
}

GridBinding::GridBinding(QTableView* view, QAbstractItemModel* model,
                         services::ProfileSession& session, services::GridId grid)
    : QObject(view)
    , m_view(view)
    , m_proxy(new GridColumnsProxy(this))
    , m_session(session)
    , m_grid(grid) {
    m_proxy->setSourceModel(model);
    view->setModel(m_proxy);
    QHeaderView* header = view->horizontalHeader();
    header->setSectionsMovable(true);
    header->setSortIndicatorShown(true);
    connect(header, &QHeaderView::sectionClicked, this, [this](int section) {
        if (const services::GridColumn* c = m_proxy->columnOf(section); c && c->sortable)
            Q_EMIT sortRequested(c->field);
    });
    // The person's moves and resizes are kept at once, so that a model that is reset, or gets
    // its columns and titles one by one, comes back arranged from the profile.
    const auto arranged = [this] {
        if (!m_applying)
            remember();
    };
    connect(header, &QHeaderView::sectionMoved, this, arranged);
    connect(header, &QHeaderView::sectionResized, this, arranged);
    connect(m_proxy, &QAbstractItemModel::modelReset, this, &GridBinding::apply);
    connect(m_proxy, &QAbstractItemModel::columnsInserted, this, &GridBinding::apply);
    connect(m_proxy, &QAbstractItemModel::headerDataChanged, this,
            [this](Qt::Orientation orientation) {
                if (orientation == Qt::Horizontal && !m_applying)
                    apply();
            });
    view->installEventFilter(this);
    m_registration = session.addCollector([this] { remember(); });
    apply();
}

void GridBinding::apply() {
    if (!m_view)
        return;
    const services::GridLayout& layout = m_session.gridLayout(m_grid);
    const QScopedValueRollback applying(m_applying, true);
    m_proxy->setGridLayout(layout);
    QHeaderView* header = m_view->horizontalHeader();
    const int count = m_proxy->columnCount();
    for (int section = 0; section < count; ++section)
        m_view->setColumnHidden(section,
                                m_proxy->columnOf(section) == nullptr || hiddenByWindow(section));
    int visual = 0;
    int sortSection = -1;
    for (size_t i = 0; i < layout.columns.size(); ++i) {
        const services::GridColumn& c = layout.columns[i];
        for (int section = 0; section < count; ++section) {
            if (m_proxy->fieldOf(section).compare(c.field, Qt::CaseInsensitive) != 0)
                continue;
            header->moveSection(header->visualIndex(section), visual++);
            // The widths were chosen for a smaller font: a title never ends up cut.
            header->resizeSection(section, std::max(c.width, header->sectionSizeHint(section)));
            if (static_cast<int>(i) == layout.sortColumn)
                sortSection = section;
            break;
        }
    }
    header->setSortIndicator(sortSection, Qt::AscendingOrder);
    if (m_footer)
        m_footer->update();
}

std::vector<services::SavedColumn> GridBinding::currentColumns() const {
    std::vector<services::SavedColumn> columns;
    if (!m_view)
        return columns;
    const QHeaderView* header = m_view->horizontalHeader();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int section = header->logicalIndex(visual);
        const services::GridColumn* c = m_proxy->columnOf(section);
        if (!c)
            continue;
        // A column hidden for now stays in the layout with the width it had.
        if (hiddenByWindow(section))
            columns.push_back({c->field, c->width});
        else if (!header->isSectionHidden(section))
            columns.push_back({c->field, header->sectionSize(section)});
    }
    return columns;
}

bool GridBinding::hiddenByWindow(int section) const {
    return m_hiddenFields.contains(m_proxy->fieldOf(section).toUpper());
}

void GridBinding::setFieldHidden(const QString& field, bool hidden) {
    const QString key = field.toUpper();
    if (hidden == m_hiddenFields.contains(key))
        return;
    if (hidden)
        m_hiddenFields << key;
    else
        m_hiddenFields.removeAll(key);
    if (!m_view)
        return;
    for (int section = 0; section < m_proxy->columnCount(); ++section)
        if (m_proxy->fieldOf(section).toUpper() == key)
            m_view->setColumnHidden(section, hidden || m_proxy->columnOf(section) == nullptr);
}

void GridBinding::remember() {
    if (!m_view)
        return;
    // While a model comes back from a reset, its columns and titles arrive one by one and the
    // view shows only part of the layout; that part is not the person's arrangement.
    for (int section = 0; section < m_proxy->columnCount(); ++section)
        if (m_proxy->columnOf(section) && m_view->isColumnHidden(section) &&
            !hiddenByWindow(section))
            return;
    const auto columns = currentColumns();
    if (!columns.empty())
        m_session.rememberColumns(m_grid, columns);
}

void GridBinding::setSortField(const QString& field) {
    remember();
    m_session.setSortField(m_grid, field);
    apply();
}

bool GridBinding::eventFilter(QObject* watched, QEvent* event) {
    // A view being destroyed hides itself once it is no longer a table view; asking it for its
    // columns then would read a half-destroyed object, so only a live table view counts.
    if (event->type() == QEvent::Hide) {
        const auto* view = qobject_cast<QTableView*>(watched);
        if (view && view == m_view)
            remember();
    }
    return QObject::eventFilter(watched, event);
}

GridFooter* GridBinding::footer(QWidget* parent) {
    if (!m_footer)
        m_footer = new GridFooter(m_view, m_proxy, parent);
    return m_footer;
}

void GridBinding::setFooterText(const QString& field, const QString& text) {
    if (m_footer)
        m_footer->setText(field, text);
}

GridFooter::GridFooter(QTableView* view, GridColumnsProxy* proxy, QWidget* parent)
    : QWidget(parent)
    , m_view(view)
    , m_proxy(proxy) {
    setObjectName(QStringLiteral("gridFooter"));
    QHeaderView* header = view->horizontalHeader();
    const auto repaint = [this] {
        update();
    };
    connect(header, &QHeaderView::sectionResized, this, repaint);
    connect(header, &QHeaderView::sectionMoved, this, repaint);
    connect(view->horizontalScrollBar(), &QScrollBar::valueChanged, this, repaint);
}

void GridFooter::setText(const QString& field, const QString& text) {
    m_texts[field.toUpper()] = text;
    update();
}

QString GridFooter::text(const QString& field) const {
    const auto it = m_texts.find(field.toUpper());
    return it == m_texts.end() ? QString() : it->second;
}

QSize GridFooter::sizeHint() const {
    return {100, fontMetrics().height() + 6};
}

void GridFooter::paintEvent(QPaintEvent* /*event*/) {
    if (!m_view)
        return;
    QPainter painter(this);
    const QHeaderView* header = m_view->horizontalHeader();
    // Columns line up with the grid's viewport, which starts after the row header and frame.
    const int offset = mapFromGlobal(m_view->viewport()->mapToGlobal(QPoint(0, 0))).x();
    for (int section = 0; section < header->count(); ++section) {
        if (header->isSectionHidden(section))
            continue;
        const services::GridColumn* c = m_proxy->columnOf(section);
        if (!c || !c->footerSum)
            continue;
        const QRect cell(offset + header->sectionViewportPosition(section), 0,
                         header->sectionSize(section), height());
        if (const QColor colour = columnColour(c->colour); colour.isValid())
            painter.fillRect(cell, colour);
        painter.drawRect(cell.adjusted(0, 0, -1, -1));
        painter.drawText(cell.adjusted(2, 0, -4, 0), Qt::AlignRight | Qt::AlignVCenter,
                         text(c->field));
    }
}

} // namespace orvento::ui
