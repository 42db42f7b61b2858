#pragma once

#include "core/RecordMapping.h"

#include <QDateTime>
#include <QString>

namespace orvento::offers {

// The widths of an offer's header texts that the card limits.
namespace OfferHeaderWidth {
inline constexpr int Doklad = 10;
inline constexpr int Popis = 50;
inline constexpr int Nadpis = 50;
inline constexpr int AdrNazev = 50;
inline constexpr int AdrUlice = 30;
inline constexpr int AdrPsc = 10;
inline constexpr int AdrMisto = 40;
inline constexpr int AdrKontakt = 85;
inline constexpr int AdrICO = 10;
inline constexpr int AdrDIC = 20;
inline constexpr int CenHladina = 10;
} // namespace OfferHeaderWidth

// The header of an offer: one `Nabidky` row. Dates are invalid when empty (stored as NULL).
struct OfferHeader {
    QString Doklad;
    QString Popis;
    QString Nadpis;
    QString TextPred;
    QString TextZa;
    QString Poznamka;
    QString ZpPlatby;
    QString Doprava;
    QDateTime DatVystaveni;
    QDateTime DatPlatnosti;
    QDateTime DatVyrizeni;
    qint64 AdrCislo = 0;
    QString AdrNazev;
    QString AdrUlice;
    QString AdrPsc;
    QString AdrMisto;
    QString AdrICO;
    QString AdrDIC;
    QString AdrKontakt;
    int IDStav = 0;
    double SazDPHZakl = 0.0;
    double SazDPHSniz = 0.0;
    int NabZaok = 0;
    double Celkem = 0.0;
    double CelkemBDPH = 0.0;
    double CelkemNC = 0.0;
    double Zisk = 0.0;
    bool CenHladAdr = true;
    QString CenHladina;
    int VytvorID = 0;
    int UpravID = 0;
    QString Vytvoril;
    bool Zamek = false;
};

// One item of an offer: a `NabPolozky` row without `ID` and `CisloNab`, plus what the working copy
// keeps beside it.
struct OfferItem {
    int Poradi = 0;
    qint64 CisloKarty = 0;
    qint64 CisloSkladu = 0;
    qint64 CisloSkup = 0;
    QString Popis;
    QString Katalog;
    QString BarCode;
    QString PLU;
    QString Zkratka;
    QString MJ;
    QString Poznamka;
    double PocetMJ = 0.0;
    double ProdCena = 0.0;
    double ProdCenaPo = 0.0;
    bool SDPH = false;
    double SazbaDPH = 0.0;
    double Sleva = 0.0;
    double Marze = 0.0;
    double Rabat = 0.0;
    double NakCena = 0.0;
    double PCBDPHMJ = 0.0;
    double PCSDPHMJ = 0.0;
    double PCBDPHPOL = 0.0;
    double PCSDPHPOL = 0.0;
    double VyseDPHMJ = 0.0;
    double VyseDPHPol = 0.0;
    double ZiskMJ = 0.0;
    double ZiskPol = 0.0;
    int Zaok = 0;
    bool Nakladova = false;
    QString CenHladina;
    bool IgnorHr = false;
    QString Identif;
    bool Nadpisova = false;
    bool Textova = false;

    // The row's `NabPolozky.ID`, or -1 while it is not stored.
    qint64 LockID = -1;
    // NakCena × PocetMJ; computed, never stored.
    double NakCenaPol = 0.0;
    // The working copy's own name for the row while the card is open (0 until it has one): the
    // grid's marks follow it through inserts, moves and sorts. Never stored.
    quint64 RowKey = 0;

    bool isPriceItem() const { return !Nadpisova && !Textova; }
    bool isCatalogueItem() const { return isPriceItem() && CisloKarty != 0; }
};

// A title or text item: only its texts; every number 0, every other text empty.
OfferItem titleItem(const QString& popis, const QString& poznamka = QString());
OfferItem textItem(const QString& popis, const QString& poznamka = QString());

// A document linked to an offer: a `DokumentyNab` row as the working copy holds it.
struct OfferDocument {
    qint64 ID = -1; // -1 for a link not yet stored
    QString Popis;
    QString File;          // the stored `Soubor`; a copied offer holds the expanded full path
    bool CopyFile = false; // to be copied into the offer's shared document folder on save
};

// The columns of each table, declared once: the header without `ID`, `Zamek`, `VytvorID` and
// `Vytvoril` (the save writes those itself), the items without `ID` and `CisloNab`.
const core::RecordMapping<OfferHeader>& headerMapping();
const core::RecordMapping<OfferItem>& itemMapping();
const core::RecordMapping<OfferDocument>& documentMapping();

} // namespace orvento::offers
