#pragma once

#include "core/sources/ImportSource.h"

#include <QString>

#include <array>
#include <cstddef>
#include <optional>

namespace orvento::import {

// `Import`.`TypOperace`.
enum class DefinitionKind { PriceList = 0, AddressBook = 1, Money = 10 };

// `Source<F>`: where a mapped field's value comes from.
enum class ValueSource { Column = 0, Fixed = 1 };

// One mappable field: `Check<F>`, `Source<F>` and `Value<F>`. The stored `Value<F>` is the
// column's name for ValueSource::Column and the fixed value otherwise; both are kept here so the
// editor can switch between them without losing what was typed.
struct FieldMapping {
    bool imported = false;
    ValueSource source = ValueSource::Column;
    QString column;
    QString fixedText;
    double fixedNumber = 0; // the fixed value of the number fields
};

// The price-list fields in the order the definition text writes them.
enum class PriceListField {
    Popis,
    Katalog,
    BarCode,
    PLU,
    Poznamka,
    Zkratka,
    TextMJ,
    SazbaDPH,
    Obrazek,
    NakCena,
    Hodnota, // margin or markup, by `TypHodnota`
    ProdCena
};
inline constexpr std::size_t kPriceListFieldCount = 12;
bool isNumberField(PriceListField field);

enum class MarginKind { Margin = 0, Markup = 1 };      // `TypHodnota`, `ValuePrepocPodle`
enum class PriceBasis { WithoutVat = 0, WithVat = 1 }; // `ProdCenaTypCeny`, `ValueTypCeny`
enum class RecomputeChoice { Yes = 0, No = 1 };        // `ValuePrepocitat`
// "nezaokrouhlovat", "na koruny", "na desetníky": the item's `Zaok` codes.
inline constexpr int kRoundingChoices = 3;

struct PriceListSettings {
    std::array<FieldMapping, kPriceListFieldCount> fields;
    MarginKind valueKind = MarginKind::Margin;
    PriceBasis salePriceBasis = PriceBasis::WithoutVat;

    qint64 newItemsSheet = 0; // `IDListu`
    qint64 newItemsGroup = 0; // `IDSkup`
    bool filterOn = false;    // `CheckHledatPouzeV`
    qint64 filterSheet = 0;   // `IDListuHLedatV`
    bool filterGroupOn = false;
    qint64 filterGroup = 0;

    bool onlyNewItems = false; // `CheckNastavNaNove`
    bool setPriceGroup = false;
    QString priceGroup; // `CenSkupina`: the price group's `Zkratka`
    bool setIdentifiers = false;
    QString identifiers;
    bool setRounding = false;
    int rounding = 0; // the item's `Zaok` code
    bool setPriceType = false;
    PriceBasis priceType = PriceBasis::WithoutVat;
    bool setRecompute = false;
    RecomputeChoice recompute = RecomputeChoice::Yes;
    MarginKind recomputeBy = MarginKind::Margin;

    FieldMapping& field(PriceListField f) { return fields[static_cast<std::size_t>(f)]; }
    const FieldMapping& field(PriceListField f) const {
        return fields[static_cast<std::size_t>(f)];
    }
};

// The address-book fields in the order the definition text writes them.
enum class AddressField {
    NazevAdr,
    UliceAdr,
    PSCAdr,
    MistoAdr,
    StatAdr,
    ICOAdr,
    DICAdr,
    ZpravaAdr,
    TelefonAdr,
    FaxAdr,
    EmailAdr,
    InternetAdr,
    EANAdr,
    PoznamkaAdr
};
inline constexpr std::size_t kAddressFieldCount = 14;

struct AddressBookSettings {
    std::array<FieldMapping, kAddressFieldCount> fields;
    bool onlyNewItems = false; // `CheckNastavNaNoveAdr`
    bool setPriceLevel = false;
    QString priceLevel; // the level's `Zkratka`

    FieldMapping& field(AddressField f) { return fields[static_cast<std::size_t>(f)]; }
    const FieldMapping& field(AddressField f) const { return fields[static_cast<std::size_t>(f)]; }
};

// One row of `Import` with its definition text read into typed settings.
struct ImportDefinition {
    qint64 id = 0;
    DefinitionKind kind = DefinitionKind::PriceList;
    QString name;        // `Nazev`
    QString description; // `Popis`

    core::sources::SourceKind sourceKind = core::sources::SourceKind::Mdb; // `DBSource`
    QString fileName;                                                      // `DBFileName`
    QString tableName;                                                     // `DBTableName`
    bool compare = false;                                                  // `Porovnavat`
    QString refField;          // `RefField`: "KATALOG", "BARCODE", ... or empty
    QString refColumn;         // `RefDBField`
    bool createMissing = true; // `CheckNovaPolozka`

    PriceListSettings priceList;
    AddressBookSettings addressBook;
    QString rawText; // the whole text of a Money definition, edited as it is
};

// The price list and the address book map fields; any other kind keeps its text as it is.
bool hasMappedFields(DefinitionKind kind);
// A new definition of the kind with every default.
ImportDefinition newDefinition(DefinitionKind kind);
// The definition text: every key of the kind in its order, CR LF between lines. Fixed numbers
// with a decimal comma whatever the locale.
QString writeDefinitionText(const ImportDefinition& definition);
// Reads `text` into `definition` (its kind set) over the kind's defaults. A fixed number that is
// no number (read with a comma or a point) fails the whole reading with a Czech message.
bool readDefinitionText(ImportDefinition& definition, const QString& text, QString& error);

} // namespace orvento::import
