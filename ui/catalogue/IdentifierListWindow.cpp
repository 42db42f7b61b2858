#include "ui/catalogue/IdentifierListWindow.h"

#include "core/ProgramState.h"
#include "ui/Help.h"
#include "ui/catalogue/IdentifierCardDialog.h"

#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>

namespace orvento::ui {

using namespace orvento::catalogue;

IdentifierListWindow::IdentifierListWindow(core::UserInteraction& ui, ListMode mode,
                                           QWidget* parent)
    : CodedListWindow(mode, true, QStringLiteral("Název"), parent)
    , m_ui(ui)
    , m_list(core::programState().db->agenda, ui) {
    setObjectName(QStringLiteral("frmSezIdentif"));
    setWindowTitle(IdentifierList::caption());
    table()->setObjectName(QStringLiteral("grSezIdentif"));
    if (auto* add = findChild<QPushButton*>(QStringLiteral("btnPridat"))) {
        add->setToolTip(QStringLiteral("Přidat nový identifikátor (Alt+P nebo F3)"));
        auto* f3 = new QShortcut(QKeySequence(Qt::Key_F3), this);
        connect(f3, &QShortcut::activated, add, &QPushButton::click);
    }
    if (auto* edit = findChild<QPushButton*>(QStringLiteral("btnOpravit")))
        edit->setToolTip(QStringLiteral("Opravit identifikátor (Alt+O)"));
    installHelpKey(this, IdentifierList::helpTopic());
    m_list.reload();
    showRows();
}

std::optional<Identifier> IdentifierListWindow::open(core::UserInteraction& ui, ListMode mode,
                                                     QWidget* parent) {
    IdentifierListWindow window(ui, mode, parent);
    if (window.exec() != QDialog::Accepted || !window.list().current())
        return std::nullopt;
    return *window.list().current();
}

int IdentifierListWindow::rowCount() const {
    return static_cast<int>(m_list.rows().size());
}

QStringList IdentifierListWindow::rowTexts(int row) const {
    const Identifier& identifier = m_list.rows()[static_cast<size_t>(row)];
    return {identifier.Zkratka, identifier.Popis};
}

void IdentifierListWindow::runCard(IdentifierCard& card) {
    IdentifierCardDialog dialog(card, this);
    const bool saved = dialog.exec() == QDialog::Accepted;
    m_list.afterCard(saved ? std::optional<qint64>(card.id()) : std::nullopt);
}

void IdentifierListWindow::addRow() {
    IdentifierCard card(core::programState().db->agenda, m_ui);
    if (card.startNew())
        runCard(card);
}

void IdentifierListWindow::editRow() {
    if (!m_list.refreshAndRelocate())
        return;
    IdentifierCard card(core::programState().db->agenda, m_ui);
    if (card.startExisting(*m_list.currentId()))
        runCard(card);
}

} // namespace orvento::ui
