#include "offers/OfferStates.h"

#include <array>

namespace orvento::offers {

namespace {

const std::array<const char*, kStateCount> kStates = {
    "rozpracovaná (zatím neodeslaná)",
    "odeslaná (čekáme na vyjádření odběratele)",
    "korekce (dodatečná úprava)",
    "uzavřená (odběratel nabídku akceptoval)",
    "bez reakce (vyhrála konkurence ?)",
    "zamítnutá (nechceme pokračovat, jiný důvod)",
    "stornovaná",
};

} // namespace

QString stateText(int state) {
    if (state < 0 || state >= kStateCount)
        return {};
    return QString::fromUtf8(kStates.at(static_cast<std::size_t>(state)));
}

QStringList stateTexts() {
    QStringList texts;
    for (int s = 0; s < kStateCount; ++s)
        texts << stateText(s);
    return texts;
}

bool isSettledState(int state) {
    return state >= kFirstSettledState && state < kStateCount;
}

QStringList paymentMethods() {
    return {QStringLiteral("hotově"),          QStringLiteral("převodem"),
            QStringLiteral("složenkou"),       QStringLiteral("dobírkou"),
            QStringLiteral("platební kartou"), QStringLiteral("šekem")};
}

QStringList transportMethods() {
    return {QStringLiteral("poštou"),
            QStringLiteral("vlastní"),
            QStringLiteral("odběr u dodavatele"),
            QStringLiteral("přepravní službou"),
            QStringLiteral("spěšninou"),
            QStringLiteral("dodavatelem")};
}

QString defaultTitle() {
    return QStringLiteral("Nabídka");
}

} // namespace orvento::offers
