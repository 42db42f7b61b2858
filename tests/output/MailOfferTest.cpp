#include "output/MailOffer.h"
#include "output/PrintWindowLogic.h"

#include "core/Database.h"
#include "core/ProgramState.h"
#include "support/OpenAgenda.h"
#include "support/ScriptedInteraction.h"
#include "support/TestEnvironment.h"
#include "support/TestStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace orvento;
using output::MailOutcome;
using testsupport::ScriptedInteraction;
using Kind = ScriptedInteraction::Kind;

namespace {

// Takes every message instead of a mail program and answers with the outcome it is given.
class FakeHandOver : public output::MailHandOver {
public:
    output::MailResult send(const output::MailMessage& message, core::UserInteraction&) override {
        sent.push_back(message);
        for (const QString& file : message.attachments) {
            QFile f(file);
            contents << (f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("?"));
        }
        return result;
    }
    output::MailResult result = output::MailResult::sent();
    std::vector<output::MailMessage> sent;
    QList<QByteArray> contents;
};

class MailOfferTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(
            testsupport::openTestAgenda(env, QStringLiteral("0001.res"), QStringLiteral("Firma")));
        ASSERT_TRUE(testsupport::openTestGlobal(env));
        QDir().mkpath(state().folders.print);
        QFile frx(state().folders.print + QStringLiteral("_NABKSP.FRX"));
        ASSERT_TRUE(frx.open(QIODevice::WriteOnly));
        frx.write("[body]\n");
        frx.close();
        root = env.dataFolder() + QStringLiteral("posta");
        docs = env.dataFolder() + QStringLiteral("dokumenty/");
        QDir().mkpath(docs);
        runnerWrites("PDF-1", 0);
    }
    void TearDown() override { core::resetProgramState(); }

    static core::ProgramState& state() { return core::programState(); }
    static core::Database& global() { return state().db->global; }
    static core::Database& agenda() { return state().db->agenda; }
    output::ReportContext context() {
        return {state().settings, state().user, agenda(), &global()};
    }
    // The runner writes `content` as the PDF of the newest message's folder and exits with `code`.
    void runnerWrites(const char* content, int code) {
        runner = env.dataFolder() + QStringLiteral("runner-%1.sh").arg(++runners);
        QFile script(runner);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(QStringLiteral("#!/bin/sh\nd=$(ls -td '%1'/zprava-* | head -n 1)\n"
                                    "printf %2 > \"$d/nabidka.pdf\"\nexit %3\n")
                         .arg(root, QString::fromLatin1(content))
                         .arg(code)
                         .toUtf8());
        script.close();
        script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    }
    qint64 addOffer(const QString& email, int state = 0) {
        qint64 firm = 0;
        if (!email.isNull()) {
            EXPECT_TRUE(agenda().execute(
                QStringLiteral("INSERT INTO Adresar (Nazev, Email) VALUES ('Odběratel', :E)"),
                {{QStringLiteral("E"), email}}));
            firm = agenda().newRowId();
        }
        EXPECT_TRUE(agenda().execute(
            QStringLiteral("INSERT INTO Nabidky (Doklad, IDStav, Zamek, AdrCislo, SazDPHZakl, "
                           "SazDPHSniz) VALUES ('NB7', :S, 0, :A, 21, 12)"),
            {{QStringLiteral("S"), state}, {QStringLiteral("A"), firm}}));
        return agenda().newRowId();
    }
    void addDocument(qint64 offer, const QString& link) {
        ASSERT_TRUE(agenda().execute(
            QStringLiteral(
                "INSERT INTO DokumentyNab (CisloNab, Popis, Soubor) VALUES (:N, '', :S)"),
            {{QStringLiteral("N"), offer}, {QStringLiteral("S"), link}}));
    }
    QString document(const QString& name, const QByteArray& content) {
        QFile f(docs + name);
        f.open(QIODevice::WriteOnly);
        f.write(content);
        return f.fileName();
    }
    int offerState(qint64 offer) {
        return agenda()
            .scalar(QStringLiteral("SELECT IDStav FROM Nabidky WHERE ID = :ID"),
                    {{QStringLiteral("ID"), offer}})
            .value_or(-1)
            .toInt();
    }
    // One e-mail of the offer; `form` plays the person in the e-mail window.
    bool mail(qint64 offer, ScriptedInteraction& ui,
              const std::function<bool(output::MailForm&)>& form) {
        output::ReportSession session(context(), ui);
        session.setRunnerProgram(runner);
        output::OfferMail mail(context(), ui, handOver, form);
        mail.setFolderRoot(root);
        mail.setDocumentsFolder([this](qint64) { return docs; });
        output::ReportChoice choice;
        choice.file = QStringLiteral("_NABKSP");
        choice.builtIn = true;
        const bool changed = mail.send(session, choice, offer);
        lastFolder = mail.lastFolder();
        return changed;
    }

    testsupport::TestEnvironment env;
    FakeHandOver handOver;
    QString root;
    QString docs;
    QString runner;
    QString lastFolder;
    int runners = 0;
};

