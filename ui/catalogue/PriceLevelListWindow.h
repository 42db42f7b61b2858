#pragma once

#include "ui/catalogue/CodedListWindow.h"

namespace orvento::core {
class UserInteraction;
}

namespace orvento::ui {

// frmCenHlad "Cenové hladiny": the price levels, managed or picked.
class PriceLevelListWindow : public CodedListWindow {
    Q_OBJECT
public:
    PriceLevelListWindow(core::UserInteraction& ui, orvento::catalogue::ListMode mode, bool manage,
                         QWidget* parent = nullptr);

    // The main window's "Seznam cenových hladin" (manage), or a pick positioned on `codeToLocate`;
    // the picked level, or nothing when cancelled or refused.
    static std::optional<orvento::catalogue::PriceLevel>
    open(core::UserInteraction& ui, orvento::catalogue::ListMode mode, bool manage,
         const QString& codeToLocate, QWidget* parent);
    // Edits one level in its card; true when it was saved.
    static bool editLevel(core::UserInteraction& ui, qint64 id, QWidget* parent);

    orvento::catalogue::PriceLevelList& list() { return m_list; }

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
    core::UserInteraction& m_ui;
    orvento::catalogue::PriceLevelList m_list;
};

} // namespace orvento::ui
