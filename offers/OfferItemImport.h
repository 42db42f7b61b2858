#pragma once

#include "offers/OfferItemImportReader.h"
#include "offers/OfferItemImportSettings.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace orvento::core {
class Database;
class UserInteraction;
} // namespace orvento::core

namespace orvento::offers {

class OfferCardLogic;

// Adding catalogue items to the open offer by the keys in a spreadsheet, a dBase table or the
// clipboard's text (the logic of frmItemsImportFileParser). Each key that finds exactly one item
// in the chosen catalogue column adds it after the current item, on the offer's level, with the
// record's quantity; every other record is listed in the information window. Only the working
// copy changes.
class OfferItemImport {
public:
    OfferItemImport(core::Database& agenda, core::UserInteraction& ui, OfferCardLogic& card);

    // The catalogue right comes first; false after the message.
    static bool mayStart(core::UserInteraction& ui);
    static QString problemHeading() {
        return QStringLiteral("Upozornění - nebylo možné přidat tyto položky:");
    }

    ItemImportSettings& settings() { return m_settings; }
    const ItemImportSettings& settings() const { return m_settings; }

    // "...": the file dialog for the chosen source; true when a file was picked.
    bool browse();
    // OK: checks the settings, reads the source (the clipboard's text is given by the caller),
    // remembers the settings and adds the items. False, after the error message, while the
    // dialog stays open; nothing is added then.
    bool accept(const QString& clipboardText);
    // The look-up and adding alone: the lines of the records that added nothing, in their order.
    QStringList addRecords(const std::vector<ParsedRecord>& records);

private:
    core::Database& m_db;
    core::UserInteraction& m_ui;
    OfferCardLogic& m_card;
    ItemImportSettings m_settings;
};

} // namespace orvento::offers