// The e-mail window opens with the customer's address and the box unchecked; the message goes to
// the trimmed address with the PDF only; once it was sent the offer's state is asked about.
TEST_F(MailOfferTest, CustomerAddressPdfAndStateQuestion) {
    const qint64 offer = addOffer(QStringLiteral("odberatel@example.cz"));
    addDocument(offer, QStringLiteral("%SDILENA_SLOZKA%plan.pdf"));
    document(QStringLiteral("plan.pdf"), "PLAN");
    ScriptedInteraction ui;
    ui.answer(true); // mark as sent
    EXPECT_TRUE(mail(offer, ui, [](output::MailForm& form) {
        EXPECT_EQ(form.address, QStringLiteral("odberatel@example.cz"));
        EXPECT_FALSE(form.attachDocuments);
        form.address = QStringLiteral("  jiny@example.cz  ");
        return true;
    }));
    ASSERT_EQ(handOver.sent.size(), 1u);
    EXPECT_EQ(handOver.sent[0].to, QStringLiteral("jiny@example.cz"));
    EXPECT_EQ(handOver.contents, QList<QByteArray>{"PDF-1"});
    EXPECT_EQ(offerState(offer), 1);
    EXPECT_TRUE(ui.waitTexts().contains(output::mailWaitText()));

    // Without a customer the address is empty; "Storno" sends nothing.
    const qint64 bare = addOffer(QString());
    EXPECT_FALSE(mail(bare, ui, [](output::MailForm& form) {
        EXPECT_TRUE(form.address.isEmpty());
        return false;
    }));
    EXPECT_EQ(handOver.sent.size(), 1u);
    EXPECT_FALSE(QFileInfo::exists(lastFolder));
}

// The offer's documents: a shared link in any letter case from the offer's folder, a full path
// from that path; a link that leaves the shared folder or a missing file is asked about: Yes
// sends the rest, No sends nothing and keeps the state. A name with "," or "'" goes as a renamed
// copy.
TEST_F(MailOfferTest, DocumentsAndMissingFiles) {
    const qint64 offer = addOffer(QStringLiteral("odberatel@example.cz"));
    document(QStringLiteral("plan.pdf"), "PLAN");
    const QString odd = document(QStringLiteral("ceník, O'Brien.xls"), "CENIK");
    QFile secret(env.dataFolder() + QStringLiteral("tajne.txt"));
    ASSERT_TRUE(secret.open(QIODevice::WriteOnly));
    secret.write("TAJNE");
    secret.close();
    addDocument(offer, QStringLiteral("%sdilena_slozka%plan.pdf"));
    addDocument(offer, odd);
    addDocument(offer, QStringLiteral("%SDILENA_SLOZKA%../tajne.txt"));
    addDocument(offer, docs + QStringLiteral("smazany.doc"));
    const auto attach = [](output::MailForm& form) {
        form.attachDocuments = true;
        return true;
    };

    ScriptedInteraction ui;
    ui.answer(true);  // the link out of the folder: go on
    ui.answer(false); // the deleted one: stop
    EXPECT_FALSE(mail(offer, ui, attach));
    EXPECT_TRUE(handOver.sent.empty());
    EXPECT_TRUE(ui.saw(Kind::Question, QStringLiteral("Soubor %1 neexistuje a nebude tedy připojen "
                                                      "k e-mailu. Chcete pokračovat ?")
                                           .arg(docs + QStringLiteral("smazany.doc"))));
    EXPECT_EQ(offerState(offer), 0);

    ui.answer(true);
    ui.answer(true);
    ui.answer(false); // not marked as sent
    mail(offer, ui, attach);
    ASSERT_EQ(handOver.sent.size(), 1u);
    EXPECT_EQ(handOver.contents, (QList<QByteArray>{"PDF-1", "PLAN", "CENIK"}));
    const QStringList& files = handOver.sent[0].attachments;
    ASSERT_EQ(files.size(), 3);
    EXPECT_EQ(files[1], docs + QStringLiteral("plan.pdf"));
    EXPECT_TRUE(files[2].startsWith(lastFolder));
    EXPECT_FALSE(QFileInfo(files[2]).fileName().contains(QLatin1Char(',')));
    EXPECT_FALSE(QFileInfo(files[2]).fileName().contains(QLatin1Char('\'')));
}

