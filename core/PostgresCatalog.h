#pragma once

#include <QString>

#include <QtGlobal>

namespace orvento::core {

// The bookkeeping a data folder's database keeps on a server beside the agendas' own schemas:
// the schema `orvento` with the collation `czech`, the SQL functions the statements call, the
// registry of agendas (in place of the files) and the change stamps. Every connection finds
// them after its own schema on its search path.
namespace postgres {

inline constexpr auto kCatalogSchema = "orvento";
// The schema of the global database; the agendas get "agenda_<n>".
inline constexpr auto kGlobalSchema = "global";

// An identifier written so that the server takes it exactly as it stands.
QString quotedIdentifier(const QString& name);
// The search path of a connection that works in `schema`.
QString searchPathFor(const QString& schema);

// What an advisory lock guards. Each purpose has its own keys, so that an agenda's unit of work
// never meets a record lock that happens to hash alike.
enum class LockPurpose {
    InUse = 1,     // every connection to a schema holds it shared; exclusive use takes it alone
    Writing = 2,   // a unit of work on a schema holds it until its end
    Record = 3,    // a card edits a record
    Exclusive = 4, // an operation needs the whole data folder to itself
};

// The two halves of a two-part advisory lock key, as pg_locks shows them (classid, objid).
struct LockKey {
    quint32 group = 0; // from the purpose and the names
    quint32 item = 0;  // the record's ID; 0 for the other purposes

    // The halves as pg_advisory_lock(int4, int4) takes them.
    qint32 first() const { return static_cast<qint32>(group); }
    qint32 second() const { return static_cast<qint32>(item); }
};

// The one place where locks get their keys. Names are compared regardless of letter case, as
// the agendas' and tables' names are everywhere else.
LockKey lockKey(LockPurpose purpose, const QString& name, const QString& table = {}, qint64 id = 0);

} // namespace postgres

} // namespace orvento::core
