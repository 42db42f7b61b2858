#include "addressbook/AddressBookLogic.h"
#include "addressbook/DemoAddressBook.h"
#include "addressbook/FirmCard.h"
#include "core/CurrentUser.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "services/AccessRights.h"
#include "services/ChangeStamps.h"
#include "services/ProfileSession.h"
#include "services/RecordLock.h"
#include "services/RecordRefresh.h"
#include "support/OpenAgenda.h"
#include "support/RefusedWrites.h"
#include "support/ScriptedInteraction.h"
#include "support/TestStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>

#include <gtest/gtest.h>

using namespace orvento;
using addressbook::AddressBookLogic;
using addressbook::AddressBookMode;
using addressbook::FirmCard;
using addressbook::FirmCardMode;
using catalogue::CardOutcome;
using testsupport::ScriptedInteraction;
using Kind = ScriptedInteraction::Kind;

namespace {

class AddressBookTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(
            testsupport::openTestAgenda(env, QStringLiteral("0001.res"), QStringLiteral("FIRMA")));
        ASSERT_TRUE(testsupport::openTestGlobal(env));
        QDir().mkpath(core::programState().folders.lock);
    }
    void TearDown() override { core::resetProgramState(); }
    static core::Database& db() { return core::programState().db->agenda; }
    static core::Database& global() { return core::programState().db->global; }
    int count(const QString& sql, const core::SqlParams& params = {}) {
        return db().scalar(sql, params).value_or(0).toInt();
    }
    FirmCard card() { return FirmCard(db(), global(), ui); }

    // A firm saved through the card, with contacts of the given surnames.
    qint64 addFirm(const QString& name, const QStringList& contacts = {}) {
        FirmCard c = card();
        EXPECT_TRUE(c.open(FirmCardMode::New));
        c.firm().Nazev = name;
        for (const QString& surname : contacts) {
            addressbook::Contact contact = c.newContact();
            contact.Prijmeni = surname;
            EXPECT_TRUE(c.storeContact(std::nullopt, contact));
        }
        EXPECT_EQ(c.confirm(), CardOutcome::Saved);
        return c.savedId();
    }
    QString writeFile(const QString& name, const QByteArray& content) {
        const QString path = env.dataFolder() + name;
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return path;
    }
    static QByteArray contentOf(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    testsupport::TestEnvironment env;
    ScriptedInteraction ui;
    services::ProfileSession session;
};

TEST_F(AddressBookTest, ANewFirmWithContactsAndACopiedDocumentIsSavedWhole) {
    const QString source = writeFile(QStringLiteral("nabidka.txt"), "obsah");
    FirmCard c = card();
    ASSERT_TRUE(c.open(FirmCardMode::New));
    c.firm().Nazev = QStringLiteral("Pekárna \"U Nováků\" s.r.o. O'Brien");
    c.firm().ICO = QStringLiteral("12ab34");
    addressbook::Contact first = c.newContact();
    EXPECT_TRUE(first.Zobrazit) << "the first contact starts primary";
    first.Prijmeni = QStringLiteral("Nováková");
    ASSERT_TRUE(c.storeContact(std::nullopt, first));
    addressbook::Contact second = c.newContact();
    EXPECT_FALSE(second.Zobrazit);
    EXPECT_FALSE(c.storeContact(std::nullopt, second));
    EXPECT_TRUE(ui.saw(Kind::Information, QStringLiteral("Musíte vyplnit alespoň Příjmení.")));
    second.Prijmeni = QStringLiteral("Adámek");
    second.Zobrazit = true;
    ASSERT_TRUE(c.storeContact(std::nullopt, second));
    ASSERT_EQ(c.contacts().size(), 2u);
    EXPECT_EQ(c.contacts()[0].Prijmeni, QStringLiteral("Adámek")) << "sorted by surname";
    EXPECT_TRUE(c.contacts()[0].Zobrazit);
    EXPECT_FALSE(c.contacts()[1].Zobrazit) << "a second primary contact takes the mark";

    ASSERT_TRUE(c.acceptLink(source, true));
    c.storeDocument(std::nullopt, {-1, QStringLiteral("Nabídka"), source, true});
    ASSERT_EQ(c.confirm(), CardOutcome::Saved);
    const qint64 id = c.savedId();
    const auto firm = addressbook::readFirm(db(), id);
    ASSERT_TRUE(firm);
    EXPECT_EQ(firm->Nazev, QStringLiteral("Pekárna \"U Nováků\" s.r.o. O'Brien"));
    EXPECT_EQ(firm->ICO, QStringLiteral("12ab34"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Kontakty WHERE CisloAdr = :ID AND "
                                   "Zobrazit <> 0"),
                    {{QStringLiteral("ID"), id}}),
              1);
    const auto documents = addressbook::readDocuments(db(), id);
    ASSERT_TRUE(documents && documents->size() == 1);
    EXPECT_EQ(documents->front().File, QStringLiteral("%SDILENA_SLOZKA%nabidka.txt"));
    EXPECT_EQ(contentOf(addressbook::resolveLink(documents->front().File, id)), "obsah");
    EXPECT_TRUE(QFile::exists(source));
}

