#pragma once

// The address book of a large customer base for the benchmarks: `firms` firms with varied Czech
// names, each with `contactsEach` contacts, written in one unit of work. Every firm's IČO is
// 10000000 + 7 * its number (from 0), so a benchmark can name stored firms by it.

#include "core/Database.h"

#include <QRandomGenerator>
#include <QString>
#include <QStringList>

namespace orvento::bench {

inline QString benchFirmIco(int index) {
    constexpr int kFirstIco = 10000000;
    constexpr int kIcoStep = 7;
    return QString::number(kFirstIco + index * kIcoStep);
}

inline bool generateFirms(core::Database& db, int firms, int contactsEach) {
    const QStringList first = {QStringLiteral("Stavby"),      QStringLiteral("Elektro"),
                               QStringLiteral("Čistírna"),    QStringLiteral("Autoservis"),
                               QStringLiteral("Pekárna"),     QStringLiteral("Chemie"),
                               QStringLiteral("Truhlářství"), QStringLiteral("Kovo"),
                               QStringLiteral("Řeznictví"),   QStringLiteral("Zahradnictví")};
    const QStringList second = {QStringLiteral("Novák"),  QStringLiteral("Dvořák"),
                                QStringLiteral("Černý"),  QStringLiteral("Procházka"),
                                QStringLiteral("Kučera"), QStringLiteral("Veselý"),
                                QStringLiteral("Horák"),  QStringLiteral("Šimek")};
    const QStringList places = {QStringLiteral("Jihlava"), QStringLiteral("Aš"),
                                QStringLiteral("Beroun"), QStringLiteral("Blansko"),
                                QStringLiteral("Louny")};
    QRandomGenerator random(7);
    core::Transaction unit(db);
    core::Statement firm(db, QStringLiteral("INSERT INTO Adresar (Nazev, Ulice, Psc, Misto, ICO, "
                                            "Telefon, Email) VALUES (:Nazev, :Ulice, :Psc, "
                                            ":Misto, :ICO, :Telefon, :Email)"));
    core::Statement contact(db, QStringLiteral("INSERT INTO Kontakty (CisloAdr, Prijmeni, Jmeno, "
                                               "Zobrazit) VALUES (:CisloAdr, :Prijmeni, :Jmeno, "
                                               ":Zobrazit)"));
    for (int i = 0; i < firms; ++i) {
        const QString name = first.at(random.bounded(first.size())) + QLatin1Char(' ') +
                             second.at(random.bounded(second.size())) +
                             QStringLiteral(" %1 s.r.o.").arg(random.bounded(100000));
        if (!firm.exec({{QStringLiteral("Nazev"), name},
                        {QStringLiteral("Ulice"), QStringLiteral("Hlavní %1").arg(i % 300)},
                        {QStringLiteral("Psc"), QStringLiteral("%1").arg(10000 + i % 89999)},
                        {QStringLiteral("Misto"), places.at(i % places.size())},
                        {QStringLiteral("ICO"), benchFirmIco(i)},
                        {QStringLiteral("Telefon"), QStringLiteral("600 %1").arg(i)},
                        {QStringLiteral("Email"), QStringLiteral("info@f%1.cz").arg(i)}}))
            return false;
        const qint64 id = firm.newRowId();
        for (int c = 0; c < contactsEach; ++c)
            if (!contact.exec({{QStringLiteral("CisloAdr"), id},
                               {QStringLiteral("Prijmeni"), second.at((i + c) % second.size())},
                               {QStringLiteral("Jmeno"), QStringLiteral("Jan")},
                               {QStringLiteral("Zobrazit"), c == 0}}))
                return false;
    }
    return unit.commit();
}

} // namespace orvento::bench
