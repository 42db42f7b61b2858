#include "offers/OfferItemImportSettings.h"

#include "services/ProfileStore.h"
#include "services/ProfileValues.h"

#include <QFileInfo>

namespace orvento::offers {

namespace value = services::profile::value;

namespace {

constexpr int lastSource = static_cast<int>(ItemImportSource::Clipboard);
constexpr int lastKey = static_cast<int>(ItemImportKey::Popis);

int within(int stored, int last) {
    return stored >= 0 && stored <= last ? stored : 0;
}

// A column entry of a workbook or the clipboard: a whole number, greater than zero.
std::optional<QString> columnNumberProblem(const QString& entry) {
    bool ok = false;
    const int number = entry.trimmed().toInt(&ok);
    if (!ok)
        return QStringLiteral("Sloupec ve zdroji dat musí být číslo.");
    if (number <= 0)
        return QStringLiteral("Sloupec ve zdroji dat musí být číslo větší než nula.");
    return std::nullopt;
}

} // namespace

ItemImportSettings ItemImportSettings::load() {
    namespace profile = services::profile;
    ItemImportSettings s;
    s.source = static_cast<ItemImportSource>(
        within(profile::loadInt(value::ItemImportSource, 0), lastSource));
    s.key = static_cast<ItemImportKey>(within(profile::loadInt(value::ItemImportKey, 0), lastKey));
    s.fileName = profile::loadValue(value::ItemImportFile);
    s.titlesInFirstRow = profile::loadBool(value::ItemImportTitlesInFirstRow, true);
    s.keyColumn = profile::loadValue(value::ItemImportKeyColumn);
    s.countColumn = profile::loadValue(value::ItemImportCountColumn);
    s.defaultCount = profile::loadBool(value::ItemImportDefaultCount, true);
    return s;
}

bool ItemImportSettings::save() const {
    namespace profile = services::profile;
    bool saved = profile::saveInt(value::ItemImportSource, static_cast<int>(source));
    saved = profile::saveInt(value::ItemImportKey, static_cast<int>(key)) && saved;
    saved = profile::saveValue(value::ItemImportFile, fileName) && saved;
    saved = profile::saveBool(value::ItemImportTitlesInFirstRow, titlesInFirstRow) && saved;
    saved = profile::saveValue(value::ItemImportKeyColumn, keyColumn) && saved;
    saved = profile::saveValue(value::ItemImportCountColumn, countColumn) && saved;
    saved = profile::saveBool(value::ItemImportDefaultCount, defaultCount) && saved;
    return saved;
}

namespace itemimport {

QString caption() {
    return QStringLiteral("Hromadné přidání položek z ceníku");
}

QStringList sourceCaptions() {
    return {QStringLiteral("Sešit MS Excel / OpenDocument (*.xls, *.xlsx, *.ods)"),
            QStringLiteral("Soubor dBase (*.dbf)"), QStringLiteral("Schránka")};
}

QStringList keyCaptions() {
    return {QStringLiteral("Katalog"), QStringLiteral("Čárový kód"), QStringLiteral("PLU"),
            QStringLiteral("Zkratka"), QStringLiteral("Popis")};
}

QString keyColumnName(ItemImportKey key) {
    switch (key) {
    case ItemImportKey::Katalog:
        break;
    case ItemImportKey::BarCode:
        return QStringLiteral("BarCode");
    case ItemImportKey::PLU:
        return QStringLiteral("PLU");
    case ItemImportKey::Zkratka:
        return QStringLiteral("Zkratka");
    case ItemImportKey::Popis:
        return QStringLiteral("Popis");
    }
    return QStringLiteral("Katalog");
}

QStringList columnChoices(ItemImportSource source) {
    QStringList numbers;
    if (source == ItemImportSource::Dbase)
        return numbers;
    for (int n = 1; n <= maxColumnNumber; ++n)
        numbers << QString::number(n);
    return numbers;
}

QString browseTitle() {
    return QStringLiteral("Vyberte zdrojový soubor");
}

QString browseFilter(ItemImportSource source) {
    const QString all = QStringLiteral(";;Všechny soubory (*.*)");
    if (source == ItemImportSource::Dbase)
        return QStringLiteral("Soubory dBase (*.dbf)") + all;
    // The file dialog separates its patterns by blanks, so the list carries no commas here.
    return QStringLiteral("Sešit MS Excel / OpenDocument (*.xls *.xlsx *.ods)") + all;
}

std::optional<QString> validate(const ItemImportSettings& settings) {
    if (settings.usesFile()) {
        if (settings.fileName.trimmed().isEmpty())
            return QStringLiteral("Zadejte název zdrojového souboru.");
        if (!QFileInfo(settings.fileName).isFile())
            return QStringLiteral("Zdrojový soubor \"%1\" nebyl nalezen.").arg(settings.fileName);
    }
    if (settings.keyColumn.trimmed().isEmpty() ||
        (settings.needsCountColumn() && settings.countColumn.trimmed().isEmpty()))
        return QStringLiteral("Určete všechna přiřazení sloupců ve zdroji dat.");
    if (settings.columnsAreNumbers()) {
        if (auto problem = columnNumberProblem(settings.keyColumn))
            return problem;
        if (settings.needsCountColumn())
            if (auto problem = columnNumberProblem(settings.countColumn))
                return problem;
    }
    return std::nullopt;
}

} // namespace itemimport

} // namespace orvento::offers
