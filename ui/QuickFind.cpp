#include "ui/QuickFind.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>

namespace orvento::ui {

QTableView* makeListGrid(QWidget* parent, const QString& objectName) {
    auto* view = new QTableView(parent);
    view->setObjectName(objectName);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setTabKeyNavigation(false);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->hide();
    view->setWordWrap(false);
    return view;
}

QuickFindPanel::QuickFindPanel(QWidget* parent)
    : QWidget(parent)
    , m_field(new QLineEdit(this)) {
    m_field->setObjectName(QStringLiteral("edtHledat"));
    m_field->setMaximumWidth(300);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 2, 0, 2);
    layout->addWidget(m_field);
    layout->addWidget(new QLabel(QStringLiteral("vyhledávací políčko zavřete klávesou Tab"), this));
    layout->addStretch();
    hide();
    m_field->installEventFilter(this);
    connect(m_field, &QLineEdit::textEdited, this, &QuickFindPanel::textEdited);
    connect(m_field, &QLineEdit::returnPressed, this, &QuickFindPanel::closeFind);
}

void QuickFindPanel::openFor(QTableView* grid, const QString& first) {
    m_grid = grid;
    show();
    m_field->setText(first);
    m_field->setFocus();
    Q_EMIT m_field->textEdited(first);
}

void QuickFindPanel::closeFind() {
    hide();
    m_field->clear();
    if (m_grid)
        m_grid->setFocus();
    m_grid = nullptr;
}

bool QuickFindPanel::opensFind(const QKeyEvent* key) {
    const QString text = key->text();
    return !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) && text.size() == 1 &&
           text.at(0).isPrint() && text.at(0) != QLatin1Char(' ');
}

bool QuickFindPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_field) {
        if (event->type() == QEvent::FocusOut && isVisible()) {
            closeFind();
        } else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Tab || key == Qt::Key_Escape) {
                closeFind();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace orvento::ui