TEST_F(AddressBookTest, AFailedContactStatementLeavesNothingOfTheFirm) {
    ASSERT_TRUE(testsupport::refuseWrites(db(), QStringLiteral("NoContacts"),
                                          QStringLiteral("INSERT"), QStringLiteral("Kontakty")));
    FirmCard c = card();
    ASSERT_TRUE(c.open(FirmCardMode::New));
    c.firm().Nazev = QStringLiteral("Polovičatá a.s.");
    addressbook::Contact contact = c.newContact();
    contact.Prijmeni = QStringLiteral("Dvořák");
    ASSERT_TRUE(c.storeContact(std::nullopt, contact));
    c.storeDocument(std::nullopt,
                    {-1, QStringLiteral("Ceník"), QStringLiteral("/nikde.pdf"), false});
    EXPECT_EQ(c.confirm(), CardOutcome::SaveFailed);
    EXPECT_TRUE(ui.saw(Kind::Error, core::saveFailedMessage(QStringLiteral("Kontakty"))));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Adresar")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Dokumenty")), 0);
    EXPECT_EQ(c.firm().ID, -1) << "the card keeps what was typed, unsaved";
    EXPECT_EQ(c.contacts().front().LockID, -1);
}

TEST_F(AddressBookTest, ACopiedFirmGetsItsOwnCopiesOfSharedFiles) {
    const QString source = writeFile(QStringLiteral("smlouva.txt"), "puvodni");
    FirmCard original = card();
    ASSERT_TRUE(original.open(FirmCardMode::New));
    original.firm().Nazev = QStringLiteral("Původní s.r.o.");
    original.storeDocument(std::nullopt, {-1, QStringLiteral("Smlouva"), source, true});
    ASSERT_EQ(original.confirm(), CardOutcome::Saved);
    const qint64 sourceId = original.savedId();
    const QString sourceFile =
        addressbook::sharedFolderOf(sourceId) + QStringLiteral("smlouva.txt");
    ASSERT_TRUE(QFile::exists(sourceFile));

    FirmCard copy = card();
    ASSERT_TRUE(copy.open(FirmCardMode::Copy, sourceId));
    ASSERT_EQ(copy.documents().size(), 1u);
    EXPECT_TRUE(copy.documents().front().CopyFile);
    EXPECT_EQ(copy.documents().front().File, sourceFile);
    copy.firm().Nazev = QStringLiteral("Kopie s.r.o.");
    ASSERT_EQ(copy.confirm(), CardOutcome::Saved);
    const qint64 copyId = copy.savedId();
    EXPECT_NE(copyId, sourceId);
    const QString copied = addressbook::sharedFolderOf(copyId) + QStringLiteral("smlouva.txt");
    EXPECT_EQ(contentOf(copied), "puvodni");
    EXPECT_EQ(contentOf(sourceFile), "puvodni");
    EXPECT_FALSE(copy.documents().front().CopyFile);

    // A link into the firm's own folder copied again would copy the file onto itself.
    FirmCard again = card();
    ASSERT_TRUE(again.open(FirmCardMode::Edit, copyId));
    again.storeDocument(std::nullopt, {-1, QStringLiteral("Znovu"), copied, true});
    ASSERT_EQ(again.confirm(), CardOutcome::Saved);
    EXPECT_TRUE(ui.saw(Kind::Error, QStringLiteral("Zdrojový odkaz dokumentu je stejný jako "
                                                   "cílový - nelze kopírovat soubor sám na "
                                                   "sebe.")));
    EXPECT_EQ(contentOf(copied), "puvodni");
}

