#pragma once

// A large stored offer for the benchmarks: one header and `items` rows, a title row every fifty,
// the others priced catalogue items, written in one unit of work.

#include "core/Database.h"

#include <QString>

#include <optional>

namespace orvento::bench {

inline std::optional<qint64> generateOffer(core::Database& db, int items) {
    core::Transaction unit(db);
    if (!db.execute(QStringLiteral("INSERT INTO Nabidky (Doklad, Popis, AdrNazev, IDStav, "
                                   "SazDPHZakl, SazDPHSniz, NabZaok, CenHladAdr) VALUES "
                                   "(:Doklad, :Popis, :AdrNazev, 1, 21, 12, 1, 1)"),
                    {{QStringLiteral("Doklad"), QStringLiteral("NB00001")},
                     {QStringLiteral("Popis"), QStringLiteral("Velká zakázka")},
                     {QStringLiteral("AdrNazev"), QStringLiteral("Stavebniny Čížek")}}))
        return std::nullopt;
    const qint64 id = db.newRowId();
    core::Statement insert(
        db, QStringLiteral("INSERT INTO NabPolozky (CisloNab, Poradi, CisloKarty, Popis, Katalog, "
                           "MJ, PocetMJ, ProdCena, ProdCenaPo, SazbaDPH, NakCena, PCBDPHMJ, "
                           "PCSDPHMJ, PCBDPHPOL, PCSDPHPOL, VyseDPHMJ, VyseDPHPol, ZiskMJ, "
                           "ZiskPol, Nadpisova, Textova) VALUES (:CisloNab, :Poradi, :CisloKarty, "
                           ":Popis, :Katalog, :MJ, :PocetMJ, :ProdCena, :ProdCenaPo, :SazbaDPH, "
                           ":NakCena, :PCBDPHMJ, :PCSDPHMJ, :PCBDPHPOL, :PCSDPHPOL, :VyseDPHMJ, "
                           ":VyseDPHPol, :ZiskMJ, :ZiskPol, :Nadpisova, :Textova)"));
    for (int i = 0; i < items; ++i) {
        const bool title = i % 50 == 0;
        const double price = title ? 0.0 : 10.0 + i % 400;
        const double quantity = title ? 0.0 : 1 + i % 9;
        if (!insert.exec({{QStringLiteral("CisloNab"), id},
                          {QStringLiteral("Poradi"), i + 1},
                          {QStringLiteral("CisloKarty"), title ? 0 : i + 1},
                          {QStringLiteral("Popis"), title ? QStringLiteral("Oddíl %1").arg(i / 50)
                                                          : QStringLiteral("Žárovka %1 W").arg(i)},
                          {QStringLiteral("Katalog"), QStringLiteral("K-%1").arg(i)},
                          {QStringLiteral("MJ"), QStringLiteral("ks")},
                          {QStringLiteral("PocetMJ"), quantity},
                          {QStringLiteral("ProdCena"), price},
                          {QStringLiteral("ProdCenaPo"), price},
                          {QStringLiteral("SazbaDPH"), title ? 0.0 : 21.0},
                          {QStringLiteral("NakCena"), price * 0.7},
                          {QStringLiteral("PCBDPHMJ"), price},
                          {QStringLiteral("PCSDPHMJ"), price * 1.21},
                          {QStringLiteral("PCBDPHPOL"), price * quantity},
                          {QStringLiteral("PCSDPHPOL"), price * quantity * 1.21},
                          {QStringLiteral("VyseDPHMJ"), price * 0.21},
                          {QStringLiteral("VyseDPHPol"), price * quantity * 0.21},
                          {QStringLiteral("ZiskMJ"), price * 0.3},
                          {QStringLiteral("ZiskPol"), price * quantity * 0.3},
                          {QStringLiteral("Nadpisova"), title},
                          {QStringLiteral("Textova"), false}}))
            return std::nullopt;
    }
    if (!unit.commit())
        return std::nullopt;
    return id;
}

} // namespace orvento::bench
