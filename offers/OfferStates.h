#pragma once

#include <QString>
#include <QStringList>

namespace orvento::offers {

// The states of an offer (`IDStav`): 0 to 2 open, 3 to 6 settled.
inline constexpr int kStateCount = 7;
inline constexpr int kFirstSettledState = 3;

// The state's text as every state list shows it; empty for a value outside 0 to 6.
QString stateText(int state);
// The seven texts in state order.
QStringList stateTexts();
// Only a settled offer carries a settlement date.
bool isSettledState(int state);

// What the card proposes for payment and transport; any other text may be typed.
QStringList paymentMethods();
QStringList transportMethods();
inline constexpr int kPaymentWidth = 20;

// The title of an offer whose title was left empty.
QString defaultTitle();

} // namespace orvento::offers