TEST_F(AddressBookTest, AFileAlreadyInTheFirmsFolderIsOverwrittenOnlyAfterConfirmation) {
    const qint64 id = addFirm(QStringLiteral("Přepisovaná s.r.o."));
    const QString folder = addressbook::sharedFolderOf(id);
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString target = folder + QStringLiteral("plan.txt");
    {
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("stary");
    }
    const QString source = writeFile(QStringLiteral("plan.txt"), "novy");
    for (const bool overwrite : {false, true}) {
        FirmCard c = card();
        ASSERT_TRUE(c.open(FirmCardMode::Edit, id));
        c.storeDocument(std::nullopt, {-1, QStringLiteral("Plán"), source, true});
        ui.answer(overwrite);
        ASSERT_EQ(c.confirm(), CardOutcome::Saved);
        EXPECT_TRUE(ui.sawContaining(Kind::Question, QStringLiteral("opravdu ho chcete přepsat")));
        EXPECT_EQ(contentOf(target), overwrite ? "novy" : "stary");
        EXPECT_EQ(c.documents().back().File,
                  overwrite ? QStringLiteral("%SDILENA_SLOZKA%plan.txt") : source);
    }
}

TEST_F(AddressBookTest, ASharedFolderThatCannotBeMadeLeavesTheLinkAsItWas) {
    const QString source = writeFile(QStringLiteral("zprava.txt"), "z");
    // A file where the agenda's document folder should be.
    const QString documents = core::programState().agendaDocumentsFolder();
    QDir().mkpath(QFileInfo(documents.chopped(1)).path());
    {
        QFile blocker(documents.chopped(1));
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    FirmCard c = card();
    ASSERT_TRUE(c.open(FirmCardMode::New));
    c.firm().Nazev = QStringLiteral("Bez složky s.r.o.");
    c.storeDocument(std::nullopt, {-1, QStringLiteral("Zpráva"), source, true});
    ASSERT_EQ(c.confirm(), CardOutcome::Saved);
    EXPECT_TRUE(ui.sawContaining(Kind::Error, QStringLiteral("Nelze vytvořit sdílený adresář")));
    const auto stored = addressbook::readDocuments(db(), c.savedId());
    ASSERT_TRUE(stored && stored->size() == 1);
    EXPECT_EQ(stored->front().File, source);
}

TEST_F(AddressBookTest, LinksToMissingFilesAreRefusedForCopyingAndKeptOnlyWhenConfirmed) {
    FirmCard c = card();
    ASSERT_TRUE(c.open(FirmCardMode::New));
    EXPECT_FALSE(c.acceptLink(QStringLiteral("  "), false));
    EXPECT_TRUE(ui.saw(Kind::Information, QStringLiteral("Není zadán odkaz na soubor.")));
    const QString missing = env.dataFolder() + QStringLiteral("chybi.doc");
    EXPECT_FALSE(c.acceptLink(missing, true));
    EXPECT_TRUE(ui.sawContaining(Kind::Warning, QStringLiteral("není možné ho proto zkopírovat")));
    ui.answer(false);
    EXPECT_FALSE(c.acceptLink(missing, false));
    ui.answer(true);
    EXPECT_TRUE(c.acceptLink(missing, false));
}

TEST_F(AddressBookTest, DeletingAFirmTakesItsContactsAndDocumentsButLeavesItsFiles) {
    const QString source = writeFile(QStringLiteral("foto.txt"), "x");
    FirmCard c = card();
    ASSERT_TRUE(c.open(FirmCardMode::New));
    c.firm().Nazev = QStringLiteral("Zaniklá k.s.");
    addressbook::Contact contact = c.newContact();
    contact.Prijmeni = QStringLiteral("Černý");
    c.storeContact(std::nullopt, contact);
    c.storeDocument(std::nullopt, {-1, QStringLiteral("Foto"), source, true});
    ASSERT_EQ(c.confirm(), CardOutcome::Saved);
    const qint64 gone = c.savedId();
    const qint64 kept = addFirm(QStringLiteral("Zůstává a.s."), {QStringLiteral("Bílý")});

    AddressBookLogic list(db(), ui, session, AddressBookMode::Browse);
    ASSERT_TRUE(list.open());
    list.setCurrentRow(*list.firms().rowOfId(gone));
    ui.answer(true);
    list.removeFirms();
    EXPECT_TRUE(ui.saw(Kind::Question, QStringLiteral("Opravdu chcete vyjmout adresu?")));
    EXPECT_FALSE(addressbook::readFirm(db(), gone));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Kontakty")), 1);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Dokumenty")), 0);
    EXPECT_TRUE(QFile::exists(addressbook::sharedFolderOf(gone) + QStringLiteral("foto.txt")));
    EXPECT_EQ(list.currentFirmId(), kept) << "the list moves to the neighbour";
}

