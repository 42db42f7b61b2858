#pragma once

#include <QString>

struct sqlite3;

namespace orvento::core {

// An amount as the windows show money: "# ### ### ##0.00" in Czech writing, thousands grouped with
// plain spaces and a decimal comma, whatever the regional settings of the workstation say.
QString formatAmount(double value);
// `AMOUNT_TEXT(value)` in SQL: the amount as formatAmount shows it, NULL for NULL, so that a
// quick find in a money column matches the text the person sees ("1 234,50").
inline constexpr const char* kAmountTextName = "AMOUNT_TEXT";
bool registerAmountText(sqlite3* handle);
// A quantity as the windows show it: four decimals in Czech writing.
QString formatQuantity(double value);

} // namespace orvento::core
