#pragma once

#include "catalogue/CardOutcome.h"
#include "catalogue/CodedRowList.h"
#include "core/RecordMapping.h"

#include <QString>

#include <optional>
#include <vector>

namespace orvento::core {
class Database;
class UserInteraction;
} // namespace orvento::core

namespace orvento::catalogue {

// One defined identifier (`SezIdentif`). Items carry codes whether or not they are defined
// here: renaming or deleting a row never touches an item.
struct Identifier {
    qint64 ID = -1;
    QString Zkratka;
    QString Popis;
    bool Nepouzivat = false; // left out of an offer's identifier breakdown
};

const core::RecordMapping<Identifier>& identifierMapping();

// The whole table, or nothing when it cannot be read.
std::optional<std::vector<Identifier>> readIdentifiers(core::Database& db);
std::optional<Identifier> identifierById(core::Database& db, qint64 id);

// The list of identifiers (frmSezIdentif), to pick one for the identifier editor or to manage
// them.
class IdentifierList : public CodedRowList<Identifier> {
public:
    IdentifierList(core::Database& agenda, core::UserInteraction& ui);

    static QString caption() { return QStringLiteral("Seznam identifikátorů"); }
    static QString helpTopic() { return QStringLiteral("pgSezIdentif.htm"); }

    // "Vyjmout": the current identifier after the question; the items keep the code.
    bool removeCurrent();

private:
    core::Database& m_db;
    core::UserInteraction& m_ui;
};

// The identifier card (frmIdentifDetail): a new identifier or an existing one, locked while the
// card is open.
class IdentifierCard {
public:
    IdentifierCard(core::Database& agenda, core::UserInteraction& ui);

    static QString caption() { return QStringLiteral("Identifikátor"); }
    static QString helpTopic() { return QStringLiteral("pgIdentifDetail.htm"); }

    bool startNew();
    // The row read again and locked; false after the message when it is gone or refused.
    bool startExisting(qint64 id);

    bool isNew() const { return m_identifier.ID < 0; }
    bool editable() const { return m_editable; }
    Identifier& identifier() { return m_identifier; }
    qint64 id() const { return m_identifier.ID; }

    // OK: the checks, then the uniqueness check and the write in one unit of work; messages
    // after it ended. A row deleted elsewhere meanwhile gives the save failure and closes.
    CardOutcome confirm();

private:
    enum class WriteResult { Written, CodeTaken, Failed };
    WriteResult write(Identifier& record);

    core::Database& m_db;
    core::UserInteraction& m_ui;
    Identifier m_identifier;
    bool m_editable = true;
    services::RecordLock m_lock;
};

QString identifierDeleteQuestion(const QString& code);
QString identifierHasUnderscoreMessage();

} // namespace orvento::catalogue
