#include "services/ProfileStore.h"

#include "core/RecordMapping.h"

#include "core/Database.h"
#include "core/ProgramState.h"

#include <QSqlQuery>

#include <array>
#include <cmath>

namespace orvento::services::profile {

namespace {

const QString kValues = QStringLiteral("Uzivatelske");
const QString kMemos = QStringLiteral("UzivMemo");

const std::array<const char*, 52> kValueDescriptions = {
    "",
    "",
    "Nabídky - výchozí formulář",
    "Nabídky - index výchozí tiskárny",
    "Nabídky - zobrazení legendy",
    "Ceník - ID aktivního listu",
    "Ceník - zobrazené skupiny",
    "Adresář - ID záznamu",
    "Adresář - SortField",
    "Nabídky - ID záznamu",
    "Nabídky - SortField",
    "Ceník - SortField (skupiny)",
    "Ceník - SortField (položky)",
    "Ceník - šířka panelu skupiny",
    "Import - ID záznamu",
    "Ceník se skup. - výchozí formulář",
    "Ceník - index výchozí tiskárny",
    "Ceník bez skup. - výchozí formulář",
    "Adresář - výchozí formulář",
    "Adresář - index výchozí tiskárny",
    "Uživatelské - dotaz při opuštění",
    "Uživatelské - nezobrazovat NC",
    "Uživatelská složka pro zálohy",
    "Záloha do standardní složky",
    "Záloha společných dat",
    "Poznámky - výchozí formulář",
    "Poznámky - index výchozí tiskárny",
    "Poslední otevřený adresář pro DOC",
    "Poznámky - ID záznamu",
    "Ceník se skup. (Export) - výchozí formulář",
    "Ceník se skup. (Export) - název souboru",
    "Ceník bez skup. (Export) - výchozí formulář",
    "Ceník bez skup. (Export) - název souboru",
    "Export nabídky do XML - název souboru",
    "Export nabídky do XML - název ext. programu",
    "Export nabídky do XML - spustit ext. program",
    "Export nabídky do XML - přidat parametr",
    "Součet ozn. pol. v nabídce",
    "Součet ozn. pol. v rozpisu",
    "Export adresy do XML - název souboru",
    "Export adresy do XML - název ext. programu",
    "Export adresy do XML - spustit ext. program",
    "Export adresy do XML - přidat parametr",
    "Uživatelské - hromadné vložení položek",
    "Import položek - zdroj dat",
    "Import položek - spojovací klíč",
    "Import položek - jméno souboru",
    "Import položek - nadpisy na prvním řádku",
    "Import položek - sloupec spojovací klíč",
    "Import položek - sloupec počet mj",
    "Import položek - defaultní počet mj",
    "Dopočet slevy - typ ceny bez PDH",
};

const std::array<const char*, 8> kMemoDescriptions = {
    "Nabídky - grid",
    "Adresář - grid",
    "Nabídky položky - grid",
    "Ceník skupiny - grid",
    "Ceník - grid",
    "Ceník - ID záznamů listů",
    "Ceník - ID záznamů skupin",
    "Aktuální tiskový filtr ceníku",
};

const std::array<const char*, 4> kWindows = {"Karta nabídky", "Seznam nabídek", "Seznam adresáře",
                                             "Ceník"};
const std::array<const char*, 5> kWindowParts = {"Left", "Top", "Height", "Width", "Max"};

template <size_t N> QString describe(const std::array<const char*, N>& table, int number) {
    if (number < 1 || number > static_cast<int>(N))
        return {};
    return QString::fromUtf8(table[static_cast<size_t>(number - 1)]);
}

QString profileName() {
    return core::programState().user.konfigurace;
}

} // namespace

QString valueDescription(int number) {
    return describe(kValueDescriptions, number);
}
QString memoDescription(int number) {
    return describe(kMemoDescriptions, number);
}

QString windowValueDescription(int number) {
    if (number < 1 || number > 20)
        return {};
    const int window = (number - 1) / 5;
    const int part = (number - 1) % 5;
    return QString::fromUtf8(kWindows[static_cast<size_t>(window)]) + QStringLiteral(" - ") +
           QString::fromLatin1(kWindowParts[static_cast<size_t>(part)]);
}

QString load(core::Database& db, const QString& table, const QString& profile, int number) {
    const auto value = db.scalar(
        QStringLiteral("SELECT Hodnota FROM %1 WHERE Konfigurace = :Konfigurace AND IDHodnoty = "
                       ":IDHodnoty ORDER BY ID")
            .arg(table),
        {{QStringLiteral("Konfigurace"), profile}, {QStringLiteral("IDHodnoty"), number}});
    return value ? value->toString() : QString();
}

bool save(core::Database& db, const QString& table, const QString& profile, int number,
          const QString& description, const QString& value) {
    return core::saveKeyedRow(
        db, table,
        {{QStringLiteral("Konfigurace"), profile}, {QStringLiteral("IDHodnoty"), number}},
        {{QStringLiteral("Popis"), description}, {QStringLiteral("Hodnota"), value}});
}

QString loadValue(int number) {
    return load(core::programState().db->agenda, kValues, profileName(), number);
}

bool saveValue(int number, const QString& value) {
    return save(core::programState().db->agenda, kValues, profileName(), number,
                valueDescription(number), value);
}

QString loadMemo(int number) {
    return load(core::programState().db->agenda, kMemos, profileName(), number);
}

bool saveMemo(int number, const QString& value) {
    return save(core::programState().db->agenda, kMemos, profileName(), number,
                memoDescription(number), value);
}

QString loadWindowValue(int number) {
    return load(core::programState().db->global, kValues, profileName(), number);
}

bool saveWindowValue(int number, const QString& value) {
    return save(core::programState().db->global, kValues, profileName(), number,
                windowValueDescription(number), value);
}

std::optional<bool> parseBool(const QString& text) {
    const QString t = text.trimmed();
    if (t.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double number = t.toDouble(&ok);
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    return number != 0.0;
}

std::optional<int> parseInt(const QString& text) {
    bool ok = false;
    const int number = text.trimmed().toInt(&ok);
    if (!ok)
        return std::nullopt;
    return number;
}

QString formatBool(bool value) {
    return value ? QStringLiteral("-1") : QStringLiteral("0");
}

bool loadBool(int number, bool fallback) {
    return parseBool(loadValue(number)).value_or(fallback);
}

int loadInt(int number, int fallback) {
    return parseInt(loadValue(number)).value_or(fallback);
}

bool saveBool(int number, bool value) {
    return saveValue(number, formatBool(value));
}

bool saveInt(int number, int value) {
    return saveValue(number, QString::number(value));
}

} // namespace orvento::services::profile