TEST_F(AddressBookTest, AFirmOpenOnAnotherWorkstationIsReadOnlyHereAndCannotBeDeleted) {
    const qint64 a = addFirm(QStringLiteral("Alfa"), {QStringLiteral("Novák")});
    const qint64 b = addFirm(QStringLiteral("Beta"));
    testsupport::OtherWorkstation other(
        testsupport::recordEditedElsewhere(env, QStringLiteral("Adresar"), a));
    ASSERT_EQ(other.firstLine(), QStringLiteral("held"));

    FirmCard c = card();
    ASSERT_TRUE(c.open(FirmCardMode::Edit, a));
    EXPECT_TRUE(ui.saw(Kind::Information, services::recordInUseMessage()));
    EXPECT_FALSE(c.editable());
    EXPECT_EQ(c.caption(), QStringLiteral("Karta adresy"));
    c.firm().Nazev = QStringLiteral("Přepsáno");
    EXPECT_EQ(c.confirm(), CardOutcome::StayOpen);
    EXPECT_EQ(addressbook::readFirm(db(), a)->Nazev, QStringLiteral("Alfa"));

    // Marked together with a free firm: neither goes.
    AddressBookLogic list(db(), ui, session, AddressBookMode::Browse);
    ASSERT_TRUE(list.open());
    list.firms().markAll();
    ui.answer(true);
    list.removeFirms();
    EXPECT_TRUE(ui.saw(Kind::Warning, services::recordInUseDeleteMessage()));
    EXPECT_TRUE(addressbook::readFirm(db(), a));
    EXPECT_TRUE(addressbook::readFirm(db(), b));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Kontakty")), 1);
    other.stop();

    // Once the other workstation let go, the card here takes the lock.
    FirmCard free = card();
    ASSERT_TRUE(free.open(FirmCardMode::Edit, a));
    EXPECT_TRUE(free.editable());
}

TEST_F(AddressBookTest, AFirmDeletedElsewhereGivesTheRefreshWarningInsteadOfTheCard) {
    const qint64 a = addFirm(QStringLiteral("Alfa"));
    const qint64 b = addFirm(QStringLiteral("Beta"));
    AddressBookLogic list(db(), ui, session, AddressBookMode::Browse);
    ASSERT_TRUE(list.open());
    list.setCurrentRow(*list.firms().rowOfId(a));
    // Another workstation deletes the firm and stamps the address book a moment later.
    QThread::msleep(20);
    ASSERT_TRUE(addressbook::deleteFirms(db(), ui, {a}));
    services::stamp(core::StampedTable::Adresar);
    core::programState().lastStamps[0] = 0;
    EXPECT_FALSE(list.firmToOpen());
    EXPECT_TRUE(ui.saw(Kind::Warning, services::recordGoneMessage()));
    EXPECT_EQ(list.currentFirmId(), b);

    FirmCard c = card();
    EXPECT_FALSE(c.open(FirmCardMode::Edit, a));
    EXPECT_FALSE(c.open(FirmCardMode::View, a));
    EXPECT_TRUE(ui.saw(Kind::Warning, QStringLiteral("Detail nelze zobrazit - adresa již byla "
                                                     "smazána z adresáře.")));
}

