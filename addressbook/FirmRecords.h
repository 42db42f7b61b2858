#pragma once

#include "core/RecordMapping.h"

#include <QString>

#include <optional>
#include <vector>

namespace orvento::core {
class Database;
}

namespace orvento::addressbook {

// One firm of the address book (`Adresar`). `ID` is -1 until it is stored.
struct Firm {
    qint64 ID = -1;
    QString Nazev;
    QString Ulice;
    QString Psc;
    QString Misto;
    QString Stat;
    QString ICO;
    QString DIC;
    QString Telefon;
    QString Fax;
    QString Email;
    QString WWW;
    QString Poznamka;
    QString EANKod;
    QString Zprava;
    QString CenHladina; // a price level's code; empty for none
};

// A contact person of a firm as the card holds it: `LockID` is the stored `Kontakty.ID`, -1 for
// a contact not stored yet.
struct Contact {
    qint64 LockID = -1;
    QString TitulPred;
    QString TitulZa;
    QString Prijmeni;
    QString Jmeno;
    QString Ulice;
    QString PSC;
    QString Misto;
    QString Telefon;
    QString Mobil;
    QString Email;
    QString Poznamka;
    QString Funkce;
    bool Zobrazit = false; // the primary contact, shown on offers

    QString displayName() const;
};

// A linked document of a firm: `File` holds the link as stored (`Soubor`) or as typed.
struct FirmDocument {
    qint64 ID = -1;
    QString Popis;
    QString File;
    bool CopyFile = false; // copy the file into the firm's shared folder on save
};

// The columns of each table, declared once; the owner column `CisloAdr` and `ID` are written by
// the save itself.
const core::RecordMapping<Firm>& firmMapping();
const core::RecordMapping<Contact>& contactMapping();
const core::RecordMapping<FirmDocument>& documentMapping();

// The INSERT of a firm's detail row: the mapping's columns and the owner column `CisloAdr`.
template <class Row> QString insertWithOwnerSql(const core::RecordMapping<Row>& mapping) {
    QStringList columns = mapping.columns();
    columns << QStringLiteral("CisloAdr");
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (:%3)")
        .arg(mapping.table(), columns.join(QStringLiteral(", ")),
             columns.join(QStringLiteral(", :")));
}

// Cuts every text to its column's length.
void clipTexts(Firm& firm);
void clipTexts(Contact& contact);
void clipTexts(FirmDocument& document);

std::optional<Firm> readFirm(core::Database& db, qint64 id);
// A firm's contacts sorted by surname, its documents by description (Czech order); nothing when
// the query fails. `asNew` gives every row the ID -1, as a copied firm gets them.
std::optional<std::vector<Contact>> readContacts(core::Database& db, qint64 firmId,
                                                 bool asNew = false);
std::optional<std::vector<FirmDocument>> readDocuments(core::Database& db, qint64 firmId,
                                                       bool asNew = false);
void sortContacts(std::vector<Contact>& contacts);
void sortDocuments(std::vector<FirmDocument>& documents);

// The firm's shared document folder (with a trailing '/'), not created here.
QString sharedFolderOf(qint64 firmId);
// The full path of a firm's link: a shared link points into the firm's shared folder.
QString resolveLink(const QString& link, qint64 firmId);

} // namespace orvento::addressbook
