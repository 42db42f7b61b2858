#include "import/PriceRowConversion.h"

#include "catalogue/pricing/VatConversion.h"
#include "import/PriceListTexts.h"

namespace orvento::import {

namespace {

using core::sources::Cell;
using F = PriceListField;

constexpr int kCenSkupinaWidth = 10;

// The field as the protocol names it when its column cannot be read.
QString fieldLabel(F field) {
    switch (field) {
    case F::Popis:
        return QStringLiteral("Popis");
    case F::Katalog:
        return QStringLiteral("Katalog");
    case F::BarCode:
        return QStringLiteral("BarCode");
    case F::PLU:
        return QStringLiteral("PLU");
    case F::Poznamka:
        return QStringLiteral("Poznamka");
    case F::Zkratka:
        return QStringLiteral("Zkratka");
    case F::TextMJ:
        return QStringLiteral("TextMJ");
    case F::SazbaDPH:
        return QStringLiteral("SazbaDPH");
    case F::Obrazek:
        return QStringLiteral("Obrazek");
    case F::NakCena:
        return QStringLiteral("NakCena");
    case F::Hodnota:
        return QStringLiteral("Marze\" nebo \"Rabat");
    case F::ProdCena:
        return QStringLiteral("ProdCena");
    }
    return {};
}

// The item's text a field fills, with its width (0: not cut).
QString* textOf(catalogue::ItemRecord& item, F field, int& width) {
    namespace W = catalogue::ItemWidth;
    switch (field) {
    case F::Popis:
        width = W::Popis;
        return &item.Popis;
    case F::Katalog:
        width = W::Katalog;
        return &item.Katalog;
    case F::BarCode:
        width = W::BarCode;
        return &item.BarCode;
    case F::PLU:
        width = W::PLU;
        return &item.PLU;
    case F::Poznamka:
        width = 0;
        return &item.Poznamka;
    case F::Zkratka:
        width = W::Zkratka;
        return &item.Zkratka;
    case F::TextMJ:
        width = W::TextMJ;
        return &item.TextMJ;
    case F::Obrazek:
        width = W::Obrazek;
        return &item.Obrazek;
    default:
        return nullptr;
    }
}

constexpr std::array<F, 8> kTextFields{F::Popis,    F::Katalog, F::BarCode, F::PLU,
                                       F::Poznamka, F::Zkratka, F::TextMJ,  F::Obrazek};

} // namespace

std::optional<qsizetype> columnIndex(const QStringList& columns, const QString& name) {
    for (qsizetype i = 0; i < columns.size(); ++i)
        if (columns[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return std::nullopt;
}

std::optional<PriceRowConversion> PriceRowConversion::make(const ImportDefinition& definition,
                                                           const QStringList& columns,
                                                           QString& error) {
    PriceRowConversion conversion(definition.priceList);
    for (std::size_t i = 0; i < kPriceListFieldCount; ++i) {
        const FieldMapping& mapping = conversion.m_settings.fields[i];
        if (!mapping.imported || mapping.source != ValueSource::Column)
            continue;
        const auto at = columnIndex(columns, mapping.column);
        if (!at) {
            error = pricelisttext::fieldReadFailed(fieldLabel(static_cast<F>(i)),
                                                   pricelisttext::missingColumn(mapping.column));
            return std::nullopt;
        }
        conversion.m_columnOf[i] = at;
    }
    return conversion;
}

bool PriceRowConversion::convert(const core::sources::Row& row, int rowNumber, double vatRate,
                                 PreparedItem& prepared, QString& error) const {
    catalogue::ItemRecord& item = prepared.item;
    const auto cellOf = [&](F field) -> const Cell* {
        const auto& at = m_columnOf[static_cast<std::size_t>(field)];
        return at && *at < static_cast<qsizetype>(row.size()) ? &row[static_cast<std::size_t>(*at)]
                                                              : nullptr;
    };
    const auto imported = [&](F field) {
        return m_settings.field(field).imported;
    };

    for (F field : kTextFields) {
        if (!imported(field))
            continue;
        int width = 0;
        QString* target = textOf(item, field, width);
        const Cell* cell = cellOf(field);
        *target = cell ? cell->toText() : m_settings.field(field).fixedText;
        if (width > 0)
            target->truncate(width);
    }

    // A number field's value; an empty cell counts as 0.
    const auto numberOf = [&](F field, double& value) {
        const Cell* cell = cellOf(field);
        if (!cell) {
            value = m_settings.field(field).fixedNumber;
            return true;
        }
        if (cell->isEmpty()) {
            value = 0;
            return true;
        }
        const std::optional<double> number = cell->toNumber();
        if (!number) {
            error = pricelisttext::fieldReadFailed(
                fieldLabel(field), pricelisttext::notANumber(rowNumber, cell->toText()));
            return false;
        }
        value = *number;
        return true;
    };

    double value = 0;
    if (imported(F::SazbaDPH)) {
        if (!numberOf(F::SazbaDPH, value))
            return false;
        item.price.SazbaDPH = value;
        vatRate = value;
    }
    if (imported(F::NakCena)) {
        if (!numberOf(F::NakCena, value))
            return false;
        item.price.NakCena = value;
    }
    if (imported(F::Hodnota)) {
        if (!numberOf(F::Hodnota, value))
            return false;
        (m_settings.valueKind == MarginKind::Margin ? item.price.Marze : item.price.Rabat) = value;
    }
    if (imported(F::ProdCena)) {
        if (!numberOf(F::ProdCena, value))
            return false;
        using catalogue::convertVat;
        using catalogue::VatPart;
        if (m_settings.salePriceBasis == PriceBasis::WithVat) {
            item.price.PrCenaSDPH = value;
            item.price.PrCenaBDPH = convertVat(true, VatPart::Net, vatRate, value);
        } else {
            item.price.PrCenaBDPH = value;
            item.price.PrCenaSDPH = convertVat(false, VatPart::Gross, vatRate, value);
        }
    }

    if (prepared.isNew() || !m_settings.onlyNewItems) {
        if (m_settings.setPriceGroup)
            item.CenSkupina = m_settings.priceGroup.left(kCenSkupinaWidth);
        if (m_settings.setIdentifiers)
            item.Identif = m_settings.identifiers.left(catalogue::ItemWidth::Identif);
        if (m_settings.setRounding)
            item.price.Zaok = m_settings.rounding;
        if (m_settings.setPriceType)
            item.price.SDPH = m_settings.priceType == PriceBasis::WithVat;
        if (m_settings.setRecompute) {
            item.price.Prepocitat = m_settings.recompute == RecomputeChoice::Yes;
            item.price.TypHodnoty = m_settings.recomputeBy == MarginKind::Markup ? 1 : 0;
        }
    }
    return true;
}

std::vector<ItemColumn> PriceRowConversion::updatedColumns() const {
    std::vector<ItemColumn> columns;
    const auto imported = [&](F field) {
        return m_settings.field(field).imported;
    };
    const std::array<std::pair<F, ItemColumn>, 10> plain{{
        {F::Popis, ItemColumn::Popis},
        {F::Katalog, ItemColumn::Katalog},
        {F::BarCode, ItemColumn::BarCode},
        {F::Poznamka, ItemColumn::Poznamka},
        {F::SazbaDPH, ItemColumn::SazbaDPH},
        {F::TextMJ, ItemColumn::TextMJ},
        {F::Obrazek, ItemColumn::Obrazek},
        {F::PLU, ItemColumn::PLU},
        {F::Zkratka, ItemColumn::Zkratka},
        {F::NakCena, ItemColumn::NakCena},
    }};
    for (const auto& [field, column] : plain)
        if (imported(field))
            columns.push_back(column);
    if (imported(F::Hodnota))
        columns.push_back(m_settings.valueKind == MarginKind::Margin ? ItemColumn::Marze
                                                                     : ItemColumn::Rabat);
    if (imported(F::ProdCena)) {
        columns.push_back(ItemColumn::PrCenaBDPH);
        columns.push_back(ItemColumn::PrCenaSDPH);
    }
    if (!m_settings.onlyNewItems) {
        if (m_settings.setPriceGroup)
            columns.push_back(ItemColumn::CenSkupina);
        if (m_settings.setIdentifiers)
            columns.push_back(ItemColumn::Identif);
        if (m_settings.setRounding)
            columns.push_back(ItemColumn::Zaok);
        if (m_settings.setPriceType)
            columns.push_back(ItemColumn::SDPH);
        if (m_settings.setRecompute) {
            columns.push_back(ItemColumn::Prepocitat);
            columns.push_back(ItemColumn::TypHodnoty);
        }
    }
    return columns;
}

} // namespace orvento::import
