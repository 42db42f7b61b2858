#pragma once

#include "catalogue/SheetListLogic.h"

#include <QDialog>

#include <optional>

class QLabel;
class QListWidget;
class QPushButton;

namespace orvento::core {
class UserInteraction;
}

namespace orvento::ui {

// frmSklady, "Seznam listů": the sheets in tab order, to manage them or to pick one.
class SheetListWindow : public QDialog {
    Q_OBJECT
public:
    SheetListWindow(core::UserInteraction& ui, catalogue::SheetListMode mode, bool manage,
                    QWidget* parent = nullptr);

    // Opens the list; the picked sheet when it was closed with OK (or by a double-click in a
    // pick mode).
    static std::optional<catalogue::SheetRow>
    run(core::UserInteraction& ui, catalogue::SheetListMode mode, bool manage, QWidget* parent);

    QListWidget* list() const { return m_list; }
    catalogue::SheetListLogic& logic() { return m_logic; }
    void addSheet();
    void editSheet();
    void removeSheet();
    void moveSheet(int direction);
    // True when the sheets were changed here, so the catalogue must rebuild its tabs.
    bool changedSheets() const { return m_changed; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showRows();
    void activate();

    core::UserInteraction& m_ui;
    catalogue::SheetListLogic m_logic;
    QListWidget* m_list;
    QPushButton* m_ok = nullptr;
    bool m_changed = false;
    bool m_newOnShow = false;
};

} // namespace orvento::ui
