#include "ui/catalogue/SheetListWindow.h"

#include "catalogue/SheetCard.h"
#include "core/ProgramState.h"
#include "ui/Help.h"
#include "ui/catalogue/SheetCardDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace orvento::ui {

SheetListWindow::SheetListWindow(core::UserInteraction& ui, catalogue::SheetListMode mode,
                                 bool manage, QWidget* parent)
    : QDialog(parent)
    , m_ui(ui)
    , m_logic(core::programState().db->agenda, ui, mode, manage)
    , m_list(new QListWidget(this)) {
    setObjectName(QStringLiteral("frmSklady"));
    setWindowTitle(catalogue::SheetListLogic::caption());
    m_list->setObjectName(QStringLiteral("grSklady"));
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            m_logic.setCurrentIndex(static_cast<size_t>(row));
    });
    connect(m_list, &QListWidget::itemActivated, this, [this] { activate(); });

    const auto button = [this](const char* name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    QPushButton* add = button("btnPridat", QStringLiteral("&Přidat"));
    QPushButton* edit = button("btnOpravit", QStringLiteral("&Opravit"));
    QPushButton* remove = button("btnVyjmout", QStringLiteral("Vyjmout"));
    QPushButton* refresh = button("btnObnovit", QStringLiteral("O&bnovit"));
    QPushButton* forward = button("btnDopredu", QStringLiteral("Posunout list dopředu"));
    QPushButton* back = button("btnDozadu", QStringLiteral("Posunout list dozadu"));
    forward->setText(QStringLiteral("▲"));
    forward->setToolTip(QStringLiteral("Posunout list dopredu"));
    back->setText(QStringLiteral("▼"));
    back->setToolTip(QStringLiteral("Posunout list dozadu"));
    auto* order = new QLabel(QStringLiteral("Pořadí"), this);
    order->setObjectName(QStringLiteral("lblPoradi"));
    connect(add, &QPushButton::clicked, this, &SheetListWindow::addSheet);
    connect(edit, &QPushButton::clicked, this, &SheetListWindow::editSheet);
    connect(remove, &QPushButton::clicked, this, &SheetListWindow::removeSheet);
    connect(refresh, &QPushButton::clicked, this, [this] {
        m_logic.reload();
        showRows();
    });
    connect(forward, &QPushButton::clicked, this, [this] { moveSheet(-1); });
    connect(back, &QPushButton::clicked, this, [this] { moveSheet(+1); });

    const bool picking = mode != catalogue::SheetListMode::Manage;
    remove->setVisible(manage);
    refresh->setVisible(manage);
    for (QWidget* w : {static_cast<QWidget*>(forward), static_cast<QWidget*>(back),
                       static_cast<QWidget*>(order)})
        w->setVisible(m_logic.showsReorder());

    auto* side = new QVBoxLayout;
    for (QPushButton* b : {add, edit, remove, refresh})
        side->addWidget(b);
    side->addSpacing(12);
    side->addWidget(order, 0, Qt::AlignHCenter);
    auto* arrows = new QHBoxLayout;
    arrows->addWidget(forward);
    arrows->addWidget(back);
    side->addLayout(arrows);
    side->addStretch();
    if (picking) {
        m_ok = button("btnOK", QStringLiteral("OK"));
        m_ok->setDefault(true);
        connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
        side->addWidget(m_ok);
    }
    QPushButton* close =
        button("btnZavrit", picking ? QStringLiteral("Storno") : QStringLiteral("Zavřít"));
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    side->addWidget(close);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(side);
    installHelpKey(this, catalogue::SheetListLogic::helpTopic());
    resize(420, 320);
    m_newOnShow = mode == catalogue::SheetListMode::PickNew;
    showRows();
}

std::optional<catalogue::SheetRow> SheetListWindow::run(core::UserInteraction& ui,
                                                        catalogue::SheetListMode mode, bool manage,
                                                        QWidget* parent) {
    SheetListWindow window(ui, mode, manage, parent);
    if (window.exec() != QDialog::Accepted)
        return std::nullopt;
    return window.logic().current();
}

void SheetListWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_newOnShow) {
        m_newOnShow = false;
        QTimer::singleShot(0, this, &SheetListWindow::addSheet);
    }
}

void SheetListWindow::showRows() {
    const QSignalBlocker blocker(m_list);
    m_list->clear();
    for (const catalogue::SheetRow& row : m_logic.rows())
        m_list->addItem(row.nazev);
    if (const auto current = m_logic.currentIndex())
        m_list->setCurrentRow(static_cast<int>(*current));
    if (m_ok)
        m_ok->setEnabled(!m_logic.rows().empty());
}

void SheetListWindow::activate() {
    if (m_logic.picksOnEnter())
        accept();
    else
        editSheet();
}

void SheetListWindow::addSheet() {
    catalogue::SheetCard card(core::programState().db->agenda, m_ui);
    if (!card.startNew())
        return;
    SheetCardDialog dialog(card, this);
    if (dialog.exec() == QDialog::Accepted && card.savedId()) {
        m_changed = true;
        m_logic.afterCardSaved(*card.savedId());
    }
    showRows();
}

void SheetListWindow::editSheet() {
    const auto sheet = m_logic.current();
    if (!sheet)
        return;
    m_logic.reload();
    catalogue::SheetCard card(core::programState().db->agenda, m_ui);
    if (card.startExisting(sheet->id)) {
        SheetCardDialog dialog(card, this);
        if (dialog.exec() == QDialog::Accepted)
            m_changed = true;
    }
    m_logic.reload(sheet->id);
    showRows();
}

void SheetListWindow::removeSheet() {
    if (m_logic.removeCurrent())
        m_changed = true;
    showRows();
}

void SheetListWindow::moveSheet(int direction) {
    if (m_logic.moveCurrent(direction))
        m_changed = true;
    showRows();
}

} // namespace orvento::ui
