#pragma once

#include "import/ImportDefinition.h"

#include <QString>

namespace orvento::core {
class Database;
}

namespace orvento::import {

// The keys of a Money definition, read from its text.
struct MoneySettings {
    QString dataPath;     // `DataPath`: read and kept, the run does not use it
    QString agendaPath;   // `AgendaPath`: the firm's files (the stock cards)
    QString yearPath;     // `YearPath`: the accounting year's files (documents and their items)
    bool importPC = true; // `ImportPC`: sale prices from Money, purchase prices from
                          // the stock cards
    QString druhDokl = QStringLiteral("N"); // `DruhDokl`, upper-cased
};

// Reads the keys: each path trimmed, '\' read as '/', the data folder's mark expanded, every
// folder found whatever its letter case and ended by '/' (an empty path stays empty);
// `ImportPC` true unless it reads as false; `DruhDokl` "N" when empty.
MoneySettings readMoneySettings(const QString& text, const QString& dataFolder);
// The folder of a path key as the run uses it.
QString moneyFolder(const QString& stored, const QString& dataFolder);

// The definition new agendas hold and "Přidat" creates: every key, the paths empty.
QString moneyDefinitionName(); // "Import z Money"
QString moneyDefinitionDescription();
QString moneyDefinitionText();
// That definition as a new row would hold it.
ImportDefinition newMoneyDefinition();
// Stores that definition in `agenda` (new agendas and the demo have it). False with `error`.
bool storeMoneyDefinition(core::Database& agenda, QString& error);
// The third entry of "Přidat" while the agenda holds no Money definition.
QString addMoneyDefinitionCaption();

// The wizard's Money start page: the intro, the warning's heading (shown in red), its text.
QString moneyStartPageIntro();
QString moneyStartPageWarning();
QString moneyStartPageText();

} // namespace orvento::import
