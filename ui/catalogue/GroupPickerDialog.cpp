#include "ui/catalogue/GroupPickerDialog.h"

#include "catalogue/GroupCard.h"
#include "core/ProgramState.h"
#include "ui/Help.h"
#include "ui/catalogue/GroupCardDialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace orvento::ui {

GroupPickerDialog::GroupPickerDialog(core::UserInteraction& ui, qint64 sheetId, QWidget* parent)
    : QDialog(parent)
    , m_ui(ui)
    , m_logic(core::programState().db->agenda, ui, sheetId)
    , m_table(new QTableWidget(0, 2, this))
    , m_ok(new QPushButton(QStringLiteral("OK"), this)) {
    setObjectName(QStringLiteral("frmSklSkupiny"));
    setWindowTitle(catalogue::GroupPickerLogic::caption());
    m_table->setObjectName(QStringLiteral("grSkupiny"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("Název"), QStringLiteral("Kód")});
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->setColumnWidth(0, 240);
    m_table->horizontalHeader()->setStretchLastSection(true);
    connect(m_table, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (row >= 0)
            m_logic.setCurrentIndex(static_cast<size_t>(row));
    });
    connect(m_table, &QTableWidget::cellDoubleClicked, this, [this] {
        if (m_logic.okEnabled())
            accept();
    });
    auto* add = new QPushButton(QStringLiteral("&Přidat"), this);
    add->setObjectName(QStringLiteral("btnPridat"));
    auto* edit = new QPushButton(QStringLiteral("&Opravit"), this);
    edit->setObjectName(QStringLiteral("btnOpravit"));
    m_ok->setObjectName(QStringLiteral("btnOK"));
    m_ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Storno"), this);
    cancel->setObjectName(QStringLiteral("btnStorno"));
    for (QPushButton* b : {add, edit, cancel})
        b->setAutoDefault(false);
    connect(add, &QPushButton::clicked, this, &GroupPickerDialog::addGroup);
    connect(edit, &QPushButton::clicked, this, &GroupPickerDialog::editGroup);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* side = new QVBoxLayout;
    side->addWidget(add);
    side->addWidget(edit);
    side->addStretch();
    side->addWidget(m_ok);
    side->addWidget(cancel);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_table, 1);
    layout->addLayout(side);
    installHelpKey(this, catalogue::GroupPickerLogic::helpTopic());
    resize(460, 340);
    showRows();
}

std::optional<catalogue::GroupRow> GroupPickerDialog::pick(core::UserInteraction& ui,
                                                           qint64 sheetId, QWidget* parent) {
    GroupPickerDialog dialog(ui, sheetId, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.logic().current();
}

void GroupPickerDialog::showRows() {
    const QSignalBlocker blocker(m_table);
    const auto& rows = m_logic.rows();
    m_table->setRowCount(static_cast<int>(rows.size()));
    for (size_t i = 0; i < rows.size(); ++i) {
        m_table->setItem(static_cast<int>(i), 0, new QTableWidgetItem(rows[i].nazev));
        m_table->setItem(static_cast<int>(i), 1, new QTableWidgetItem(rows[i].kod));
    }
    if (const auto current = m_logic.currentIndex())
        m_table->setCurrentCell(static_cast<int>(*current), 0);
    m_ok->setEnabled(m_logic.okEnabled());
}

void GroupPickerDialog::addGroup() {
    if (!m_logic.mayAddGroup())
        return;
    catalogue::GroupCard card(core::programState().db->agenda, m_ui);
    card.startNew(m_logic.sheetId());
    runCard(card);
}

void GroupPickerDialog::editGroup() {
    const auto group = m_logic.groupToEdit();
    showRows();
    if (!group)
        return;
    catalogue::GroupCard card(core::programState().db->agenda, m_ui);
    if (card.startExisting(*group))
        runCard(card);
}

void GroupPickerDialog::runCard(catalogue::GroupCard& card) {
    GroupCardDialog dialog(card, this);
    const bool saved = dialog.exec() == QDialog::Accepted;
    m_logic.afterCard(saved ? card.savedId() : std::nullopt);
    showRows();
}

} // namespace orvento::ui
