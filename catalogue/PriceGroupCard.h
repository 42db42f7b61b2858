#pragma once

#include "catalogue/CardOutcome.h"
#include "catalogue/PriceLevelRecords.h"

#include <optional>
#include <vector>

namespace orvento::core {
class Database;
class UserInteraction;
} // namespace orvento::core

namespace orvento::catalogue {

// The price group card (frmCenSkupDetail): one `CenSkup` row with an in-memory copy of its level
// rows, written together in one unit of work on OK.
class PriceGroupCard {
public:
    static constexpr int kMaxFixedRows = 3;

    PriceGroupCard(core::Database& agenda, core::UserInteraction& ui);

    static QString caption() { return QStringLiteral("Karta cenové skupiny"); }
    static QString helpTopic() { return QStringLiteral("pgCenSkupDetail.htm"); }

    bool startNew();
    bool startExisting(qint64 id);

    bool isNew() const { return m_group.ID < 0; }
    bool editable() const { return m_editable; }
    PriceGroup& group() { return m_group; }
    const PriceGroup& group() const { return m_group; }
    const std::vector<GroupLevelRow>& rows() const { return m_rows; }

    // "Přidat cenovou hladinu": a row taking its values over from the picked level; false (after
    // the message) when the group already has it.
    bool addLevel(const PriceLevel& level);
    // "Upravit": the level must still exist ("Tato cenová hladina již neexistuje!").
    bool mayEditRow(size_t index);
    // The row as the level card shows it: its code and values with the level's name.
    PriceLevel levelShownFor(size_t index) const;
    // The level card's values for the row; a row that takes over is then refreshed from its
    // level.
    void applyRowEdit(size_t index, const LevelParameters& values, bool prevzato);
    // "Upravit hodnoty původní cenové hladiny": asks, and gives the level's ID to edit, or -1.
    qint64 levelToEditFor(size_t index);
    // After the level was edited: the row takes its code and, when it takes over, its values.
    void afterLevelEdited(size_t index, qint64 levelId);
    // Copies the level's values into a row that takes over; false after the message when the
    // level is gone.
    bool refreshRowFromLevel(size_t index);
    void removeRow(size_t index);
    int fixedRowCount() const;

    // OK: the checks and the write. A failed write is reported after its rollback and the card
    // stays open with what the person entered.
    CardOutcome confirm();

private:
    bool rowsStillMatchLevels();
    bool codeTakenByAnother(const QString& code);
    std::optional<QString> write();
    bool writeRows(qint64 groupId, std::vector<GroupLevelRow>& rows);

    core::Database& m_db;
    core::UserInteraction& m_ui;
    PriceGroup m_group;
    std::vector<GroupLevelRow> m_rows;
    std::vector<qint64> m_storedRowIds;
    QString m_storedCode;
    bool m_editable = true;
    services::RecordLock m_lock;
};

} // namespace orvento::catalogue
