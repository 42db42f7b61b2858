#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace orvento::offers {

// Where the keys of the item import come from; the numbers are the ones kept in the profile.
enum class ItemImportSource { Workbook = 0, Dbase = 1, Clipboard = 2 };

// The catalogue column the keys are looked up in; the numbers are the ones kept in the profile.
enum class ItemImportKey { Katalog = 0, BarCode = 1, PLU = 2, Zkratka = 3, Popis = 4 };

// The choices of the dialog frmItemsImportFileParser, remembered per user in the profile.
struct ItemImportSettings {
    ItemImportSource source = ItemImportSource::Workbook;
    ItemImportKey key = ItemImportKey::Katalog;
    QString fileName;
    bool titlesInFirstRow = true;
    // Column numbers (workbook, clipboard) or field names (dBase), as typed.
    QString keyColumn;
    QString countColumn;
    bool defaultCount = true;

    // The last choices of the logged-in user; a missing or unknown value gives its default.
    static ItemImportSettings load();
    // False when the profile could not be written.
    bool save() const;

    bool usesFile() const { return source != ItemImportSource::Clipboard; }
    bool columnsAreNumbers() const { return source != ItemImportSource::Dbase; }
    bool offersTitles() const { return source != ItemImportSource::Dbase; }
    bool needsCountColumn() const { return !defaultCount; }
};

// Texts and lists of the dialog.
namespace itemimport {

inline constexpr int maxColumnNumber = 99;
// A key longer than the catalogue's widest key column can find nothing; it is cut here.
inline constexpr int maxKeyLength = 255;

QString caption();
QStringList sourceCaptions();
QStringList keyCaptions();
// The catalogue column of a key: only these five names ever reach a statement.
QString keyColumnName(ItemImportKey key);
// "1" to "99" for a workbook and the clipboard, nothing for dBase (its field names are typed).
QStringList columnChoices(ItemImportSource source);
QString browseTitle();
QString browseFilter(ItemImportSource source);

// The checks of OK in their order; the first failure's message, nothing when all pass.
std::optional<QString> validate(const ItemImportSettings& settings);

} // namespace itemimport

} // namespace orvento::offers
