#pragma once

#include "addressbook/AresRecord.h"

#include <QString>

#include <array>

namespace orvento::addressbook {

// The card's name and address beside the register's, for the comparison window: which values
// differ (exactly, letter case included), and taking the register's on request.
class AresVerification {
public:
    enum class Field { Name, Street, Psc, Place };
    static constexpr std::array<Field, 4> kFields = {Field::Name, Field::Street, Field::Psc,
                                                     Field::Place};

    // The card's values are fitted like the register's, so that only real differences count.
    AresVerification(const QString& ico, AresRecord card, AresRecord found);

    static QString caption() { return QStringLiteral("Ověření dle registru ARES"); }
    QString heading() const;
    static QString caption(Field field);

    const QString& ico() const { return m_ico; }
    const QString& cardValue(Field field) const;
    const QString& registerValue(Field field) const;
    bool differs(Field field) const { return cardValue(field) != registerValue(field); }
    bool anyDifference() const;

    // "Ano": the card's values become the register's.
    void takeRegister();
    const AresRecord& card() const { return m_card; }

private:
    static const QString& valueOf(const AresRecord& record, Field field);

    QString m_ico;
    AresRecord m_card;
    AresRecord m_register;
};

} // namespace orvento::addressbook