TEST_F(AddressBookTest, ACardOpenHereKeepsTheOtherWorkstationReadOnly) {
    const qint64 id = addFirm(QStringLiteral("Držená a.s."));
    FirmCard c = card();
    ASSERT_TRUE(c.open(FirmCardMode::Edit, id));
    ASSERT_TRUE(c.editable());
    {
        testsupport::OtherWorkstation other(
            testsupport::recordEditedElsewhere(env, QStringLiteral("Adresar"), id));
        EXPECT_EQ(other.firstLine(), QStringLiteral("readonly"));
        other.stop();
    }
    c.firm().Telefon = QStringLiteral("777 123 456");
    ASSERT_EQ(c.confirm(), CardOutcome::Saved);
    // The saved card let go of its lock: the other workstation now takes it.
    testsupport::OtherWorkstation later(
        testsupport::recordEditedElsewhere(env, QStringLiteral("Adresar"), id));
    EXPECT_EQ(later.firstLine(), QStringLiteral("held"));
    later.stop();
}

TEST_F(AddressBookTest, AFirmDeletedUnderItsOpenCardIsNotWrittenBackNorGivenOrphans) {
    const qint64 id = addFirm(QStringLiteral("Mizející s.r.o."), {QStringLiteral("Holý")});
    FirmCard c = card();
    ASSERT_TRUE(c.open(FirmCardMode::Edit, id));
    // Deleted past the lock, as an older program version would.
    ASSERT_TRUE(db().execute(QStringLiteral("DELETE FROM Adresar WHERE ID = :ID"),
                             {{QStringLiteral("ID"), id}}));
    addressbook::Contact contact = c.newContact();
    contact.Prijmeni = QStringLiteral("Nový");
    c.storeContact(std::nullopt, contact);
    EXPECT_EQ(c.confirm(), CardOutcome::SaveFailed);
    EXPECT_TRUE(ui.saw(Kind::Error, core::saveFailedMessage()));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Adresar")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Kontakty WHERE Prijmeni = :P"),
                    {{QStringLiteral("P"), QStringLiteral("Nový")}}),
              0);
}

TEST_F(AddressBookTest, EditingWritesOnlyTheChangesOfTheWorkingCopies) {
    const QString fileA = writeFile(QStringLiteral("a.txt"), "a");
    FirmCard c = card();
    ASSERT_TRUE(c.open(FirmCardMode::New));
    c.firm().Nazev = QStringLiteral("Upravovaná v.o.s.");
    for (const char* surname : {"Adam", "Bedna", "Cibulka"}) {
        addressbook::Contact contact = c.newContact();
        contact.Prijmeni = QString::fromUtf8(surname);
        c.storeContact(std::nullopt, contact);
    }
    c.storeDocument(std::nullopt, {-1, QStringLiteral("A"), fileA, false});
    c.storeDocument(std::nullopt, {-1, QStringLiteral("B"), fileA, false});
    ASSERT_EQ(c.confirm(), CardOutcome::Saved);
    const qint64 id = c.savedId();
    const qint64 other = addFirm(QStringLiteral("Cizí"), {QStringLiteral("Cizinec")});
    const auto stored = addressbook::readContacts(db(), id);
    ASSERT_TRUE(stored && stored->size() == 3);
    const qint64 bedna = stored->at(1).LockID;

    FirmCard edit = card();
    ASSERT_TRUE(edit.open(FirmCardMode::Edit, id));
    ui.answer(true);
    ASSERT_TRUE(edit.removeContact(0)); // Adam
    addressbook::Contact changed = edit.contacts().at(0);
    changed.Jmeno = QStringLiteral("Boris");
    ASSERT_TRUE(edit.storeContact(0, changed)); // Bedna
    addressbook::Contact added = edit.newContact();
    added.Prijmeni = QStringLiteral("Dub");
    ASSERT_TRUE(edit.storeContact(std::nullopt, added));
    ui.answer(true);
    ASSERT_TRUE(edit.removeDocument(1)); // B
    ASSERT_EQ(edit.confirm(), CardOutcome::Saved);

    const auto after = addressbook::readContacts(db(), id);
    ASSERT_TRUE(after);
    QStringList surnames;
    for (const auto& contact : *after)
        surnames << contact.Prijmeni;
    EXPECT_EQ(surnames, (QStringList{QStringLiteral("Bedna"), QStringLiteral("Cibulka"),
                                     QStringLiteral("Dub")}));
    EXPECT_EQ(after->at(0).LockID, bedna) << "an edited contact keeps its row";
    EXPECT_EQ(after->at(0).Jmeno, QStringLiteral("Boris"));
    const auto documents = addressbook::readDocuments(db(), id);
    ASSERT_TRUE(documents && documents->size() == 1);
    EXPECT_EQ(documents->front().Popis, QStringLiteral("A"));
    EXPECT_EQ(addressbook::readContacts(db(), other)->size(), 1u) << "another firm's rows stay";
}

