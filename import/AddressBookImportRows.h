#pragma once

#include "addressbook/FirmRecords.h"
#include "core/Database.h"
#include "core/sources/ImportSource.h"
#include "import/ImportDefinition.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace orvento::import {

// The column of `Adresar` a reference of a definition looks in, and the protocol's name for it.
struct AddressReference {
    AddressField field;
    QString column;
    QString caption;
};
// "ICO", "EANKOD" or "NAZEV" (letter case ignored); nothing for any other text.
std::optional<AddressReference> addressReferenceOf(const QString& refField);
// A value cut to the width of the field's column, as the run would store it.
QString cutToColumn(AddressField field, const QString& value);

// Turns source rows into addresses as an address-book definition maps them: each checked field
// from its source column (read as text) or its fixed value, cut to its column's width (the note
// is not cut), and the price level on new addresses always, on found ones unless it is for new
// ones only. The statements name fixed columns only; every value is bound.
class AddressRows {
public:
    // The source columns of the mapped fields, found by name (letter case ignored); nothing with
    // the whole protocol line in `error` when one is missing.
    static std::optional<AddressRows> make(const ImportDefinition& definition,
                                           const QStringList& columns, QString& error);

    // The INSERT of a new address: the address book's fifteen columns, those not mapped empty.
    QString insertSql() const;
    core::SqlParams insertParams(const core::sources::Row& row) const;
    // The UPDATE of a found address: its mark, exactly the checked columns and the price level
    // where it applies, by `IDZaznamu`.
    const QString& updateSql() const { return m_updateSql; }
    core::SqlParams updateParams(const core::sources::Row& row, qint64 id,
                                 const QDateTime& mark) const;

private:
    explicit AddressRows(const AddressBookSettings& settings);
    // The row's checked fields cut to their widths, every other text empty.
    addressbook::Firm firmOf(const core::sources::Row& row) const;

    AddressBookSettings m_settings;
    std::array<std::optional<qsizetype>, kAddressFieldCount> m_columnOf{};
    QString m_updateSql;
};

} // namespace orvento::import
