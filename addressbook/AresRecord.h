#pragma once

#include <QString>

#include <optional>

namespace orvento::addressbook {

// A firm as the business register ARES knows it: its name and registered seat. `error` says
// why a query failed and is empty after a successful one.
struct AresRecord {
    QString name;
    QString street;
    QString psc;
    QString place;
    QString ico;
    QString error;

    bool found() const { return error.isEmpty(); }
    // Trims the values and cuts them to the widths of the card's fields, so that they compare
    // with what the card holds and fit where they are taken.
    void fitToCard();
};

// The messages of a failed query, with the IČO as it was asked for.
QString aresNotFoundMessage(const QString& ico);
QString aresUnreadableMessage(const QString& ico);
QString aresNoConnectionMessage();

// The IČO as typed with every blank removed.
QString icoWithoutBlanks(const QString& typed);
// The IČO to send: eight digits (shorter numbers padded with zeros in front) whose last digit
// is the weighted mod-11 check digit of the first seven. Nothing for letters, more than eight
// digits, a wrong check digit or an empty text: such a number cannot be in the register.
std::optional<QString> registerIco(const QString& typed);

} // namespace orvento::addressbook
