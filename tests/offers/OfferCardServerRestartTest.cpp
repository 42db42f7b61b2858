// The offer card over a database server that restarts while the card is open: its save waits for
// nobody, fails with the server's name while the server is down and goes through once it is back
// under the same lock; a lock that went to another workstation in between makes the card
// read-only at its save, with nothing written.
#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/SqlDialect.h"
#include "offers/NoItemEditor.h"
#include "offers/OfferCardLogic.h"
#include "offers/OfferStore.h"
#include "services/RecordLock.h"
#include "support/ScriptedInteraction.h"
#include "support/StoreKinds.h"
#include "support/TestContext.h"
#include "support/TestEnvironment.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace orvento;
using offers::OfferCardLogic;
using testsupport::OtherWorkstation;
using testsupport::ScriptedInteraction;
using Kind = ScriptedInteraction::Kind;

namespace {

const QString kKind = QStringLiteral("Postgres");

class OfferCardServerRestartTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const auto why = testsupport::storeKindUnavailable(kKind))
            GTEST_SKIP() << why->toStdString();
        core::ProgramState& state = core::programState();
        ASSERT_TRUE(testsupport::prepareLocation(kKind, env.dataFolder()));
        state.store = testsupport::makeStore(kKind, env.dataFolder(), env.programFolder());
        state.db = std::make_unique<core::Connections>(state.store->dialect());
        state.folders.setData(env.dataFolder());
        QDir().mkpath(state.folders.lock);
        state.agenda = QStringLiteral("Firma");
        ASSERT_TRUE(state.store->create(state.agendaId(), core::DatabaseTemplate::EmptyAgenda));
        ASSERT_TRUE(state.store->open(db(), state.agendaId())) << db().lastError().toStdString();
        ASSERT_TRUE(db().execute(QStringLiteral("DELETE FROM CisRady")));
        ASSERT_TRUE(db().execute(
            QStringLiteral("INSERT INTO CisRady (PrefixOzn, Cislo, PocetMist, ModulOzn) VALUES "
                           "(:Prefix, :Cislo, :Mist, :Modul)"),
            {{QStringLiteral("Prefix"), QStringLiteral("NB")},
             {QStringLiteral("Cislo"), 1},
             {QStringLiteral("Mist"), 5},
             {QStringLiteral("Modul"), QStringLiteral("NB")}}));
        offers::OfferStore store(db());
        auto opened = store.open(offers::OfferMode::New, std::nullopt, ui);
        ASSERT_TRUE(opened);
        opened->copy.header().Popis = QStringLiteral("před");
        ASSERT_TRUE(store.save(opened->copy, ui)) << db().lastError().toStdString();
        offerId = opened->copy.offerId().value_or(-1);
    }

    static core::Database& db() { return core::programState().db->agenda; }
    static testsupport::PostgresCluster& cluster() {
        return *testsupport::PostgresCluster::instance(nullptr);
    }

    std::unique_ptr<OfferCardLogic> openCard() {
        auto opened = OfferCardLogic::open(test.context, core::OfferCardMode::Existing, offerId);
        if (!opened)
            return nullptr;
        return std::make_unique<OfferCardLogic>(test.context, std::move(*opened), editor);
    }

    QString storedPopis() {
        return db()
            .scalar(QStringLiteral("SELECT Popis FROM Nabidky WHERE ID = :ID"),
                    {{QStringLiteral("ID"), offerId}})
            .value_or(QString())
            .toString();
    }

    OtherWorkstation otherEditing() const {
        return OtherWorkstation(QStringList{QStringLiteral("store-lock"), kKind, env.dataFolder(),
                                            QStringLiteral("Firma"), QStringLiteral("Nabidky"),
                                            QString::number(offerId)});
    }

    testsupport::TestEnvironment env;
    ScriptedInteraction ui;
    testsupport::TestContext test{ui};
    testsupport::NoItemEditor editor;
    qint64 offerId = -1;
};

TEST_F(OfferCardServerRestartTest, TheSaveFailsWhileTheServerIsDownAndGoesThroughOnceItIsBack) {
    auto card = openCard();
    ASSERT_TRUE(card);
    ASSERT_FALSE(card->readOnly());
    QString why;
    ASSERT_TRUE(cluster().shutDown(&why)) << why.toStdString();
    card->editHeader([](offers::OfferHeader& h) { h.Popis = QStringLiteral("dole"); });
    EXPECT_FALSE(card->confirm());
    EXPECT_TRUE(ui.sawContaining(
        Kind::Error,
        QStringLiteral("Spojení s databázovým serverem %1 bylo přerušeno a nepodařilo se ho "
                       "obnovit: ")
            .arg(testsupport::postgresTestConnection(env.dataFolder()).label())))
        << ui.allTexts().join(QLatin1Char('\n')).toStdString();
    EXPECT_FALSE(card->readOnly()) << "the edits wait for the server";

    ASSERT_TRUE(cluster().startAgain(&why)) << why.toStdString();
    card->editHeader([](offers::OfferHeader& h) { h.Popis = QStringLiteral("nahoře"); });
    ASSERT_TRUE(card->confirm()) << ui.allTexts().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(storedPopis(), QStringLiteral("nahoře"));
    OtherWorkstation later = otherEditing();
    EXPECT_EQ(later.firstLine(), QStringLiteral("readonly")) << "the card's lock was taken again";
}

TEST_F(OfferCardServerRestartTest, ALockThatWentToAnotherWorkstationMakesTheCardReadOnly) {
    auto card = openCard();
    ASSERT_TRUE(card);
    QString error;
    ASSERT_TRUE(cluster().runAsAdmin(
        QStringLiteral("SELECT pg_terminate_backend(pid, 5000) FROM pg_stat_activity WHERE pid "
                       "<> pg_backend_pid() AND backend_type = 'client backend'"),
        &error))
        << error.toStdString();
    OtherWorkstation editing = otherEditing();
    ASSERT_EQ(editing.firstLine(), QStringLiteral("held"));
    card->editHeader([](offers::OfferHeader& h) { h.Popis = QStringLiteral("moje"); });
    EXPECT_FALSE(card->confirm());
    EXPECT_TRUE(ui.saw(Kind::Warning, services::recordLockLostMessage()))
        << ui.allTexts().join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(card->readOnly());
    EXPECT_EQ(storedPopis(), QStringLiteral("před"));
    EXPECT_FALSE(card->confirm()) << "a read-only card saves nothing";
    EXPECT_EQ(storedPopis(), QStringLiteral("před"));
}

} // namespace
