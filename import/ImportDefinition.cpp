#include "import/ImportDefinition.h"

#include "core/AgendaSettings.h"
#include "import/DefinitionKeys.h"

#include <QStringList>

namespace orvento::import {

namespace {

using core::sources::SourceKind;

const QString kLineBreak = QStringLiteral("\r\n");
const QString kTrue = QStringLiteral("-1");
const QString kFalse = QStringLiteral("0");
// Fifteen significant digits keep every value a double holds that a person types.
constexpr int kNumberDigits = 15;

// The key suffixes of the mapped fields, in the order of the text.
const std::array<const char*, kPriceListFieldCount> kPriceListNames = {
    "Popis",  "Katalog",  "BarCode", "PLU",     "Poznamka", "Zkratka",
    "TextMJ", "SazbaDPH", "Obrazek", "NakCena", "Hodnota",  "ProdCena"};
const std::array<const char*, kAddressFieldCount> kAddressNames = {
    "NazevAdr",  "UliceAdr",   "PSCAdr", "MistoAdr", "StatAdr",     "ICOAdr", "DICAdr",
    "ZpravaAdr", "TelefonAdr", "FaxAdr", "EmailAdr", "InternetAdr", "EANAdr", "PoznamkaAdr"};

QString boolText(bool value) {
    return value ? kTrue : kFalse;
}

QString numberText(double value) {
    // The decimal comma whatever the workstation's locale: a definition written on one machine
    // must read back on another.
    QString text = QString::number(value, 'g', kNumberDigits);
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

// Collects the lines of one text in order.
class Writer {
public:
    void add(const char* key, const QString& value) {
        m_lines << QString::fromLatin1(key) + QLatin1Char('=') + value;
    }
    void add(const QString& key, const QString& value) {
        m_lines << key + QLatin1Char('=') + value;
    }
    void flag(const char* key, bool value) { add(key, boolText(value)); }
    void number(const char* key, qint64 value) { add(key, QString::number(value)); }
    QString text() const { return m_lines.join(kLineBreak); }

private:
    QStringList m_lines;
};

void writeMapping(Writer& out, const QString& name, const FieldMapping& field, bool numeric,
                  const std::optional<QString>& choiceKey = std::nullopt, int choice = 0) {
    out.add(QStringLiteral("Check") + name, boolText(field.imported));
    if (choiceKey)
        out.add(*choiceKey, QString::number(choice));
    out.add(QStringLiteral("Source") + name, QString::number(static_cast<int>(field.source)));
    QString value = field.column;
    if (field.source == ValueSource::Fixed)
        value = numeric ? numberText(field.fixedNumber) : field.fixedText;
    out.add(QStringLiteral("Value") + name, value);
}

void writeCommon(Writer& out, const ImportDefinition& d) {
    out.add("DBSource", core::sources::sourceKindCode(d.sourceKind));
    out.add("DBFileName", d.fileName);
    out.add("DBTableName", d.tableName);
    out.flag("Porovnavat", d.compare);
    out.add("RefField", d.refField);
    out.add("RefDBField", d.refColumn);
    out.flag("CheckNovaPolozka", d.createMissing);
}

void writePriceList(Writer& out, const PriceListSettings& p) {
    out.number("IDListu", p.newItemsSheet);
    out.number("IDSkup", p.newItemsGroup);
    out.flag("CheckHledatPouzeV", p.filterOn);
    out.number("IDListuHLedatV", p.filterSheet);
    out.flag("CheckHledatVeSkup", p.filterGroupOn);
    out.number("IDSkupHledatV", p.filterGroup);
    for (std::size_t i = 0; i < kPriceListFieldCount; ++i) {
        const auto field = static_cast<PriceListField>(i);
        const QString name = QString::fromLatin1(kPriceListNames[i]);
        std::optional<QString> choiceKey;
        int choice = 0;
        if (field == PriceListField::Hodnota) {
            choiceKey = QStringLiteral("TypHodnota");
            choice = static_cast<int>(p.valueKind);
        } else if (field == PriceListField::ProdCena) {
            choiceKey = QStringLiteral("ProdCenaTypCeny");
            choice = static_cast<int>(p.salePriceBasis);
        }
        writeMapping(out, name, p.fields[i], isNumberField(field), choiceKey, choice);
    }
    out.flag("CheckNastavNaNove", p.onlyNewItems);
    out.flag("CheckCenSkup", p.setPriceGroup);
    out.add("CenSkupina", p.priceGroup);
    out.flag("CheckIdentif", p.setIdentifiers);
    out.add("Identif", p.identifiers);
    out.flag("CheckZaokrouhleni", p.setRounding);
    out.number("ValueZaokrouhleni", p.rounding);
    out.flag("CheckTypCeny", p.setPriceType);
    out.number("ValueTypCeny", static_cast<int>(p.priceType));
    out.flag("CheckPrepocitat", p.setRecompute);
    out.number("ValuePrepocitat", static_cast<int>(p.recompute));
    out.number("ValuePrepocPodle", static_cast<int>(p.recomputeBy));
}

void writeAddressBook(Writer& out, const AddressBookSettings& a) {
    for (std::size_t i = 0; i < kAddressFieldCount; ++i)
        writeMapping(out, QString::fromLatin1(kAddressNames[i]), a.fields[i], false);
    out.flag("CheckNastavNaNoveAdr", a.onlyNewItems);
    out.flag("CheckCenHladAdr", a.setPriceLevel);
    out.add("CenHladAdr", a.priceLevel);
}

using Reader = DefinitionKeyReader;

bool readMapping(const Reader& in, const QString& name, FieldMapping& field, bool numeric,
                 QString& error) {
    field.imported = in.flag(QStringLiteral("Check") + name);
    field.source = in.choice<ValueSource>(QStringLiteral("Source") + name);
    const QString valueKey = QStringLiteral("Value") + name;
    const QString value = in.text(valueKey);
    field.column.clear();
    field.fixedText.clear();
    field.fixedNumber = 0;
    if (field.source == ValueSource::Column) {
        field.column = value;
        return true;
    }
    if (!numeric) {
        field.fixedText = value;
        return true;
    }
    if (value.trimmed().isEmpty())
        return true;
    const auto number = core::parseRate(value);
    if (!number) {
        error = QStringLiteral("Hodnota \"%1\" položky %2 není platné číslo.").arg(value, valueKey);
        return false;
    }
    field.fixedNumber = *number;
    return true;
}

void readCommon(const Reader& in, ImportDefinition& d) {
    if (const auto kind = core::sources::sourceKindFromCode(in.text("DBSource")))
        d.sourceKind = *kind;
    d.fileName = in.text("DBFileName");
    d.tableName = in.text("DBTableName");
    d.compare = in.flag("Porovnavat");
    d.refField = in.text("RefField");
    d.refColumn = in.text("RefDBField");
    d.createMissing = in.flag("CheckNovaPolozka");
}

bool readPriceList(const Reader& in, PriceListSettings& p, QString& error) {
    p.newItemsSheet = in.integer("IDListu");
    p.newItemsGroup = in.integer("IDSkup");
    p.filterOn = in.flag("CheckHledatPouzeV");
    p.filterSheet = in.integer("IDListuHLedatV");
    p.filterGroupOn = in.flag("CheckHledatVeSkup");
    p.filterGroup = in.integer("IDSkupHledatV");
    for (std::size_t i = 0; i < kPriceListFieldCount; ++i) {
        const auto field = static_cast<PriceListField>(i);
        if (!readMapping(in, QString::fromLatin1(kPriceListNames[i]), p.fields[i],
                         isNumberField(field), error))
            return false;
    }
    p.valueKind = in.choice<MarginKind>("TypHodnota");
    p.salePriceBasis = in.choice<PriceBasis>("ProdCenaTypCeny");
    p.onlyNewItems = in.flag("CheckNastavNaNove");
    p.setPriceGroup = in.flag("CheckCenSkup");
    p.priceGroup = in.text("CenSkupina");
    p.setIdentifiers = in.flag("CheckIdentif");
    p.identifiers = in.text("Identif");
    p.setRounding = in.flag("CheckZaokrouhleni");
    const qint64 rounding = in.integer("ValueZaokrouhleni");
    p.rounding = rounding >= 0 && rounding < kRoundingChoices ? static_cast<int>(rounding) : 0;
    p.setPriceType = in.flag("CheckTypCeny");
    p.priceType = in.choice<PriceBasis>("ValueTypCeny");
    p.setRecompute = in.flag("CheckPrepocitat");
    p.recompute = in.choice<RecomputeChoice>("ValuePrepocitat");
    p.recomputeBy = in.choice<MarginKind>("ValuePrepocPodle");
    return true;
}

bool readAddressBook(const Reader& in, AddressBookSettings& a, QString& error) {
    for (std::size_t i = 0; i < kAddressFieldCount; ++i) {
        if (!readMapping(in, QString::fromLatin1(kAddressNames[i]), a.fields[i], false, error))
            return false;
    }
    a.onlyNewItems = in.flag("CheckNastavNaNoveAdr");
    a.setPriceLevel = in.flag("CheckCenHladAdr");
    a.priceLevel = in.text("CenHladAdr");
    return true;
}

} // namespace

bool isNumberField(PriceListField field) {
    switch (field) {
    case PriceListField::SazbaDPH:
    case PriceListField::NakCena:
    case PriceListField::Hodnota:
    case PriceListField::ProdCena:
        return true;
    default:
        return false;
    }
}

bool hasMappedFields(DefinitionKind kind) {
    return kind == DefinitionKind::PriceList || kind == DefinitionKind::AddressBook;
}

ImportDefinition newDefinition(DefinitionKind kind) {
    ImportDefinition definition;
    definition.kind = kind;
    return definition;
}

QString writeDefinitionText(const ImportDefinition& definition) {
    if (!hasMappedFields(definition.kind))
        return definition.rawText;
    Writer out;
    writeCommon(out, definition);
    if (definition.kind == DefinitionKind::PriceList)
        writePriceList(out, definition.priceList);
    else
        writeAddressBook(out, definition.addressBook);
    return out.text();
}

bool readDefinitionText(ImportDefinition& definition, const QString& text, QString& error) {
    error.clear();
    ImportDefinition read = newDefinition(definition.kind);
    read.id = definition.id;
    read.name = definition.name;
    read.description = definition.description;
    read.rawText = text;
    if (hasMappedFields(definition.kind)) {
        const Reader in(text);
        readCommon(in, read);
        const bool ok = definition.kind == DefinitionKind::PriceList
                            ? readPriceList(in, read.priceList, error)
                            : readAddressBook(in, read.addressBook, error);
        if (!ok)
            return false;
    }
    definition = std::move(read);
    return true;
}

} // namespace orvento::import