TEST_F(AddressBookTest, TheAddressBookRightGovernsListCardsAndDeletion) {
    const qint64 id = addFirm(QStringLiteral("Chráněná a.s."));
    core::CurrentUser& user = core::programState().user;

    user.adresar = core::AccessLevel::ReadOnly;
    EXPECT_TRUE(AddressBookLogic::mayOpen(ui));
    FirmCard readOnly = card();
    ASSERT_TRUE(readOnly.open(FirmCardMode::Edit, id));
    EXPECT_TRUE(ui.saw(Kind::Information, core::readOnlyNoticeMessage()));
    EXPECT_FALSE(readOnly.editable());
    EXPECT_EQ(readOnly.caption(), QStringLiteral("Karta adresy - prohlížení"));
    EXPECT_FALSE(services::recordHeldElsewhere(QStringLiteral("Adresar"), id))
        << "a read-only card keeps no lock file";
    FirmCard refused = card();
    EXPECT_FALSE(refused.open(FirmCardMode::New));
    EXPECT_FALSE(refused.open(FirmCardMode::Copy, id));

    user.adresar = core::AccessLevel::NoDelete;
    AddressBookLogic list(db(), ui, session, AddressBookMode::Browse);
    ASSERT_TRUE(list.open());
    ui.clear();
    list.removeFirms();
    EXPECT_TRUE(ui.saw(Kind::Information, core::noRightsMessage()));
    EXPECT_TRUE(addressbook::readFirm(db(), id));

    user.adresar = core::AccessLevel::Denied;
    EXPECT_FALSE(AddressBookLogic::mayOpen(ui));
    FirmCard denied = card();
    EXPECT_FALSE(denied.open(FirmCardMode::View, id));
    user.adresar = core::AccessLevel::Full;
}

TEST_F(AddressBookTest, MarkedFirmsGoTogetherAndMarksOfFirmsGoneElsewhereAreDropped) {
    const qint64 a = addFirm(QStringLiteral("Alfa"), {QStringLiteral("A1")});
    const qint64 b = addFirm(QStringLiteral("Beta"), {QStringLiteral("B1")});
    const qint64 c = addFirm(QStringLiteral("Gama"), {QStringLiteral("C1")});
    AddressBookLogic list(db(), ui, session, AddressBookMode::Browse);
    ASSERT_TRUE(list.open());
    list.setCurrentRow(*list.firms().rowOfId(a));
    list.toggleMark();
    list.setCurrentRow(*list.firms().rowOfId(c));
    list.toggleMark();
    EXPECT_EQ(list.firms().marks(), (std::vector<qint64>{a, c}));
    // Another workstation deletes one of the marked firms first.
    ASSERT_TRUE(addressbook::deleteFirms(db(), ui, {a}));
    list.firms().reload();
    EXPECT_EQ(list.firms().marks(), (std::vector<qint64>{c}));
    ui.answer(true);
    list.removeFirms();
    EXPECT_TRUE(ui.sawContaining(Kind::Question, QStringLiteral("několik záznamů najednou")));
    EXPECT_FALSE(addressbook::readFirm(db(), c));
    EXPECT_TRUE(addressbook::readFirm(db(), b));
    EXPECT_TRUE(list.firms().marks().empty());
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM Kontakty")), 1);
    EXPECT_EQ(list.currentFirmId(), b);
}

