#pragma once

#include "output/PriceListOutputLogic.h"

#include <QDialog>

#include <array>
#include <memory>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLayout;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QWidget;

namespace orvento::core {
class AppContext;
}

namespace orvento::ui {

// frmTiskExpCeniku, "Tisk - export ceníku": what of the catalogue goes into the price list and
// how, bound to output::PriceListOutputLogic.
class PriceListPrintWindow : public QDialog {
    Q_OBJECT
public:
    PriceListPrintWindow(core::AppContext& context, const core::CatalogueView& view,
                         output::PriceListDialogs dialogs, QWidget* parent = nullptr);
    ~PriceListPrintWindow() override;

    // Opens the window modally over what the catalogue shows.
    static void open(core::AppContext& context, const core::CatalogueView& view,
                     output::PriceListDialogs dialogs, QWidget* parent);

    output::PriceListOutputLogic& logic() { return *m_logic; }
    // Replaces the print window (tests).
    void setPrinter(output::PriceListPrinter printer) { m_printer = std::move(printer); }

    void accept() override;
    void standard();
    void loadSetting();
    void saveNewSetting();
    void saveCurrentSetting();

private:
    QWidget* buildSheetGroup();
    QWidget* buildGroupFilter();
    QWidget* buildItemFilter();
    QWidget* buildHeading();
    QWidget* buildDealer();
    QWidget* buildOutput();
    QLayout* buildSettings();
    QLayout* buildButtons();
    void showSettings();
    void takeFields();
    void updateEnabled();

    core::AppContext& m_context;
    std::unique_ptr<output::PriceListOutputLogic> m_logic;
    output::PriceListDialogs m_dialogs;
    output::PriceListPrinter m_printer;
    bool m_showing = false;
    std::array<QRadioButton*, 3> m_sheetChoice{};
    QListWidget* m_sheets = nullptr;
    QGroupBox* m_groupBox = nullptr;
    std::array<QRadioButton*, 2> m_groupChoice{};
    QListWidget* m_groups = nullptr;
    QLabel* m_groupsOff = nullptr;
    QLabel* m_itemFilter = nullptr;
    QCheckBox* m_noSheetName = nullptr;
    QCheckBox* m_ownHeading = nullptr;
    QLineEdit* m_headingText = nullptr;
    QCheckBox* m_dealer = nullptr;
    QCheckBox* m_fallback = nullptr;
    std::array<QLabel*, output::kPriceColumns> m_columnLabels{};
    std::array<QLabel*, output::kPriceColumns> m_sources{};
    std::array<QPushButton*, output::kPriceColumns> m_sourceButtons{};
    std::array<QComboBox*, output::kPriceColumns> m_types{};
    std::array<QLineEdit*, output::kPriceColumns> m_headings{};
    QRadioButton* m_print = nullptr;
    QRadioButton* m_export = nullptr;
    QLabel* m_settingName = nullptr;
    QAction* m_saveCurrent = nullptr;
};

} // namespace orvento::ui
