#include "services/UserRecord.h"

#include "services/AccessRights.h"
#include "services/PasswordScrambler.h"

#include "core/RecordMapping.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace orvento::services {

using core::AccessLevel;
using core::CurrentUser;

const core::RecordMapping<CurrentUser>& userMapping() {
    static const core::RecordMapping<CurrentUser> mapping = [] {
        core::RecordMapping<CurrentUser> m(QStringLiteral("Login"));
        auto level = [&m](const char* column, AccessLevel CurrentUser::*member) {
            m.custom(
                column, [member](const CurrentUser& u) { return static_cast<int>(u.*member); },
                [member](CurrentUser& u, const QVariant& v) {
                    u.*member = accessLevelFromInt(v.toInt());
                });
        };
        m.member("UzivID", &CurrentUser::uzivId)
            .member("Jmeno", &CurrentUser::jmeno)
            .member("Konfigurace", &CurrentUser::konfigurace)
            .custom(
                "Pwd",
                [](const CurrentUser& u) { return QVariant(password::scramble(u.password)); },
                [](CurrentUser& u, const QVariant& v) {
                    u.password = password::unscramble(v.toString());
                })
            .member("Administrator_AR", &CurrentUser::administrator);
        level("Nabidky_AR", &CurrentUser::nabidky);
        level("Adresar_AR", &CurrentUser::adresar);
        level("Cenik_AR", &CurrentUser::cenik);
        level("Poznamky_AR", &CurrentUser::poznamky);
        level("SeznamAgend_AR", &CurrentUser::seznamAgend);
        level("Import_AR", &CurrentUser::import);
        m.member("HromadnePreceneni_AR", &CurrentUser::hromadnePreceneni)
            .member("HromadneNastaveni_AR", &CurrentUser::hromadneNastaveni)
            .member("UdajeFirma_AR", &CurrentUser::udajeFirma)
            .member("GlobalniNastaveni_AR", &CurrentUser::globalniNastaveni)
            .member("UzivatelskeNastaveni_AR", &CurrentUser::uzivatelskeNastaveni)
            .member("VytvoreniZalohy_AR", &CurrentUser::vytvoreniZalohy)
            .member("ObnoveniZalohy_AR", &CurrentUser::obnoveniZalohy)
            .member("NakupniCeny_AR", &CurrentUser::nakupniCeny)
            .member("Zamky_AR", &CurrentUser::zamky)
            .member("VsechnyNabidky_AR", &CurrentUser::vsechnyNabidky)
            .member("PrefiltrNabidkyVytvorID_AR", &CurrentUser::prefiltrNabidkyVytvorId)
            .member("Telefon", &CurrentUser::telefon)
            .member("Email", &CurrentUser::email);
        return m;
    }();
    return mapping;
}

core::CurrentUser userFromRecord(const QSqlRecord& record) {
    return userMapping().read(record);
}

core::SqlParams userParams(const CurrentUser& user) {
    return userMapping().params(user);
}

std::optional<std::vector<UserRow>> readUsers(core::Database& global) {
    QSqlQuery query = global.select(QStringLiteral("SELECT * FROM Login ORDER BY UzivID"));
    if (!query.isActive())
        return std::nullopt;
    std::vector<UserRow> rows;
    while (query.next()) {
        const QSqlRecord record = query.record();
        rows.push_back({record.value(QStringLiteral("ID")).toInt(), userFromRecord(record)});
    }
    return rows;
}

QString userDescription(core::Database& global, int uzivId) {
    if (uzivId == 0)
        return {};
    QSqlQuery query = global.select(QStringLiteral("SELECT * FROM Login WHERE UzivID = :UzivID"),
                                    {{QStringLiteral("UzivID"), uzivId}});
    if (!query.next())
        return {};
    const core::CurrentUser user = userFromRecord(query.record());
    QString text = user.jmeno;
    if (!user.telefon.isEmpty())
        text = QStringLiteral("%1 tel. %2").arg(user.jmeno, user.telefon);
    if (!user.email.isEmpty())
        text += QStringLiteral("  ") + user.email;
    return text;
}

} // namespace orvento::services
