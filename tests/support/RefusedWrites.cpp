#include "support/RefusedWrites.h"

#include "core/SqlDialect.h"

namespace orvento::testsupport {

namespace {

bool onServer(const core::Database& db) {
    return &db.dialect() == &core::postgresDialect();
}

QString quotedText(QString text) {
    return QLatin1Char('\'') + text.replace(QLatin1Char('\''), QStringLiteral("''")) +
           QLatin1Char('\'');
}

} // namespace

bool refuseWrites(core::Database& db, const QString& name, const QString& event,
                  const QString& table, const QString& when, const QString& message) {
    if (!onServer(db))
        return db.executeDdl(QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 %4 BEGIN SELECT "
                                            "RAISE(ABORT, %5); END")
                                 .arg(name, event, table,
                                      when.isEmpty() ? QString() : QStringLiteral("WHEN ") + when,
                                      quotedText(message)));
    // A row-level trigger that lets every other row through unchanged (a deleted one as OLD).
    return db.executeDdl(
               QStringLiteral("CREATE FUNCTION %1_refusal() RETURNS trigger LANGUAGE plpgsql AS "
                              "$body$ BEGIN IF %2 THEN RAISE EXCEPTION %3; END IF; IF TG_OP = "
                              "'DELETE' THEN RETURN OLD; END IF; RETURN NEW; END $body$")
                   .arg(name, when.isEmpty() ? QStringLiteral("TRUE") : when,
                        quotedText(message))) &&
           db.executeDdl(QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 FOR EACH ROW EXECUTE "
                                        "FUNCTION %1_refusal()")
                             .arg(name, event, table));
}

bool allowWrites(core::Database& db, const QString& name, const QString& table) {
    if (!onServer(db))
        return db.executeDdl(QStringLiteral("DROP TRIGGER %1").arg(name));
    return db.executeDdl(QStringLiteral("DROP TRIGGER %1 ON %2").arg(name, table)) &&
           db.executeDdl(QStringLiteral("DROP FUNCTION %1_refusal()").arg(name));
}

} // namespace orvento::testsupport
