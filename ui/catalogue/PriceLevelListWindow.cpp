#include "ui/catalogue/PriceLevelListWindow.h"

#include "catalogue/PriceLevelCard.h"
#include "core/ProgramState.h"
#include "ui/Help.h"

#include "ui/catalogue/PriceLevelCardDialog.h"
#include <QTableWidget>

namespace orvento::ui {

using namespace orvento::catalogue;

PriceLevelListWindow::PriceLevelListWindow(core::UserInteraction& ui, ListMode mode, bool manage,
                                           QWidget* parent)
    : CodedListWindow(mode, manage, QStringLiteral("Popis cenové hladiny"), parent)
    , m_ui(ui)
    , m_list(core::programState().db->agenda, ui) {
    setObjectName(QStringLiteral("frmCenHlad"));
    setWindowTitle(PriceLevelList::caption());
    table()->setObjectName(QStringLiteral("grCenHlad"));
    installHelpKey(this, PriceLevelList::helpTopic());
    m_list.reload();
    showRows();
}

std::optional<PriceLevel> PriceLevelListWindow::open(core::UserInteraction& ui, ListMode mode,
                                                     bool manage, const QString& codeToLocate,
                                                     QWidget* parent) {
    if (!PriceLevelList::mayOpen(ui))
        return std::nullopt;
    PriceLevelListWindow window(ui, mode, manage, parent);
    if (!codeToLocate.isEmpty()) {
        window.list().locateCode(codeToLocate);
        window.showRows();
    }
    if (window.exec() != QDialog::Accepted || !window.list().current())
        return std::nullopt;
    return *window.list().current();
}

bool PriceLevelListWindow::editLevel(core::UserInteraction& ui, qint64 id, QWidget* parent) {
    PriceLevelCard card(core::programState().db->agenda, ui);
    if (!card.startExisting(id))
        return false;
    PriceLevelCardDialog dialog(
        card.level(), card.editable(), [&card] { return card.confirm(); }, parent);
    return dialog.exec() == QDialog::Accepted;
}

int PriceLevelListWindow::rowCount() const {
    return static_cast<int>(m_list.rows().size());
}

QStringList PriceLevelListWindow::rowTexts(int row) const {
    const PriceLevel& level = m_list.rows()[static_cast<size_t>(row)];
    return {level.Zkratka, level.Popis};
}

void PriceLevelListWindow::addRow() {
    PriceLevelCard card(core::programState().db->agenda, m_ui);
    if (!card.startNew())
        return;
    PriceLevelCardDialog dialog(
        card.level(), true, [&card] { return card.confirm(); }, this);
    const bool saved = dialog.exec() == QDialog::Accepted;
    m_list.afterCard(saved ? std::optional<qint64>(card.id()) : std::nullopt);
}

void PriceLevelListWindow::editRow() {
    if (!m_list.refreshAndRelocate())
        return;
    editLevel(m_ui, *m_list.currentId(), this);
    m_list.afterCard(std::nullopt);
}

} // namespace orvento::ui
