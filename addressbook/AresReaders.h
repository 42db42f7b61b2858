#pragma once

#include "addressbook/AresRecord.h"

#include <QByteArray>

namespace orvento::addressbook {

// The register's answers read into its record, from the bytes as they came. `ico` is the IČO
// asked for, for the messages. Neither reader trims or cuts the values (AresRecord::fitToCard).

// The REST service's firm: a JSON object with `ico`, `obchodniJmeno` and the seat `sidlo`.
// Anything else is an unreadable answer.
AresRecord readAresJson(const QByteArray& body, const QString& ico);

// The XML service's standard answer: the document element, under it `are:Odpoved` with
// `are:Pocet_zaznamu` and `are:Zaznam`. A count of "0" is a firm not found.
AresRecord readAresXml(const QByteArray& body, const QString& ico);

} // namespace orvento::addressbook
