#pragma once

#include <QString>

namespace orvento::core {

// An amount as the windows show money: "# ### ### ##0.00" in Czech writing, thousands grouped with
// plain spaces and a decimal comma, whatever the regional settings of the workstation say.
QString formatAmount(double value);
// A quantity as the windows show it: four decimals in Czech writing.
QString formatQuantity(double value);

} // namespace orvento::core
