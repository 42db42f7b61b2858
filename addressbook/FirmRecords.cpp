#include "addressbook/FirmRecords.h"

#include "core/CzechCollation.h"
#include "core/Database.h"
#include "core/PersonName.h"
#include "core/ProgramState.h"
#include "services/SharedDocuments.h"

#include <QSqlQuery>

#include <algorithm>

namespace orvento::addressbook {

namespace {

void clip(QString& text, int length) {
    if (text.size() > length)
        text.truncate(length);
}

} // namespace

QString Contact::displayName() const {
    return core::contactPersonName(TitulPred, Prijmeni, Jmeno, TitulZa);
}

const core::RecordMapping<Firm>& firmMapping() {
    static const auto mapping = [] {
        core::RecordMapping<Firm> m(QStringLiteral("Adresar"));
        m.member("Nazev", &Firm::Nazev)
            .member("Ulice", &Firm::Ulice)
            .member("Psc", &Firm::Psc)
            .member("Misto", &Firm::Misto)
            .member("Stat", &Firm::Stat)
            .member("ICO", &Firm::ICO)
            .member("DIC", &Firm::DIC)
            .member("Telefon", &Firm::Telefon)
            .member("Fax", &Firm::Fax)
            .member("Email", &Firm::Email)
            .member("WWW", &Firm::WWW)
            .member("Poznamka", &Firm::Poznamka)
            .member("EANKod", &Firm::EANKod)
            .member("Zprava", &Firm::Zprava)
            .member("CenHladina", &Firm::CenHladina);
        return m;
    }();
    return mapping;
}

const core::RecordMapping<Contact>& contactMapping() {
    static const auto mapping = [] {
        core::RecordMapping<Contact> m(QStringLiteral("Kontakty"));
        m.member("TitulPred", &Contact::TitulPred)
            .member("TitulZa", &Contact::TitulZa)
            .member("Prijmeni", &Contact::Prijmeni)
            .member("Jmeno", &Contact::Jmeno)
            .member("Ulice", &Contact::Ulice)
            .member("PSC", &Contact::PSC)
            .member("Misto", &Contact::Misto)
            .member("Telefon", &Contact::Telefon)
            .member("Mobil", &Contact::Mobil)
            .member("Email", &Contact::Email)
            .member("Poznamka", &Contact::Poznamka)
            .member("Funkce", &Contact::Funkce)
            .member("Zobrazit", &Contact::Zobrazit);
        return m;
    }();
    return mapping;
}

const core::RecordMapping<FirmDocument>& documentMapping() {
    static const auto mapping = [] {
        core::RecordMapping<FirmDocument> m(QStringLiteral("Dokumenty"));
        m.member("Popis", &FirmDocument::Popis).member("Soubor", &FirmDocument::File);
        return m;
    }();
    return mapping;
}

void clipTexts(Firm& f) {
    clip(f.Nazev, 50);
    clip(f.Ulice, 30);
    clip(f.Psc, 10);
    clip(f.Misto, 40);
    clip(f.Stat, 20);
    clip(f.ICO, 10);
    clip(f.DIC, 20);
    clip(f.Telefon, 30);
    clip(f.Fax, 30);
    clip(f.Email, 50);
    clip(f.WWW, 50);
    clip(f.EANKod, 20);
    clip(f.Zprava, 255);
    clip(f.CenHladina, 10);
}

void clipTexts(Contact& c) {
    clip(c.TitulPred, 15);
    clip(c.TitulZa, 20);
    clip(c.Prijmeni, 30);
    clip(c.Jmeno, 20);
    clip(c.Ulice, 30);
    clip(c.PSC, 10);
    clip(c.Misto, 40);
    clip(c.Telefon, 30);
    clip(c.Mobil, 30);
    clip(c.Email, 50);
    clip(c.Funkce, 35);
}

void clipTexts(FirmDocument& d) {
    clip(d.Popis, 50);
    clip(d.File, 255);
}

std::optional<Firm> readFirm(core::Database& db, qint64 id) {
    QSqlQuery q = db.select(QStringLiteral("SELECT * FROM Adresar WHERE ID = :ID"),
                            {{QStringLiteral("ID"), id}});
    if (!q.next())
        return std::nullopt;
    Firm firm = firmMapping().read(q.record());
    firm.ID = id;
    return firm;
}

void sortContacts(std::vector<Contact>& contacts) {
    std::stable_sort(contacts.begin(), contacts.end(), [](const Contact& a, const Contact& b) {
        return core::compareCzech(a.Prijmeni, b.Prijmeni) < 0;
    });
}

void sortDocuments(std::vector<FirmDocument>& documents) {
    std::stable_sort(documents.begin(), documents.end(),
                     [](const FirmDocument& a, const FirmDocument& b) {
                         return core::compareCzech(a.Popis, b.Popis) < 0;
                     });
}

std::optional<std::vector<Contact>> readContacts(core::Database& db, qint64 firmId, bool asNew) {
    QSqlQuery q = db.select(QStringLiteral("SELECT * FROM Kontakty WHERE CisloAdr = :CisloAdr"),
                            {{QStringLiteral("CisloAdr"), firmId}});
    if (!q.isActive())
        return std::nullopt;
    std::vector<Contact> contacts;
    while (q.next()) {
        Contact contact = contactMapping().read(q.record());
        contact.LockID = asNew ? -1 : q.value(QStringLiteral("ID")).toLongLong();
        contacts.push_back(std::move(contact));
    }
    sortContacts(contacts);
    return contacts;
}

std::optional<std::vector<FirmDocument>> readDocuments(core::Database& db, qint64 firmId,
                                                       bool asNew) {
    QSqlQuery q = db.select(QStringLiteral("SELECT * FROM Dokumenty WHERE CisloAdr = :CisloAdr"),
                            {{QStringLiteral("CisloAdr"), firmId}});
    if (!q.isActive())
        return std::nullopt;
    std::vector<FirmDocument> documents;
    while (q.next()) {
        FirmDocument document = documentMapping().read(q.record());
        document.ID = asNew ? -1 : q.value(QStringLiteral("ID")).toLongLong();
        documents.push_back(std::move(document));
    }
    sortDocuments(documents);
    return documents;
}

QString sharedFolderOf(qint64 firmId) {
    return core::programState().firmDocumentsFolder(firmId);
}

QString resolveLink(const QString& link, qint64 firmId) {
    return services::expandLink(link, sharedFolderOf(firmId));
}

} // namespace orvento::addressbook
