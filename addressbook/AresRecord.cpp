#include "addressbook/AresRecord.h"

#include "addressbook/FirmRecords.h"

namespace orvento::addressbook {

namespace {

constexpr int kIcoDigits = 8;
constexpr int kCheckModulus = 11;
constexpr int kDecimalBase = 10;

} // namespace

void AresRecord::fitToCard() {
    // The card's own widths are the columns' widths; the firm's clipping is the one rule.
    Firm fitted;
    fitted.Nazev = name.trimmed();
    fitted.Ulice = street.trimmed();
    fitted.Psc = psc.trimmed();
    fitted.Misto = place.trimmed();
    fitted.ICO = ico.trimmed();
    clipTexts(fitted);
    // A cut may end on a blank that the card would trim away on taking the value.
    name = fitted.Nazev.trimmed();
    street = fitted.Ulice.trimmed();
    psc = fitted.Psc.trimmed();
    place = fitted.Misto.trimmed();
    ico = fitted.ICO.trimmed();
}

QString aresNotFoundMessage(const QString& ico) {
    return QStringLiteral("v registru ARES nebyl nalezen žádný záznam pro IČ %1").arg(ico);
}

QString aresUnreadableMessage(const QString& ico) {
    return QStringLiteral("IČ %1 se v registru ARES nepodařilo ověřit/načíst.").arg(ico);
}

QString aresNoConnectionMessage() {
    return QStringLiteral("přístup k registru ARES selhal, ověřte připojení k internetu.");
}

QString icoWithoutBlanks(const QString& typed) {
    QString result;
    for (const QChar c : typed)
        if (!c.isSpace())
            result.append(c);
    return result;
}

std::optional<QString> registerIco(const QString& typed) {
    const QString digits = icoWithoutBlanks(typed);
    if (digits.isEmpty() || digits.size() > kIcoDigits)
        return std::nullopt;
    for (const QChar c : digits)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    const QString ico = digits.rightJustified(kIcoDigits, QLatin1Char('0'));
    // Weights 8 down to 2 over the first seven digits.
    int sum = 0;
    for (int i = 0; i < kIcoDigits - 1; ++i)
        sum += ico.at(i).digitValue() * (kIcoDigits - i);
    const int check = (kCheckModulus - sum % kCheckModulus) % kDecimalBase;
    if (ico.at(kIcoDigits - 1).digitValue() != check)
        return std::nullopt;
    return ico;
}

} // namespace orvento::addressbook
