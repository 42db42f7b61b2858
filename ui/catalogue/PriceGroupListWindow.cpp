#include "ui/catalogue/PriceGroupListWindow.h"

#include "catalogue/PriceGroupCard.h"
#include "core/ProgramState.h"
#include "ui/Help.h"

#include "ui/catalogue/PriceGroupCardDialog.h"
#include <QTableWidget>

namespace orvento::ui {

using namespace orvento::catalogue;

PriceGroupListWindow::PriceGroupListWindow(core::UserInteraction& ui, ListMode mode,
                                           QWidget* parent)
    : CodedListWindow(mode, true, QStringLiteral("Popis cenové skupiny"), parent)
    , m_ui(ui)
    , m_list(core::programState().db->agenda, ui) {
    setObjectName(QStringLiteral("frmCenSkup"));
    setWindowTitle(PriceGroupList::caption());
    table()->setObjectName(QStringLiteral("grCenSkup"));
    installHelpKey(this, PriceGroupList::helpTopic());
    m_list.reload();
    showRows();
}

std::optional<PriceGroup> PriceGroupListWindow::open(core::UserInteraction& ui, ListMode mode,
                                                     qint64 idToLocate, QWidget* parent) {
    if (!PriceGroupList::mayOpen(ui))
        return std::nullopt;
    PriceGroupListWindow window(ui, mode, parent);
    if (idToLocate > 0) {
        window.list().locate(idToLocate);
        window.showRows();
    }
    if (window.exec() != QDialog::Accepted || !window.list().current())
        return std::nullopt;
    return *window.list().current();
}

int PriceGroupListWindow::rowCount() const {
    return static_cast<int>(m_list.rows().size());
}

QStringList PriceGroupListWindow::rowTexts(int row) const {
    const PriceGroup& group = m_list.rows()[static_cast<size_t>(row)];
    return {group.Zkratka, group.Popis};
}

void PriceGroupListWindow::addRow() {
    PriceGroupCard card(core::programState().db->agenda, m_ui);
    if (!card.startNew())
        return;
    PriceGroupCardDialog dialog(card, m_ui, this);
    const bool saved = dialog.exec() == QDialog::Accepted;
    m_list.afterCard(saved ? std::optional<qint64>(card.group().ID) : std::nullopt);
}

void PriceGroupListWindow::editRow() {
    if (!m_list.refreshAndRelocate())
        return;
    PriceGroupCard card(core::programState().db->agenda, m_ui);
    if (!card.startExisting(*m_list.currentId()))
        return;
    PriceGroupCardDialog dialog(card, m_ui, this);
    dialog.exec();
    m_list.afterCard(std::nullopt);
}

} // namespace orvento::ui
