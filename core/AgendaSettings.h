#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace orvento::core {

class Database;
class UserInteraction;

// The values of the logged-in user's profile that the settings dialog edits next to the agenda's
// own settings (profile values 1, 2, 21, 44 and 22).
struct ProfileOptions {
    bool tiskPoNoveNabidce = true;        // offer the print window after a new offer is saved
    QString vychoziSablona;               // `Zkratka` of the template for new offers; empty = none
    bool dotazPriOpusteni = true;         // ask before leaving an offer without saving
    bool hromadneVkladani = false;        // add marked catalogue items without asking the quantity
    bool nezobrazovatNakupniCeny = false; // start with purchase prices and profit hidden
};

// The open agenda's settings (`Nastaveni`, one row per number) and its logo (`ImgData` row 1),
// loaded each time an agenda is opened and read by everybody through programState().settings.
struct AgendaSettings {
    // Firm data, numbers 1 to 12.
    QString nazev;
    QString ulice;
    QString psc;
    QString misto;
    QString stat;
    QString ico;
    QString dic;
    QString telefon;
    QString fax;
    QString mobil;
    QString email;
    QString internet;
    double sazbaDphZakladni = 21.0; // 13, per cent
    double sazbaDphSnizena = 15.0;  // 14, per cent
    int zaokrouhlitCelkem = 1;      // 15, non-zero rounds offer totals to whole units
    QString slozkaObrazku;          // 16, with the data folder expanded and a trailing '/'
    bool obrazkyPriTisku = true;    // 17, always true
    QString symbolMeny = QStringLiteral("Kč"); // 18
    int urovenHistorie = 2;                    // 19: 0 off, 1 basic, 2 detailed
    QByteArray logo;                           // PNG (or any picture Qt reads); empty = no logo
    ProfileOptions profil;

    // The firm fields by number (1 to 12); nullptr for other numbers.
    QString* firmField(int number);
    const QString* firmField(int number) const;
};

inline constexpr int kSettingCount = 19;
inline constexpr int kFirmFieldCount = 12;
inline constexpr int kHistoryLevels = 3;

// The description written into `Popis` with each setting.
QString settingDescription(int number);
// The longest text the fields of the firm data accept (numbers 1 to 12); 0 for the others.
int firmFieldWidth(int number);

// The defaults of an agenda that has no settings rows yet.
AgendaSettings defaultAgendaSettings(const QString& dataFolder, const QString& agenda);
QString defaultPicturesFolder(const QString& dataFolder, const QString& agenda);

// VAT rates are stored as text in the workstation's number format (decimal comma under Czech
// regional settings) with up to 15 significant digits; reading accepts a comma or a point.
QString formatRate(double rate);
std::optional<double> parseRate(const QString& text);

// The pictures folder is stored with %DATAPATH% in place of the data folder, so an agenda moved
// together with its data folder keeps its pictures.
QString picturesFolderToStored(const QString& folder, const QString& dataFolder);
QString picturesFolderFromStored(const QString& stored, const QString& dataFolder);
// A stored path with %DATAPATH% (any letter case) standing for the data folder, as the pictures
// folder and the import definitions' source files keep it: the path with the data folder in
// place, each part found whatever its letter case, '/' separators, no trailing '/'.
QString expandDataPath(const QString& stored, const QString& dataFolder);

// The text stored in `Hodnota` for one setting.
QString encodeSetting(const AgendaSettings& settings, int number, const QString& dataFolder);

// Loads the agenda's settings and logo (the profile options are left at their defaults). A value
// that should be a number and is not keeps its default and is reported in one warning. False,
// after readFailedMessage(), when the tables cannot be read.
bool loadAgendaSettings(Database& db, const QString& dataFolder, const QString& agenda,
                        AgendaSettings& out, UserInteraction& ui);

// Writes settings 1 to 19, each updating its row or inserting it. The first failure skips the
// remaining settings. The caller reports a failure (saveFailedMessage of `Nastaveni`) once its
// unit of work is over, as with the two below.
bool saveSettingRows(Database& db, const AgendaSettings& settings, const QString& dataFolder);
// Writes the logo into `ImgData` row 1 (an empty logo is stored as an empty picture).
bool saveLogo(Database& db, const QByteArray& logo);

} // namespace orvento::core
