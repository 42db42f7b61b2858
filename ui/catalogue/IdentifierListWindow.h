#pragma once

#include "catalogue/IdentifierRecords.h"
#include "ui/catalogue/CodedListWindow.h"

namespace orvento::core {
class UserInteraction;
}

namespace orvento::ui {

// frmSezIdentif "Seznam identifikátorů": the defined identifiers, picked for the identifier
// editor or managed; their card in both modes.
class IdentifierListWindow : public CodedListWindow {
    Q_OBJECT
public:
    IdentifierListWindow(core::UserInteraction& ui, orvento::catalogue::ListMode mode,
                         QWidget* parent = nullptr);

    // The list; in pick mode the chosen identifier, nothing when cancelled.
    static std::optional<orvento::catalogue::Identifier>
    open(core::UserInteraction& ui, orvento::catalogue::ListMode mode, QWidget* parent);

    orvento::catalogue::IdentifierList& list() { return m_list; }

protected:
    int rowCount() const override;
    QStringList rowTexts(int row) const override;
    std::optional<size_t> currentIndex() const override { return m_list.currentIndex(); }
    void setCurrentIndex(size_t index) override { m_list.setCurrentIndex(index); }
    void sortRows(orvento::catalogue::CodedColumn column) override { m_list.sortBy(column); }
    std::optional<size_t> findRow(const QString& text) override { return m_list.quickFind(text); }
    void reloadRows() override { m_list.reload(); }
    void addRow() override;
    void editRow() override;
    void removeRow() override { m_list.removeCurrent(); }

private:
    void runCard(orvento::catalogue::IdentifierCard& card);

    core::UserInteraction& m_ui;
    orvento::catalogue::IdentifierList m_list;
};

} // namespace orvento::ui
