#pragma once

#include <QString>

namespace orvento::catalogue {

// Where the two bulk wizards take their items from, fixed when a wizard opens: the whole
// catalogue (from the main window, the filter page applies), or the items of the groups or the
// items themselves marked in the catalogue window.
enum class SelectionMode { WholeCatalogue = 0, MarkedGroups = 1, MarkedItems = 2 };

// How a setting changes the stored value: replaced, raised by the amount, or multiplied by it.
enum class ValueAction { Set = 0, Increase = 1, Multiply = 2 };

struct ValueSetting {
    bool on = false;
    ValueAction action = ValueAction::Set;
    double value = 0.0;
};

// The price data a repricing sets on every item before recomputing it; each row is written only
// when it is ticked.
struct RepricingSettings {
    bool rateOn = false;
    int rate = 0;
    ValueSetting purchasePrice;
    ValueSetting margin; // "Set" or "Increase" only
    ValueSetting rabat;  // "Set" or "Increase" only
    ValueSetting salePrice;
    bool priceGroupOn = false;
    QString priceGroup; // the group's code; empty clears it on the items
    bool roundingOn = false;
    int rounding = 0; // `Zaok`: 0 none, 1 crowns, 2 tenths
    bool priceTypeOn = false;
    bool withVat = false; // `SDPH`
    bool recomputeOn = false;
    bool recompute = true; // `Prepocitat`
    int valueType = 0;     // `TypHodnoty`: 0 margin, 1 rabat

    // A sale price raised or multiplied keeps each item's own price type and group: the
    // computation starts from the price the type makes leading.
    bool salePriceRelative() const { return salePrice.on && salePrice.action != ValueAction::Set; }
    bool anyOn() const {
        return rateOn || purchasePrice.on || margin.on || rabat.on || salePrice.on ||
               priceGroupOn || roundingOn || priceTypeOn || recomputeOn;
    }
};

// How the bulk update changes the identifier lists.
enum class IdentifierAction { Set = 0, Add = 1, Remove = 2 };

// The descriptive data a bulk update sets on every item; each field only when ticked.
struct BulkUpdateSettings {
    struct Text {
        bool on = false;
        QString value;
    };
    Text popis;
    Text katalog;
    Text barCode;
    Text plu;
    Text zkratka;
    Text textMJ;
    Text poznamka;
    bool identifiersOn = false;
    IdentifierAction identifierAction = IdentifierAction::Set;
    QString identifiers; // in the identifier list format
    bool availabilityOn = false;
    int availability = 0; // index into the availability captions
};

// The filter page of the whole-catalogue mode.
struct CatalogueScope {
    bool everything = true;
    bool sheetOn = false;
    qint64 sheetId = 0;
    QString sheetName;
    bool groupOn = false;
    qint64 groupId = 0;
    QString groupName;
    bool rateOn = false; // the repricing only
    int rate = 0;
};

} // namespace orvento::catalogue