// Each message has a PDF of its own, which stays while a compose window may read it; a runner
// that failed leaves no half-made PDF to attach; discarded asks nothing, failed tells why, and
// neither changes the offer's state.
TEST_F(MailOfferTest, OwnPdfFailedRunnerAndOutcomes) {
    const qint64 offer = addOffer(QStringLiteral("odberatel@example.cz"));
    const auto ok = [](output::MailForm&) {
        return true;
    };
    ScriptedInteraction ui;
    ui.answer(false);
    mail(offer, ui, ok);
    const QString first = handOver.sent.at(0).attachments.at(0);
    runnerWrites("PDF-2", 0);
    ui.answer(false);
    mail(offer, ui, ok);
    const QString second = handOver.sent.at(1).attachments.at(0);
    EXPECT_NE(first, second);
    QFile kept(first);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("PDF-1"));
    EXPECT_EQ(QFileInfo(QFileInfo(first).path()).permissions() & QFileDevice::ReadOther,
              QFileDevice::Permissions());

    runnerWrites("HALF", 1);
    ui.answer(true); // send without the PDF
    ui.answer(false);
    mail(offer, ui, ok);
    EXPECT_TRUE(ui.sawContaining(Kind::Question, QStringLiteral("nabidka.pdf neexistuje")));
    EXPECT_TRUE(handOver.sent.at(2).attachments.isEmpty());

    runnerWrites("PDF-3", 0);
    handOver.result = output::MailResult::discarded();
    const int questions = static_cast<int>(ui.texts(Kind::Question).size());
    EXPECT_FALSE(mail(offer, ui, ok));
    EXPECT_EQ(ui.texts(Kind::Question).size(), questions);
    EXPECT_FALSE(QFileInfo::exists(lastFolder));

    handOver.result = output::MailResult::failed(QStringLiteral("Poštovní program selhal."));
    EXPECT_FALSE(mail(offer, ui, ok));
    EXPECT_TRUE(ui.saw(Kind::Error, QStringLiteral("Poštovní program selhal.")));
    EXPECT_EQ(offerState(offer), 0);
}

// An unwritable cache folder is told in Czech and nothing is started.
TEST_F(MailOfferTest, UnwritableCacheFolder) {
    const qint64 offer = addOffer(QStringLiteral("odberatel@example.cz"));
    QFile blocker(root);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
    blocker.close();
    ScriptedInteraction ui;
    EXPECT_FALSE(mail(offer, ui, [](output::MailForm&) {
        ADD_FAILURE() << "the e-mail window opened";
        return false;
    }));
    EXPECT_TRUE(ui.sawContaining(Kind::Error, QStringLiteral("Nelze vytvořit složku")));
    EXPECT_TRUE(handOver.sent.empty());
}

} // namespace
