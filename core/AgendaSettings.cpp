#include "core/AgendaSettings.h"

#include "core/RecordMapping.h"

#include "core/Database.h"
#include "core/PathUtil.h"
#include "core/UserInteraction.h"

#include <QLocale>
#include <QSqlQuery>
#include <QStringList>

#include <array>
#include <map>
#include <utility>

namespace orvento::core {

namespace {

const QString kDataPathMark = QStringLiteral("%DATAPATH%");
const QString kSettingsTable = QStringLiteral("Nastaveni");
const QString kPicturesTable = QStringLiteral("ImgData");
constexpr int kLogoNumber = 1;

struct SettingInfo {
    const char* description;
    int width; // firm fields only
};

// The descriptions are written as other workstations and older files know them, the misspelt
// "Hisotire" included.
const std::array<SettingInfo, kSettingCount> kSettings = {{
    {"Firma - název", 50},
    {"Firma - ulice", 30},
    {"Firma - PSČ", 10},
    {"Firma - místo", 40},
    {"Firma - stát", 20},
    {"Firma - IČO", 10},
    {"Firma - DIČ", 20},
    {"Firma - telefon", 30},
    {"Firma - fax", 30},
    {"Firma - mobil", 30},
    {"Firma - e-mail", 50},
    {"Firma - internet", 50},
    {"Základní sazba DPH", 0},
    {"Snížená sazba DPH", 0},
    {"Nabídky - zaokrouhlit cenu celkem", 0},
    {"Úložiště obrázků", 0},
    {"Načítat obr. i při tisku nabídky", 0},
    {"Symbol domácí měny", 0},
    {"Hisotire akcí - úroveň logování", 0},
}};

std::optional<int> parseInteger(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

QString badValueLine(int number, const QString& stored, const QString& fallback) {
    return QStringLiteral("%1 (č. %2): \"%3\" – použije se výchozí hodnota %4.")
        .arg(settingDescription(number))
        .arg(number)
        .arg(stored, fallback);
}

// Puts one stored value into its field; a number that does not read keeps its default and adds
// a line to `problems`.
void applyStored(AgendaSettings& s, int number, const QString& stored, const QString& dataFolder,
                 QStringList& problems) {
    if (QString* field = s.firmField(number)) {
        *field = stored;
        return;
    }
    switch (number) {
    case 13:
    case 14: {
        double& rate = number == 13 ? s.sazbaDphZakladni : s.sazbaDphSnizena;
        if (const auto value = parseRate(stored))
            rate = *value;
        else
            problems << badValueLine(number, stored, formatRate(rate));
        break;
    }
    case 15:
        if (const auto value = parseInteger(stored))
            s.zaokrouhlitCelkem = *value;
        else
            problems << badValueLine(number, stored, QString::number(s.zaokrouhlitCelkem));
        break;
    case 16:
        s.slozkaObrazku = picturesFolderFromStored(stored, dataFolder);
        break;
    case 17:
        break; // always on; the stored value is not read
    case 18:
        s.symbolMeny = stored;
        break;
    case 19: {
        const auto value = parseInteger(stored);
        if (value && *value >= 0 && *value < kHistoryLevels)
            s.urovenHistorie = *value;
        else
            problems << badValueLine(number, stored, QString::number(s.urovenHistorie));
        break;
    }
    default:
        break;
    }
}

// Updates the first row of a numbered key-value table or inserts it.
bool writeNumberedRow(Database& db, const QString& table, int number, const QString& description,
                      const QVariant& value) {
    return saveKeyedRow(
        db, table, {{QStringLiteral("IDHodnoty"), number}},
        {{QStringLiteral("Popis"), description}, {QStringLiteral("Hodnota"), value}});
}

} // namespace

QString* AgendaSettings::firmField(int number) {
    return const_cast<QString*>(std::as_const(*this).firmField(number));
}

const QString* AgendaSettings::firmField(int number) const {
    switch (number) {
    case 1:
        return &nazev;
    case 2:
        return &ulice;
    case 3:
        return &psc;
    case 4:
        return &misto;
    case 5:
        return &stat;
    case 6:
        return &ico;
    case 7:
        return &dic;
    case 8:
        return &telefon;
    case 9:
        return &fax;
    case 10:
        return &mobil;
    case 11:
        return &email;
    case 12:
        return &internet;
    default:
        return nullptr;
    }
}

QString settingDescription(int number) {
    if (number < 1 || number > kSettingCount)
        return {};
    return QString::fromUtf8(kSettings[static_cast<size_t>(number - 1)].description);
}

int firmFieldWidth(int number) {
    if (number < 1 || number > kFirmFieldCount)
        return 0;
    return kSettings[static_cast<size_t>(number - 1)].width;
}

QString defaultPicturesFolder(const QString& dataFolder, const QString& agenda) {
    // Under the same Dokumenty/<agenda>/ as the shared folders of firms and offers.
    return resolvePathInFolder(documentsFolderOf(dataFolder), agenda + QStringLiteral("/OBRAZKY/"));
}

AgendaSettings defaultAgendaSettings(const QString& dataFolder, const QString& agenda) {
    AgendaSettings s;
    s.slozkaObrazku = defaultPicturesFolder(dataFolder, agenda);
    return s;
}

QString formatRate(double rate) {
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(rate, 'g', 15);
}

std::optional<double> parseRate(const QString& text) {
    // Whichever workstation wrote the value, its decimal separator is a comma or a point; no
    // thousands separators appear in a percentage.
    QString normalised = text.trimmed();
    normalised.replace(QLatin1Char(','), QLatin1Char('.'));
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = c.toDouble(normalised, &ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

QString picturesFolderToStored(const QString& folder, const QString& dataFolder) {
    const QString data = withTrailingSlash(dataFolder);
    const QString path = withTrailingSlash(folder);
    // Compared as the file system compares names: /Data/x/ is not inside /data/.
    if (!data.isEmpty() && path.startsWith(data, fileNameCase()))
        return kDataPathMark + path.mid(data.size());
    return path;
}

QString expandDataPath(const QString& stored, const QString& dataFolder) {
    QString path = stored.trimmed();
    // A data folder that came from a Windows workstation carries backslashes.
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (path.startsWith(kDataPathMark, Qt::CaseInsensitive))
        path = resolvePathInFolder(dataFolder, path.mid(kDataPathMark.size()));
    else
        path.replace(kDataPathMark, withTrailingSlash(dataFolder), Qt::CaseInsensitive);
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

QString picturesFolderFromStored(const QString& stored, const QString& dataFolder) {
    return withTrailingSlash(expandDataPath(stored, dataFolder));
}

QString encodeSetting(const AgendaSettings& s, int number, const QString& dataFolder) {
    if (const QString* field = s.firmField(number))
        return field->left(firmFieldWidth(number));
    switch (number) {
    case 13:
        return formatRate(s.sazbaDphZakladni);
    case 14:
        return formatRate(s.sazbaDphSnizena);
    case 15:
        return QString::number(s.zaokrouhlitCelkem);
    case 16:
        return picturesFolderToStored(s.slozkaObrazku, dataFolder);
    case 17:
        return QStringLiteral("-1");
    case 18:
        return s.symbolMeny;
    case 19:
        return QString::number(s.urovenHistorie);
    default:
        return {};
    }
}

bool loadAgendaSettings(Database& db, const QString& dataFolder, const QString& agenda,
                        AgendaSettings& out, UserInteraction& ui) {
    AgendaSettings s = defaultAgendaSettings(dataFolder, agenda);

    QSqlQuery logo = db.select(
        QStringLiteral("SELECT Hodnota FROM ImgData WHERE IDHodnoty = :IDHodnoty ORDER BY ID"),
        {{QStringLiteral("IDHodnoty"), kLogoNumber}});
    if (!logo.isActive()) {
        ui.error(readFailedMessage());
        return false;
    }
    if (logo.next())
        s.logo = logo.value(0).toByteArray();
    logo.finish();

    QSqlQuery rows =
        db.select(QStringLiteral("SELECT IDHodnoty, Hodnota FROM Nastaveni ORDER BY ID"));
    if (!rows.isActive()) {
        ui.error(readFailedMessage());
        return false;
    }
    // The first row of each number counts, as saving updates that one.
    std::map<int, QString> stored;
    while (rows.next()) {
        const int number = rows.value(0).toInt();
        if (number >= 1 && number <= kSettingCount)
            stored.try_emplace(number, rows.value(1).toString());
    }
    rows.finish();

    QStringList problems;
    for (const auto& [number, text] : stored)
        applyStored(s, number, text, dataFolder, problems);
    if (!problems.isEmpty())
        ui.warning(QStringLiteral("Některá nastavení firmy neobsahují platné číslo:\n\n") +
                   problems.join(QLatin1Char('\n')));
    out = std::move(s);
    return true;
}

bool saveSettingRows(Database& db, const AgendaSettings& settings, const QString& dataFolder) {
    for (int number = 1; number <= kSettingCount; ++number) {
        if (!writeNumberedRow(db, kSettingsTable, number, settingDescription(number),
                              encodeSetting(settings, number, dataFolder)))
            return false;
    }
    return true;
}

bool saveLogo(Database& db, const QByteArray& logo) {
    // An empty QByteArray would bind NULL; the row keeps an empty picture instead.
    const QByteArray value = logo.isNull() ? QByteArray("") : logo;
    return writeNumberedRow(db, kPicturesTable, kLogoNumber, QStringLiteral("Logo firmy"), value);
}

} // namespace orvento::core