TEST_F(AddressBookTest, TheGridReadsItsRowsInBlocksThatMeetWithoutGaps) {
    constexpr int kFirms = 2 * addressbook::FirmListModel::kBlockRows + 5;
    {
        core::Transaction unit(db());
        for (int i = 0; i < kFirms; ++i)
            ASSERT_TRUE(db().execute(
                QStringLiteral("INSERT INTO Adresar (Nazev, Misto) VALUES (:N, :M)"),
                {{QStringLiteral("N"), QStringLiteral("Firma %1").arg(i, 3, 10, QLatin1Char('0'))},
                 {QStringLiteral("M"), QStringLiteral("Místo %1").arg(i)}}));
        ASSERT_TRUE(unit.commit());
    }
    addressbook::FirmListModel model(db());
    ASSERT_TRUE(model.load(QStringLiteral("nazev")));
    ASSERT_EQ(model.rowCount(), kFirms);
    for (int row = 0; row < kFirms; ++row)
        ASSERT_EQ(model.value(row, QStringLiteral("Misto")), QStringLiteral("Místo %1").arg(row))
            << row;
    // A firm deleted elsewhere shows empty until the next reload, and nothing else moves.
    addressbook::FirmListModel stale(db());
    ASSERT_TRUE(stale.load(QStringLiteral("NAZEV")));
    ASSERT_TRUE(db().execute(QStringLiteral("DELETE FROM Adresar WHERE ID = :ID"),
                             {{QStringLiteral("ID"), stale.idAt(70)}}));
    EXPECT_TRUE(stale.value(70, QStringLiteral("Nazev")).isEmpty());
    EXPECT_EQ(stale.value(71, QStringLiteral("Nazev")), QStringLiteral("Firma 071"));
    ASSERT_TRUE(stale.reload());
    EXPECT_EQ(stale.rowCount(), kFirms - 1);
    EXPECT_EQ(stale.value(70, QStringLiteral("Nazev")), QStringLiteral("Firma 071"));
}

TEST_F(AddressBookTest, ReopeningTheListReturnsToTheRememberedFirmAndOrder) {
    addFirm(QStringLiteral("Alfa"));
    const qint64 b = addFirm(QStringLiteral("Beta"));
    addFirm(QStringLiteral("Gama"));
    {
        AddressBookLogic list(db(), ui, session, AddressBookMode::Browse);
        ASSERT_TRUE(list.open());
        list.sortBy(QStringLiteral("ICO"));
        list.setCurrentRow(*list.firms().rowOfId(b));
        list.close();
    }
    AddressBookLogic again(db(), ui, session, AddressBookMode::Browse);
    ASSERT_TRUE(again.open());
    EXPECT_EQ(again.firms().sortField(), QStringLiteral("ICO"));
    EXPECT_EQ(again.currentFirmId(), b);
}

TEST_F(AddressBookTest, APostCodeWithASpaceFindsItsPlace) {
    FirmCard c = card();
    ASSERT_TRUE(c.open(FirmCardMode::New));
    QString place;
    c.completePlace(QStringLiteral(" 352 01 "), place);
    EXPECT_EQ(place, QStringLiteral("Aš"));
    QString typed = QStringLiteral("Jinde");
    c.completePlace(QStringLiteral("352 01"), typed);
    EXPECT_EQ(typed, QStringLiteral("Jinde")) << "a typed place stays";
    QString none;
    c.completePlace(QStringLiteral("\" OR 1=1 --"), none);
    EXPECT_TRUE(none.isEmpty());
}

