#pragma once

#include "catalogue/SheetListLogic.h"

#include <QDialog>

#include <optional>

class QPushButton;
class QTableWidget;

namespace orvento::core {
class UserInteraction;
}

namespace orvento::catalogue {
class GroupCard;
}

namespace orvento::ui {

// frmSklSkupiny, "Výběr skladové skupiny": the groups of one sheet, to pick one.
class GroupPickerDialog : public QDialog {
    Q_OBJECT
public:
    GroupPickerDialog(core::UserInteraction& ui, qint64 sheetId, QWidget* parent = nullptr);

    // The chosen group, when the dialog was closed with OK.
    static std::optional<catalogue::GroupRow> pick(core::UserInteraction& ui, qint64 sheetId,
                                                   QWidget* parent);

    QTableWidget* table() const { return m_table; }
    catalogue::GroupPickerLogic& logic() { return m_logic; }
    void addGroup();
    void editGroup();

private:
    void showRows();
    void runCard(catalogue::GroupCard& card);

    core::UserInteraction& m_ui;
    catalogue::GroupPickerLogic m_logic;
    QTableWidget* m_table;
    QPushButton* m_ok;
};

} // namespace orvento::ui
