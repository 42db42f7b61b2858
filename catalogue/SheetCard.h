#pragma once

#include "services/RecordLock.h"

#include <QString>

#include <optional>

namespace orvento::core {
class Database;
class UserInteraction;
} // namespace orvento::core

namespace orvento::catalogue {

// The sheet card (frmKartaSkladu, "Ceníkový list"): one name of up to 30 characters.
class SheetCard {
public:
    SheetCard(core::Database& db, core::UserInteraction& ui);

    static QString caption() { return QStringLiteral("Ceníkový list"); }
    static constexpr int kNameLength = 30;

    bool startNew();
    // Finds the sheet again and takes its lock; false (after the message) when it is gone or
    // the rights refuse it. A sheet edited elsewhere opens read-only.
    bool startExisting(qint64 sheetId);
    bool isNew() const { return m_isNew; }
    bool readOnly() const { return m_readOnly; }
    const QString& name() const { return m_name; }
    void setName(const QString& name) { m_name = name.left(kNameLength); }

    // OK: checks the name and writes the sheet (a new one with its basic group).
    bool save();
    std::optional<qint64> savedId() const { return m_id; }

private:
    core::Database& m_db;
    core::UserInteraction& m_ui;
    services::RecordLock m_lock;
    std::optional<qint64> m_id;
    QString m_name;
    bool m_isNew = true;
    bool m_readOnly = false;
};

} // namespace orvento::catalogue
