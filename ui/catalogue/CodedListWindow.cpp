#include "ui/catalogue/CodedListWindow.h"

#include "ui/PickList.h"
#include "ui/QuickFind.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

namespace orvento::ui {

namespace {

constexpr QSize kDesignSize(480, 340);
constexpr int kCodeColumnWidth = 110;
constexpr int kRowPadding = 6;

} // namespace

CodedListWindow::CodedListWindow(orvento::catalogue::ListMode mode, bool manage,
                                 const QString& nameTitle, QWidget* parent)
    : QDialog(parent)
    , m_mode(mode)
    , m_table(new QTableWidget(0, 2, this))
    , m_find(new QuickFindPanel(this))
    , m_edit(new QPushButton(QStringLiteral("&Opravit"), this))
    , m_remove(new QPushButton(QStringLiteral("Vyjmout"), this))
    , m_ok(new QPushButton(QStringLiteral("OK"), this)) {
    auto* grid = new QVBoxLayout;
    grid->addWidget(m_find);
    grid->addWidget(buildTable(nameTitle), 1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(grid, 1);
    layout->addLayout(buildButtons(manage));
    resize(kDesignSize);
}

// The grid of code and name, sorted by a click on a column title, with its quick find.
QWidget* CodedListWindow::buildTable(const QString& nameTitle) {
    setUpPickList(m_table, {QStringLiteral("Zkratka"), nameTitle});
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + kRowPadding);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setColumnWidth(0, kCodeColumnWidth);
    connect(m_table, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (row >= 0)
            setCurrentIndex(static_cast<size_t>(row));
    });
    connect(m_table, &QTableWidget::cellDoubleClicked, this, [this] { activate(); });
    m_table->setWordWrap(false);
    m_table->horizontalHeader()->setSortIndicatorShown(true);
    m_table->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
    m_table->horizontalHeader()->setSectionsClickable(true);
    connect(m_table->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &CodedListWindow::sortByColumn);
    m_table->installEventFilter(this);
    for (const int key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* enter = new QShortcut(QKeySequence(key), m_table);
        enter->setContext(Qt::WidgetShortcut);
        connect(enter, &QShortcut::activated, this, [this] { activate(); });
    }
    connect(m_find, &QuickFindPanel::textEdited, this, [this](const QString& text) {
        if (const auto row = findRow(text)) {
            const QSignalBlocker blocker(m_table);
            m_table->setCurrentCell(static_cast<int>(*row), 0);
        }
    });
    return m_table;
}

// "OK" when picking, the commands when managing, "Zavřít" at the bottom; the list is shown
// again after each command.
QLayout* CodedListWindow::buildButtons(bool manage) {
    auto* add = new QPushButton(QStringLiteral("&Přidat"), this);
    add->setObjectName(QStringLiteral("btnPridat"));
    m_edit->setObjectName(QStringLiteral("btnOpravit"));
    m_remove->setObjectName(QStringLiteral("btnVyjmout"));
    m_ok->setObjectName(QStringLiteral("btnOK"));
    auto* refresh = new QPushButton(QStringLiteral("Obnovit"), this);
    refresh->setObjectName(QStringLiteral("btnObnovit"));
    auto* close = new QPushButton(QStringLiteral("Zavřít"), this);
    close->setObjectName(QStringLiteral("btnZavrit"));
    const auto command = [this](QPushButton* button, void (CodedListWindow::*run)()) {
        connect(button, &QPushButton::clicked, this, [this, run] {
            (this->*run)();
            showRows();
        });
    };
    command(add, &CodedListWindow::addRow);
    command(m_edit, &CodedListWindow::editRow);
    command(m_remove, &CodedListWindow::removeRow);
    command(refresh, &CodedListWindow::reloadRows);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    for (QPushButton* b : {add, m_edit, m_remove, refresh, m_ok, close})
        b->setAutoDefault(false);
    m_ok->setVisible(m_mode == orvento::catalogue::ListMode::Pick);
    for (QPushButton* b : {add, m_edit, m_remove, refresh})
        b->setVisible(manage);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {m_ok, add, m_edit, m_remove, refresh})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(close);
    return buttons;
}

QLineEdit* CodedListWindow::findBox() const {
    return m_find->field();
}

void CodedListWindow::sortByColumn(int column) {
    if (column < 0 || column > 1)
        return;
    sortRows(static_cast<orvento::catalogue::CodedColumn>(column));
    m_table->horizontalHeader()->setSortIndicator(column, Qt::AscendingOrder);
    showRows();
}

bool CodedListWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_table && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (QuickFindPanel::opensFind(key)) {
            m_find->openFor(m_table, key->text());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CodedListWindow::activate() {
    if (rowCount() == 0)
        return;
    if (m_mode == orvento::catalogue::ListMode::Pick) {
        accept();
        return;
    }
    editRow();
    showRows();
}

void CodedListWindow::showRows() {
    const QSignalBlocker blocker(m_table);
    const int count = rowCount();
    m_table->setRowCount(count);
    for (int r = 0; r < count; ++r) {
        const QStringList texts = rowTexts(r);
        for (int c = 0; c < 2; ++c)
            m_table->setItem(r, c, new QTableWidgetItem(texts.value(c)));
    }
    if (const auto current = currentIndex())
        m_table->setCurrentCell(static_cast<int>(*current), 0);
    updateButtons();
}

void CodedListWindow::updateButtons() {
    const bool rows = rowCount() > 0;
    m_edit->setEnabled(rows);
    m_remove->setEnabled(rows);
    m_ok->setEnabled(rows);
}

} // namespace orvento::ui
