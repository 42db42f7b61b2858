#pragma once

#include "addressbook/FirmListModel.h"

#include <QString>

#include <optional>

namespace orvento::core {
class Database;
class ProgressScope;
class UserInteraction;
} // namespace orvento::core

namespace orvento::services {
class ProfileSession;
}

namespace orvento::addressbook {

// Browsing the address book, or picking the customer of an offer (the "OK" button).
enum class AddressBookMode { Browse, Pick };

// Which commands the list window offers now.
struct AddressBookButtons {
    bool edit = false;
    bool copy = false;
    bool remove = false;
    bool other = false;
    bool ok = false;
    bool okVisible = false;
};

// The logic of the address book window (frmAdresar, "Adresář firem"): the firms in the
// remembered order on the remembered firm, quick find, sorting, marks, the change stamp check
// before a card opens, and deletion of firms with their contacts and documents.
class AddressBookLogic {
public:
    AddressBookLogic(core::Database& agenda, core::UserInteraction& ui,
                     services::ProfileSession& session, AddressBookMode mode);

    static QString caption() { return QStringLiteral("Adresář firem"); }
    static QString helpTopic() { return QStringLiteral("pgAdresar.htm"); }
    // The rights check before the window opens.
    static bool mayOpen(core::UserInteraction& ui);

    AddressBookMode mode() const { return m_mode; }
    // Reads the firms in the remembered order, under the wait window, on the firm `startOn` when
    // it is given and still there, else on the remembered one.
    bool open(std::optional<qint64> startOn = std::nullopt);
    // Remembers the current firm and the sort field in the profile.
    void close();

    FirmListModel& firms() { return m_firms; }
    const FirmListModel& firms() const { return m_firms; }
    int currentRow() const { return m_current; }
    void setCurrentRow(int row);
    qint64 currentFirmId() const { return m_firms.idAt(m_current); }
    AddressBookButtons buttons() const;

    // Sorts by a clicked column title and stays on the current firm.
    void sortBy(const QString& field);
    // The quick find: the row it moved to.
    std::optional<int> quickFind(const QString& text);
    void toggleMark();
    void markAll() { m_firms.markAll(); }
    void clearMarks() { m_firms.clearMarks(); }

    // "Obnovit": marks cleared, the firms again, on the same firm.
    void refresh();
    // "Přidat" and "Kopírovat" need a level better than read-only.
    bool mayCreate();
    // "Přidat adresu z internetového registru ARES": the rights as for "Přidat", then the IČO
    // typed in; nothing when refused, cancelled or left empty.
    std::optional<QString> icoToAdd();
    // The firm a card opens, found again first when another workstation changed the address
    // book since this window looked (nothing, after the refresh warning, when it is gone).
    std::optional<qint64> firmToOpen();
    // After the card saved: the firms again, on the saved one.
    void afterSaved(qint64 firmId);
    // "Vyjmout": the current firm, or the marked ones, with their contacts and documents.
    void removeFirms();
    // The firms of the address report and the export: the marked ones, or every firm listed when
    // none is marked, in the list's order.
    std::vector<qint64> collectAddressList() const;
    // "OK" in pick mode: the firm to transfer into the offer.
    std::optional<qint64> pickFirm() const;

private:
    void locate(qint64 id);

    core::Database& m_db;
    core::UserInteraction& m_ui;
    services::ProfileSession& m_session;
    AddressBookMode m_mode;
    FirmListModel m_firms;
    int m_current = -1;
};

// Deletes the firms with their contacts and documents, after testing that no other workstation
// has any of them open (else nothing is deleted after the warning). Written in short slices
// (core/SlicedWrite), each firm whole in one; a failed slice stops the run, the ones before it
// stay deleted. Files in the shared folders stay. False after the message when not every firm was
// deleted; the caller's wait window, if any, shows the slices' progress and ends before that
// message.
bool deleteFirms(core::Database& db, core::UserInteraction& ui, const std::vector<qint64>& ids,
                 core::ProgressScope* wait = nullptr);

} // namespace orvento::addressbook