TEST_F(AddressBookTest, QuickFindAndSortingKeepTheCzechOrderAndTheCurrentFirm) {
    addFirm(QStringLiteral("Chemie Brno"));
    const qint64 c = addFirm(QStringLiteral("Čistírna Praha"));
    addFirm(QStringLiteral("Hotel Zlín"));
    addFirm(QStringLiteral("cukrárna Aš"));
    AddressBookLogic list(db(), ui, session, AddressBookMode::Pick);
    ASSERT_TRUE(list.open());
    QStringList order;
    for (int r = 0; r < list.firms().rowCount(); ++r)
        order << list.firms().value(r, QStringLiteral("Nazev"));
    EXPECT_EQ(order, (QStringList{QStringLiteral("cukrárna Aš"), QStringLiteral("Čistírna Praha"),
                                  QStringLiteral("Hotel Zlín"), QStringLiteral("Chemie Brno")}));
    EXPECT_EQ(list.quickFind(QStringLiteral("č")), 1);
    EXPECT_EQ(list.quickFind(QStringLiteral("CH")), 3);
    EXPECT_FALSE(list.quickFind(QStringLiteral("x")));
    list.setCurrentRow(1);
    list.sortBy(QStringLiteral("Ulice")); // every street is empty: the ID decides
    EXPECT_EQ(list.currentFirmId(), c);
    EXPECT_EQ(list.pickFirm(), c);
    list.sortBy(QStringLiteral("Stat")); // not sortable
    EXPECT_EQ(list.firms().sortField(), QStringLiteral("ULICE"));
}

} // namespace

namespace {

// The demo agenda's firms are real places with well-formed company numbers, and the demo offers
// point at them.
TEST(DemoAddressBook, FirmsHaveRealPlacesValidNumbersAndTheOffersPointAtThem) {
    EXPECT_EQ(addressbook::icoCheckDigit(QStringLiteral("0000694")), 7); // 00006947
    EXPECT_EQ(addressbook::icoCheckDigit(QStringLiteral("12a4567")), -1);
    testsupport::TestEnvironment env;
    ASSERT_TRUE(
        testsupport::openTestAgenda(env, QStringLiteral("0003.res"), QStringLiteral("DEMO")));
    ASSERT_TRUE(env.copyTemplate(QStringLiteral("0002.res"), QStringLiteral("Global.MDB")));
    core::Database global(QStringLiteral("demo-post-codes"));
    ASSERT_TRUE(global.open(env.dataFolder() + QStringLiteral("Global.MDB")));
    core::Database& db = core::programState().db->agenda;
    // The firms read whole first: a server connection drops the rest of a result that another
    // statement interrupts.
    std::vector<QSqlRecord> rows;
    QSqlQuery read = db.select(QStringLiteral("SELECT ID, ICO, DIC, Psc, Misto, CenHladina FROM "
                                              "Adresar"));
    while (read.next())
        rows.push_back(read.record());
    read.finish();
    int count = 0;
    int withLevel = 0;
    for (const QSqlRecord& firms : rows) {
        ++count;
        const QString ico = firms.value(1).toString();
        ASSERT_EQ(ico.size(), 8);
        EXPECT_EQ(addressbook::icoCheckDigit(ico.left(7)), ico.at(7).digitValue())
            << ico.toStdString();
        EXPECT_EQ(firms.value(2).toString(), QStringLiteral("CZ") + ico);
        EXPECT_TRUE(global.scalar(
            QStringLiteral("SELECT ID FROM Mista WHERE PSC = :P AND "
                           "Misto = :M"),
            {{QStringLiteral("P"), firms.value(3)}, {QStringLiteral("M"), firms.value(4)}}))
            << firms.value(4).toString().toStdString();
        if (!firms.value(5).toString().isEmpty()) {
            ++withLevel;
            EXPECT_TRUE(db.scalar(QStringLiteral("SELECT ID FROM CenHlad WHERE Zkratka = :Z"),
                                  {{QStringLiteral("Z"), firms.value(5)}}));
        }
        EXPECT_TRUE(db.scalar(QStringLiteral("SELECT ID FROM Kontakty WHERE CisloAdr = :ID AND "
                                             "Zobrazit <> 0"),
                              {{QStringLiteral("ID"), firms.value(0)}}));
    }
    EXPECT_GE(count, 30);
    EXPECT_GT(withLevel, 3);
    EXPECT_FALSE(db.scalar(QStringLiteral("SELECT n.ID FROM Nabidky n LEFT JOIN Adresar a ON "
                                          "a.ID = n.AdrCislo WHERE a.ID IS NULL OR a.Nazev <> "
                                          "n.AdrNazev")));
    core::resetProgramState();
}

} // namespace
