#pragma once

#include "addressbook/AresVerification.h"
#include "addressbook/FirmRecords.h"
#include "catalogue/CardOutcome.h"
#include "services/RecordLock.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace orvento::core {
class Database;
class UserInteraction;
} // namespace orvento::core

namespace orvento::addressbook {

// New firm, an existing one, a copy saved as a new firm, or an existing one only to look at
// (from an offer).
enum class FirmCardMode { New, Edit, Copy, View };

// The firm card (frmAdrKart, "Karta adresy"): the firm's fields, its contacts and documents in
// working copies, the record lock for the card's lifetime, and the save of everything in one
// unit of work. Nothing reaches the database before confirm().
class FirmCard {
public:
    FirmCard(core::Database& agenda, core::Database& global, core::UserInteraction& ui);

    static QString helpTopic() { return QStringLiteral("pgAdrKart.htm"); }
    static QStringList titlesBefore();
    static QStringList titlesAfter();

    // Opens the card; the rights, the firm read again (gone: the refresh warning) and, for an
    // existing firm, its lock. False (after the message) when the card must not open.
    bool open(FirmCardMode mode, qint64 firmId = 0);

    FirmCardMode mode() const { return m_mode; }
    // False when the card cannot save: read-only rights, the firm edited elsewhere, viewing.
    bool editable() const { return m_editable; }
    // Read-only rights and viewing hide "OK" and say so in the caption; a firm edited elsewhere
    // only disables "OK".
    bool viewOnly() const { return m_readOnlyRights || m_mode == FirmCardMode::View; }
    QString caption() const;
    Firm& firm() { return m_firm; }
    const Firm& firm() const { return m_firm; }

    // Leaving "PSČ" with a code while the place is empty fills in the place of the code.
    void completePlace(const QString& psc, QString& misto) const;
    // The `Mista` row picked in the post code list: its code and place.
    bool takePostCode(qint64 mistaId, QString& psc, QString& misto) const;

    // The register ARES. The comparison window: true when the person takes the register's
    // values.
    using AresConfirmation = std::function<bool(AresVerification&)>;
    // "Ověření IČ z internetového registru ARES" on the card's own values: without a name the
    // firm is loaded from the register, else compared with it. True when the card's name or
    // address changed; nothing is written before OK.
    bool registerCommand(const AresConfirmation& confirm);
    // The name, address and IČO of the firm with this IČO from the register; on failure the
    // message, and the IČO (without blanks) stays on the card. True when loaded.
    bool loadFromRegister(const QString& ico);

    // Contacts.
    const std::vector<Contact>& contacts() const { return m_contacts; }
    // A new contact; the first contact of a firm starts as the primary one.
    Contact newContact() const;
    // OK in the contact window: false (after the message) without a surname. Stores the contact
    // at `index` (a new one when nothing) and keeps only this one primary when it is. A card
    // that cannot save changes no contact or link: false without a word.
    bool storeContact(std::optional<size_t> index, Contact contact);
    // "Vyjmout kontakt" after the question.
    bool removeContact(size_t index);

    // Documents.
    const std::vector<FirmDocument>& documents() const { return m_documents; }
    // The full path of a document's link.
    QString pathOf(const FirmDocument& document) const;
    QString sharedFolder() const;
    // OK in the link window: false (after the message) when the window must stay open.
    bool acceptLink(const QString& link, bool copy) const;
    bool storeDocument(std::optional<size_t> index, FirmDocument document);
    // "Vyjmout odkaz" after the question.
    bool removeDocument(size_t index);

    // OK on the card.
    catalogue::CardOutcome confirm();
    // The firm's ID once saved.
    qint64 savedId() const { return m_firm.ID; }

private:
    // The register's answer for the IČO, under the wait window (ended before any message).
    AresRecord queryRegister(const QString& ico);
    bool verifyWithRegister(const AresConfirmation& confirm);

    // The firm, its documents and contacts inside the caller's unit of work; the message of the
    // failure, for after the rollback.
    std::optional<QString> write(Firm& firm, std::vector<Contact>& contacts,
                                 std::vector<FirmDocument>& documents);

    core::Database& m_db;
    core::Database& m_global;
    core::UserInteraction& m_ui;
    FirmCardMode m_mode = FirmCardMode::New;
    Firm m_firm;
    std::vector<Contact> m_contacts;
    std::vector<FirmDocument> m_documents;
    bool m_editable = true;
    bool m_readOnlyRights = false;
    services::RecordLock m_lock;
};

} // namespace orvento::addressbook
