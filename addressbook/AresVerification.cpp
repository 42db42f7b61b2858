#include "addressbook/AresVerification.h"

#include <utility>

namespace orvento::addressbook {

AresVerification::AresVerification(const QString& ico, AresRecord card, AresRecord found)
    : m_ico(ico)
    , m_card(std::move(card))
    , m_register(std::move(found)) {
    m_card.fitToCard();
    m_register.fitToCard();
}

QString AresVerification::heading() const {
    return QStringLiteral("Výsledek ověření IČ %1").arg(m_ico);
}

QString AresVerification::caption(Field field) {
    switch (field) {
    case Field::Name:
        return QStringLiteral("Název");
    case Field::Street:
        return QStringLiteral("Ulice");
    case Field::Psc:
        return QStringLiteral("PSČ");
    case Field::Place:
        return QStringLiteral("Místo");
    }
    return {};
}

const QString& AresVerification::valueOf(const AresRecord& record, Field field) {
    switch (field) {
    case Field::Name:
        return record.name;
    case Field::Street:
        return record.street;
    case Field::Psc:
        return record.psc;
    case Field::Place:
        break;
    }
    return record.place;
}

const QString& AresVerification::cardValue(Field field) const {
    return valueOf(m_card, field);
}

const QString& AresVerification::registerValue(Field field) const {
    return valueOf(m_register, field);
}

bool AresVerification::anyDifference() const {
    for (const Field field : kFields)
        if (differs(field))
            return true;
    return false;
}

void AresVerification::takeRegister() {
    m_card.name = m_register.name;
    m_card.street = m_register.street;
    m_card.psc = m_register.psc;
    m_card.place = m_register.place;
}

} // namespace orvento::addressbook
