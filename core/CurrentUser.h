#pragma once

#include <QString>

namespace orvento::core {

// Access level of a module: what a user may do in offers, the address book, the catalogue, the
// desktop notes, the agenda list and imports.
enum class AccessLevel : int {
    Full = 0,     // "plný přístup"
    NoDelete = 1, // "bez práva smazat záznam"
    ReadOnly = 2, // "pouze pro čtení"
    Denied = 3,   // "nepřístupno"
};

// The logged-in user. The defaults are the anonymous user who runs the program when nobody is
// registered: every right granted.
struct CurrentUser {
    int uzivId = 0;
    QString jmeno;
    QString konfigurace;
    QString password;
    QString telefon;
    QString email;
    bool administrator = true;
    AccessLevel nabidky = AccessLevel::Full;
    AccessLevel adresar = AccessLevel::Full;
    AccessLevel cenik = AccessLevel::Full;
    AccessLevel poznamky = AccessLevel::Full;
    AccessLevel seznamAgend = AccessLevel::Full;
    AccessLevel import = AccessLevel::Full;
    bool hromadnePreceneni = true;
    bool hromadneNastaveni = true;
    bool udajeFirma = true;
    bool globalniNastaveni = true;
    bool uzivatelskeNastaveni = true;
    bool vytvoreniZalohy = true;
    bool obnoveniZalohy = true;
    bool nakupniCeny = true;
    bool zamky = true;
    bool vsechnyNabidky = true;
    QString prefiltrNabidkyVytvorId;
};

// The information shown when a command is refused for lack of rights, and the one shown when a
// record opens read-only. The checks themselves are in services/AccessRights.
inline QString noRightsMessage() {
    return QStringLiteral("Litujeme, ale pro tuto funkci nemáte potřebná přístupová práva.");
}
inline QString readOnlyNoticeMessage() {
    return QStringLiteral(
        "Záznam je k dispozici pouze pro čtení, provedené změny nebude možné uložit.");
}

} // namespace orvento::core
