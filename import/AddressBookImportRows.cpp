#include "import/AddressBookImportRows.h"

#include "import/PriceRowConversion.h"
#include "import/RunTexts.h"

namespace orvento::import {

namespace {

using addressbook::Firm;
using F = AddressField;

// A field with its column of `Adresar` and the firm's member, in the order the UPDATE names them.
struct AddressColumn {
    F field;
    const char* column;
    QString Firm::*member;
};
constexpr std::array<AddressColumn, kAddressFieldCount> kColumns{{
    {F::NazevAdr, "Nazev", &Firm::Nazev},
    {F::UliceAdr, "Ulice", &Firm::Ulice},
    {F::MistoAdr, "Misto", &Firm::Misto},
    {F::PSCAdr, "Psc", &Firm::Psc},
    {F::StatAdr, "Stat", &Firm::Stat},
    {F::ICOAdr, "ICO", &Firm::ICO},
    {F::TelefonAdr, "Telefon", &Firm::Telefon},
    {F::FaxAdr, "Fax", &Firm::Fax},
    {F::EmailAdr, "Email", &Firm::Email},
    {F::InternetAdr, "WWW", &Firm::WWW},
    {F::PoznamkaAdr, "Poznamka", &Firm::Poznamka},
    {F::DICAdr, "DIC", &Firm::DIC},
    {F::EANAdr, "EANKod", &Firm::EANKod},
    {F::ZpravaAdr, "Zprava", &Firm::Zprava},
}};

const AddressColumn& columnOf(F field) {
    for (const AddressColumn& c : kColumns)
        if (c.field == field)
            return c;
    return kColumns.front();
}

std::size_t indexOf(F field) {
    return static_cast<std::size_t>(field);
}

const QString kPriceLevel = QStringLiteral("CenHladina");

} // namespace

std::optional<AddressReference> addressReferenceOf(const QString& refField) {
    const QString key = refField.trimmed().toUpper();
    if (key == QLatin1String("ICO"))
        return AddressReference{F::ICOAdr, QStringLiteral("ICO"), QStringLiteral("IČO")};
    if (key == QLatin1String("EANKOD"))
        return AddressReference{F::EANAdr, QStringLiteral("EANKod"), QStringLiteral("EAN kódu")};
    if (key == QLatin1String("NAZEV"))
        return AddressReference{F::NazevAdr, QStringLiteral("Nazev"), QStringLiteral("Názvu")};
    return std::nullopt;
}

QString cutToColumn(AddressField field, const QString& value) {
    Firm firm;
    QString Firm::*member = columnOf(field).member;
    firm.*member = value;
    addressbook::clipTexts(firm);
    return firm.*member;
}

AddressRows::AddressRows(const AddressBookSettings& settings)
    : m_settings(settings) {
    m_updateSql = QStringLiteral("UPDATE Adresar SET Znacka = :Znacka");
    for (const AddressColumn& c : kColumns)
        if (m_settings.field(c.field).imported)
            m_updateSql += QStringLiteral(", %1 = :%1").arg(QLatin1String(c.column));
    if (m_settings.setPriceLevel && !m_settings.onlyNewItems)
        m_updateSql += QStringLiteral(", %1 = :%1").arg(kPriceLevel);
    m_updateSql += QStringLiteral(" WHERE ID = :IDZaznamu");
}

std::optional<AddressRows> AddressRows::make(const ImportDefinition& definition,
                                             const QStringList& columns, QString& error) {
    AddressRows rows(definition.addressBook);
    for (const AddressColumn& c : kColumns) {
        const FieldMapping& mapping = rows.m_settings.field(c.field);
        if (!mapping.imported || mapping.source != ValueSource::Column)
            continue;
        const auto at = columnIndex(columns, mapping.column);
        if (!at) {
            error = runtext::fieldReadFailed(QLatin1String(c.column),
                                             runtext::missingColumn(mapping.column));
            return std::nullopt;
        }
        rows.m_columnOf[indexOf(c.field)] = at;
    }
    return rows;
}

Firm AddressRows::firmOf(const core::sources::Row& row) const {
    Firm firm;
    for (const AddressColumn& c : kColumns) {
        const FieldMapping& mapping = m_settings.field(c.field);
        QString value;
        if (mapping.imported) {
            if (mapping.source == ValueSource::Fixed) {
                value = mapping.fixedText;
            } else {
                const auto& at = m_columnOf[indexOf(c.field)];
                if (at && *at < static_cast<qsizetype>(row.size()))
                    value = row[static_cast<std::size_t>(*at)].toText();
            }
        }
        // Stored empty, never NULL, as the firm card stores an empty field.
        firm.*c.member = value.isNull() ? QStringLiteral("") : value;
    }
    firm.CenHladina = m_settings.setPriceLevel ? m_settings.priceLevel : QStringLiteral("");
    addressbook::clipTexts(firm);
    return firm;
}

QString AddressRows::insertSql() const {
    return addressbook::firmMapping().insertSql();
}

core::SqlParams AddressRows::insertParams(const core::sources::Row& row) const {
    return addressbook::firmMapping().params(firmOf(row));
}

core::SqlParams AddressRows::updateParams(const core::sources::Row& row, qint64 id,
                                          const QDateTime& mark) const {
    const Firm firm = firmOf(row);
    core::SqlParams params;
    params.reserve(kAddressFieldCount + 3);
    params.emplace_back(QStringLiteral("Znacka"), mark);
    for (const AddressColumn& c : kColumns)
        if (m_settings.field(c.field).imported)
            params.emplace_back(QLatin1String(c.column), firm.*c.member);
    if (m_settings.setPriceLevel && !m_settings.onlyNewItems)
        params.emplace_back(kPriceLevel, firm.CenHladina);
    params.emplace_back(QStringLiteral("IDZaznamu"), id);
    return params;
}

} // namespace orvento::import
