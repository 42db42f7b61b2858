// The fault plan itself: what it counts, and that an injected failure reaches the program as the
// engine's own (kind, text, the messages built from it, the rollback of a failed commit).
#include "FaultSweep.h"

#include "catalogue/CatalogueAgenda.h"

using namespace orvento;
using namespace orvento::testsupport;
using core::FailureKind;
using core::InjectedFailure;

namespace {

class FaultPlanTest : public CatalogueAgenda {
protected:
    bool insertSheet() {
        return db().execute(QStringLiteral("INSERT INTO Sklady (Nazev, Poradi) VALUES ('X', 9)"));
    }
    int sheets() { return value(QStringLiteral("SELECT COUNT(*) FROM Sklady")).toInt(); }
};

TEST_F(FaultPlanTest, EachKindFailsAsTheEngineWouldWithoutRunningTheStatement) {
    struct Case {
        InjectedFailure injected;
        FailureKind kind;
        QString engineText;
        QString message;
    };
    const QString usual = QStringLiteral(
        "Při ukládání záznamu do \"Sklady\" došlo k chybě: metoda \"Execute\" selhala.");
    for (const Case& c : {Case{InjectedFailure::DiskFull, FailureKind::Disk,
                               QStringLiteral("database or disk is full"), usual},
                          Case{InjectedFailure::Busy, FailureKind::Busy,
                               QStringLiteral("database is locked"), core::busyMessage()},
                          Case{InjectedFailure::Constraint, FailureKind::Constraint,
                               QStringLiteral("constraint failed"), usual}}) {
        SCOPED_TRACE(kindName(c.injected));
        const int before = sheets();
        {
            core::FaultPlan plan({.failAt = 2, .kind = c.injected});
            EXPECT_TRUE(insertSheet());
            EXPECT_FALSE(insertSheet());
            EXPECT_EQ(db().lastFailureKind(), c.kind);
            EXPECT_EQ(db().lastError(), c.engineText);
            EXPECT_EQ(core::saveFailedMessage(QStringLiteral("Sklady")), c.message);
            EXPECT_TRUE(insertSheet()); // one statement fails, not the ones after it
            EXPECT_EQ(plan.statements(), 3);
            EXPECT_TRUE(plan.fired());
        }
        EXPECT_EQ(sheets(), before + 2);
    }
    // The plan gone, nothing fails any more.
    EXPECT_TRUE(insertSheet());
}

TEST_F(FaultPlanTest, AUnitCountsItsBeginAndCommitAndAFailedCommitLeavesNothing) {
    const int before = sheets();
    {
        core::FaultPlan counting;
        {
            core::Transaction unit(db());
            ASSERT_TRUE(insertSheet());
            {
                core::Transaction inner(db()); // savepoint, released: not counted
                ASSERT_TRUE(insertSheet());
                ASSERT_TRUE(inner.commit());
            }
            ASSERT_TRUE(unit.commit());
        }
        {
            core::Transaction rolledBack(db()); // its rollback is not counted
            ASSERT_TRUE(insertSheet());
        }
        // BEGIN, INSERT, SAVEPOINT, INSERT, COMMIT; BEGIN, INSERT.
        EXPECT_EQ(counting.statements(), 7);
        EXPECT_FALSE(counting.fired());
    }
    EXPECT_EQ(sheets(), before + 2);
    {
        core::FaultPlan plan({.failAt = 4, .kind = InjectedFailure::DiskFull}); // the COMMIT
        core::Transaction unit(db());
        ASSERT_TRUE(insertSheet());
        ASSERT_TRUE(insertSheet());
        EXPECT_FALSE(unit.commit());
        EXPECT_EQ(plan.failedStatement(), QStringLiteral("COMMIT"));
        EXPECT_EQ(core::Database::lastFailureKindInProgram(), FailureKind::Disk);
    }
    EXPECT_FALSE(core::Database::anyUnitOpen());
    EXPECT_EQ(sheets(), before + 2);
}

} // namespace
