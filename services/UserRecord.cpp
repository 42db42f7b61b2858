#include "services/UserRecord.h"

#include "services/AccessRights.h"
#include "services/PasswordScrambler.h"

#include <QSqlQuery>
#include <QSqlRecord>

#include <variant>

namespace orvento::services {

namespace {

using core::AccessLevel;
using core::CurrentUser;

// The columns of `Login` in table order, each with the member of the user it holds, so reading
// and writing share one list.
using Member = std::variant<int CurrentUser::*, QString CurrentUser::*, bool CurrentUser::*,
                            AccessLevel CurrentUser::*>;
struct Column {
    const char* name;
    Member member;
};

const Column kColumns[] = {
    {"UzivID", &CurrentUser::uzivId},
    {"Jmeno", &CurrentUser::jmeno},
    {"Konfigurace", &CurrentUser::konfigurace},
    {"Pwd", &CurrentUser::password},
    {"Administrator_AR", &CurrentUser::administrator},
    {"Nabidky_AR", &CurrentUser::nabidky},
    {"Adresar_AR", &CurrentUser::adresar},
    {"Cenik_AR", &CurrentUser::cenik},
    {"Poznamky_AR", &CurrentUser::poznamky},
    {"SeznamAgend_AR", &CurrentUser::seznamAgend},
    {"Import_AR", &CurrentUser::import},
    {"HromadnePreceneni_AR", &CurrentUser::hromadnePreceneni},
    {"HromadneNastaveni_AR", &CurrentUser::hromadneNastaveni},
    {"UdajeFirma_AR", &CurrentUser::udajeFirma},
    {"GlobalniNastaveni_AR", &CurrentUser::globalniNastaveni},
    {"UzivatelskeNastaveni_AR", &CurrentUser::uzivatelskeNastaveni},
    {"VytvoreniZalohy_AR", &CurrentUser::vytvoreniZalohy},
    {"ObnoveniZalohy_AR", &CurrentUser::obnoveniZalohy},
    {"NakupniCeny_AR", &CurrentUser::nakupniCeny},
    {"Zamky_AR", &CurrentUser::zamky},
    {"VsechnyNabidky_AR", &CurrentUser::vsechnyNabidky},
    {"PrefiltrNabidkyVytvorID_AR", &CurrentUser::prefiltrNabidkyVytvorId},
    {"Telefon", &CurrentUser::telefon},
    {"Email", &CurrentUser::email},
};

template <class... F> struct Overloaded : F... { using F::operator()...; };
template <class... F> Overloaded(F...) -> Overloaded<F...>;

bool isPassword(const Column& c) {
    return std::holds_alternative<QString CurrentUser::*>(c.member) &&
           std::get<QString CurrentUser::*>(c.member) == &CurrentUser::password;
}

} // namespace

QStringList userColumns() {
    QStringList names;
    for (const Column& c : kColumns)
        names << QString::fromLatin1(c.name);
    return names;
}

core::CurrentUser userFromRecord(const QSqlRecord& record) {
    CurrentUser user;
    for (const Column& c : kColumns) {
        const QVariant value = record.value(QString::fromLatin1(c.name));
        std::visit(
            Overloaded{
                [&](int CurrentUser::*m) { user.*m = value.toInt(); },
                [&](QString CurrentUser::*m) {
                    user.*m =
                        isPassword(c) ? password::unscramble(value.toString()) : value.toString();
                },
                [&](bool CurrentUser::*m) { user.*m = value.toInt() != 0; },
                [&](AccessLevel CurrentUser::*m) { user.*m = accessLevelFromInt(value.toInt()); },
            },
            c.member);
    }
    return user;
}

core::SqlParams userParams(const CurrentUser& user) {
    core::SqlParams params;
    for (const Column& c : kColumns) {
        const QVariant value = std::visit(
            Overloaded{
                [&](int CurrentUser::*m) { return QVariant(user.*m); },
                [&](QString CurrentUser::*m) {
                    return QVariant(isPassword(c) ? password::scramble(user.*m) : user.*m);
                },
                [&](bool CurrentUser::*m) { return QVariant(user.*m); },
                [&](AccessLevel CurrentUser::*m) { return QVariant(static_cast<int>(user.*m)); },
            },
            c.member);
        params.emplace_back(QString::fromLatin1(c.name), value);
    }
    return params;
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
