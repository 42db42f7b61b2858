#pragma once

#include <QString>
#include <QStringList>

namespace orvento::offers {

// The states of an offer (`IDStav`), as stored: the first three open, the rest settled.
namespace OfferState {
inline constexpr int InProgress = 0; // "rozpracovaná (zatím neodeslaná)"
inline constexpr int Sent = 1;       // "odeslaná (čekáme na vyjádření odběratele)"
inline constexpr int Correction = 2; // "korekce (dodatečná úprava)"
inline constexpr int Accepted = 3;   // "uzavřená (odběratel nabídku akceptoval)"
inline constexpr int NoResponse = 4; // "bez reakce (vyhrála konkurence ?)"
inline constexpr int Rejected = 5;   // "zamítnutá (nechceme pokračovat, jiný důvod)"
inline constexpr int Cancelled = 6;  // "stornovaná"
} // namespace OfferState
inline constexpr int kStateCount = 7;
inline constexpr int kFirstSettledState = OfferState::Accepted;

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
