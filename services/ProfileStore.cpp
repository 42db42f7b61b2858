#include "services/ProfileStore.h"
#include "services/ProfileValues.h"

#include "core/RecordMapping.h"

#include "core/Database.h"
#include "core/ProgramState.h"

#include <QSqlQuery>

#include <array>
#include <cmath>

namespace orvento::services::profile {

namespace {

const QString kValuesTable = QStringLiteral("Uzivatelske");
const QString kMemosTable = QStringLiteral("UzivMemo");

const std::array<const char*, 4> kWindows = {"Karta nabídky", "Seznam nabídek", "Seznam adresáře",
                                             "Ceník"};
const std::array<const char*, 5> kWindowParts = {"Left", "Top", "Height", "Width", "Max"};

template <size_t N> QString describe(const std::array<NumberedValue, N>& table, int number) {
    for (const NumberedValue& entry : table)
        if (entry.number == number)
            return QString::fromUtf8(entry.description);
    return {};
}

QString profileName() {
    return core::programState().user.konfigurace;
}

} // namespace

QString valueDescription(int number) {
    return describe(kValues, number);
}
QString memoDescription(int number) {
    return describe(kMemos, number);
}

QString windowValueDescription(int number) {
    if (number < 1 || number > kWindowValueCount)
        return {};
    const int window = (number - 1) / kValuesPerWindow;
    const int part = (number - 1) % kValuesPerWindow;
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
    return load(core::programState().db->agenda, kValuesTable, profileName(), number);
}

bool saveValue(int number, const QString& value) {
    return save(core::programState().db->agenda, kValuesTable, profileName(), number,
                valueDescription(number), value);
}

QString loadMemo(int number) {
    return load(core::programState().db->agenda, kMemosTable, profileName(), number);
}

bool saveMemo(int number, const QString& value) {
    return save(core::programState().db->agenda, kMemosTable, profileName(), number,
                memoDescription(number), value);
}

QString loadWindowValue(int number) {
    return load(core::programState().db->global, kValuesTable, profileName(), number);
}

bool saveWindowValue(int number, const QString& value) {
    return save(core::programState().db->global, kValuesTable, profileName(), number,
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
