#include "offers/OfferRecords.h"

namespace orvento::offers {

namespace {

OfferItem textLine(const QString& popis, const QString& poznamka, bool title) {
    OfferItem item;
    item.Popis = popis;
    item.Poznamka = poznamka;
    item.Nadpisova = title;
    item.Textova = !title;
    return item;
}

} // namespace

OfferItem titleItem(const QString& popis, const QString& poznamka) {
    return textLine(popis, poznamka, true);
}

OfferItem textItem(const QString& popis, const QString& poznamka) {
    return textLine(popis, poznamka, false);
}

const core::RecordMapping<OfferHeader>& headerMapping() {
    static const core::RecordMapping<OfferHeader> mapping = [] {
        using H = OfferHeader;
        core::RecordMapping<H> m(QStringLiteral("Nabidky"));
        m.member("Doklad", &H::Doklad)
            .member("Popis", &H::Popis)
            .member("Nadpis", &H::Nadpis)
            .member("TextPred", &H::TextPred)
            .member("TextZa", &H::TextZa)
            .member("Poznamka", &H::Poznamka)
            .member("ZpPlatby", &H::ZpPlatby)
            .member("Doprava", &H::Doprava)
            .member("DatVystaveni", &H::DatVystaveni)
            .member("DatPlatnosti", &H::DatPlatnosti)
            .member("DatVyrizeni", &H::DatVyrizeni)
            .member("AdrCislo", &H::AdrCislo)
            .member("AdrNazev", &H::AdrNazev)
            .member("AdrUlice", &H::AdrUlice)
            .member("AdrPsc", &H::AdrPsc)
            .member("AdrMisto", &H::AdrMisto)
            .member("AdrICO", &H::AdrICO)
            .member("AdrDIC", &H::AdrDIC)
            .member("AdrKontakt", &H::AdrKontakt)
            .member("IDStav", &H::IDStav)
            .member("SazDPHZakl", &H::SazDPHZakl)
            .member("SazDPHSniz", &H::SazDPHSniz)
            .member("NabZaok", &H::NabZaok)
            .member("Celkem", &H::Celkem)
            .member("CelkemBDPH", &H::CelkemBDPH)
            .member("CelkemNC", &H::CelkemNC)
            .member("Zisk", &H::Zisk)
            .member("CenHladAdr", &H::CenHladAdr)
            .member("CenHladina", &H::CenHladina)
            .member("UpravID", &H::UpravID);
        return m;
    }();
    return mapping;
}

const core::RecordMapping<OfferItem>& itemMapping() {
    static const core::RecordMapping<OfferItem> mapping = [] {
        using I = OfferItem;
        core::RecordMapping<I> m(QStringLiteral("NabPolozky"));
        m.member("Poradi", &I::Poradi)
            .member("CisloKarty", &I::CisloKarty)
            .member("CisloSkladu", &I::CisloSkladu)
            .member("CisloSkup", &I::CisloSkup)
            .member("Popis", &I::Popis)
            .member("Katalog", &I::Katalog)
            .member("BarCode", &I::BarCode)
            .member("PLU", &I::PLU)
            .member("Zkratka", &I::Zkratka)
            .member("MJ", &I::MJ)
            .member("Poznamka", &I::Poznamka)
            .member("PocetMJ", &I::PocetMJ)
            .member("ProdCena", &I::ProdCena)
            .member("ProdCenaPo", &I::ProdCenaPo)
            .member("SDPH", &I::SDPH)
            .member("SazbaDPH", &I::SazbaDPH)
            .member("Sleva", &I::Sleva)
            .member("Marze", &I::Marze)
            .member("Rabat", &I::Rabat)
            .member("NakCena", &I::NakCena)
            .member("PCBDPHMJ", &I::PCBDPHMJ)
            .member("PCSDPHMJ", &I::PCSDPHMJ)
            .member("PCBDPHPOL", &I::PCBDPHPOL)
            .member("PCSDPHPOL", &I::PCSDPHPOL)
            .member("VyseDPHMJ", &I::VyseDPHMJ)
            .member("VyseDPHPol", &I::VyseDPHPol)
            .member("ZiskMJ", &I::ZiskMJ)
            .member("ZiskPol", &I::ZiskPol)
            .member("Zaok", &I::Zaok)
            .member("Nakladova", &I::Nakladova)
            .member("CenHladina", &I::CenHladina)
            .member("IgnorHr", &I::IgnorHr)
            .member("Identif", &I::Identif)
            .member("Nadpisova", &I::Nadpisova)
            .member("Textova", &I::Textova);
        return m;
    }();
    return mapping;
}

const core::RecordMapping<OfferDocument>& documentMapping() {
    static const core::RecordMapping<OfferDocument> mapping = [] {
        using D = OfferDocument;
        core::RecordMapping<D> m(QStringLiteral("DokumentyNab"));
        m.member("Popis", &D::Popis).member("Soubor", &D::File);
        return m;
    }();
    return mapping;
}

} // namespace orvento::offers
