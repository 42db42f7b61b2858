#pragma once

#include <QString>

namespace orvento::catalogue {

// An amount as the lists show money: "# ### ### ##0.00", thousands grouped with plain spaces
// whatever the regional settings say.
QString formatAmount(double value);

} // namespace orvento::catalogue
