#pragma once

#include "catalogue/CatalogueRecords.h"

#include <optional>
#include <vector>

namespace orvento::core {
class Database;
class UserInteraction;
} // namespace orvento::core

namespace orvento::catalogue {

// How the sheet list opens: to manage the sheets, to pick one, or to pick one with the new-sheet
// card opened at once.
enum class SheetListMode { Manage = 0, Pick = 1, PickNew = 2 };

// The sheet list (frmSklady, "Seznam listů").
class SheetListLogic {
public:
    SheetListLogic(core::Database& db, core::UserInteraction& ui, SheetListMode mode, bool manage);

    static QString caption() { return QStringLiteral("Seznam listů"); }
    static QString helpTopic() { return QStringLiteral("pgSklady.htm"); }

    SheetListMode mode() const { return m_mode; }
    // The delete, refresh and reorder controls.
    bool showsManagement() const { return m_manage; }
    // Reordering and its "Pořadí" label are hidden at the read-only level.
    bool showsReorder() const;
    // Double-click or Enter: picks the sheet (true) in the pick modes, opens its card otherwise.
    bool picksOnEnter() const { return m_mode != SheetListMode::Manage; }

    void reload(qint64 locate = 0);
    const std::vector<SheetRow>& rows() const { return m_rows; }
    std::optional<size_t> currentIndex() const { return m_current; }
    void setCurrentIndex(size_t index);
    std::optional<SheetRow> current() const;

    // "Posunout list dopredu" (-1) and "Posunout list dozadu" (+1).
    bool moveCurrent(int direction);
    // "Vyjmout": true when the sheet was deleted; the list then stands on its neighbour.
    bool removeCurrent();
    // After the sheet card saved a sheet.
    void afterCardSaved(qint64 sheetId);

private:
    core::Database& m_db;
    core::UserInteraction& m_ui;
    SheetListMode m_mode;
    bool m_manage;
    std::vector<SheetRow> m_rows;
    std::optional<size_t> m_current;
};

// The group selection window (frmSklSkupiny, "Výběr skladové skupiny") over one sheet, with its
// "Přidat" and "Opravit" of the group card.
class GroupPickerLogic {
public:
    GroupPickerLogic(core::Database& db, core::UserInteraction& ui, qint64 sheetId);

    static QString caption() { return QStringLiteral("Výběr skladové skupiny"); }
    static QString helpTopic() { return QStringLiteral("pgSklSkupiny.htm"); }
    qint64 sheetId() const { return m_sheet; }
    void reload(qint64 locate = 0);
    const std::vector<GroupRow>& rows() const { return m_rows; }
    std::optional<size_t> currentIndex() const { return m_current; }
    void setCurrentIndex(size_t index);
    std::optional<GroupRow> current() const;
    bool okEnabled() const { return !m_rows.empty(); }

    // "Přidat": false after the message when the rights refuse a new group.
    bool mayAddGroup();
    // "Opravit": the group to edit, read again first as the catalogue does; nothing after the
    // message when it is refused or gone.
    std::optional<GroupRow> groupToEdit();
    // After the card closed: the rows again, on the saved group when there is one.
    void afterCard(std::optional<qint64> savedId);

private:
    core::Database& m_db;
    core::UserInteraction& m_ui;
    qint64 m_sheet;
    std::vector<GroupRow> m_rows;
    std::optional<size_t> m_current;
};

} // namespace orvento::catalogue
