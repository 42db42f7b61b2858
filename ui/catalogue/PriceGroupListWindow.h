#pragma once

#include "ui/catalogue/CodedListWindow.h"

namespace orvento::core {
class UserInteraction;
}

namespace orvento::ui {

// frmCenSkup "Cenové skupiny": the price groups, managed or picked.
class PriceGroupListWindow : public CodedListWindow {
    Q_OBJECT
public:
    PriceGroupListWindow(core::UserInteraction& ui, orvento::catalogue::ListMode mode,
                         QWidget* parent = nullptr);

    // The main window's "Seznam cenových skupin" (manage), or a pick positioned on `idToLocate`;
    // the picked group, or nothing.
    static std::optional<orvento::catalogue::PriceGroup> open(core::UserInteraction& ui,
                                                              orvento::catalogue::ListMode mode,
                                                              qint64 idToLocate, QWidget* parent);

    orvento::catalogue::PriceGroupList& list() { return m_list; }

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
    orvento::catalogue::PriceGroupList m_list;
};

} // namespace orvento::ui
