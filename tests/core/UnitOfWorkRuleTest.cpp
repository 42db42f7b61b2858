#include "core/AmountFormat.h"
#include "core/Database.h"
#include "core/PersonName.h"
#include "core/Schema.h"
#include "core/TemplateDatabases.h"
#include "support/ScriptedInteraction.h"

#include <QTemporaryDir>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

using namespace orvento;
using core::Database;

namespace {

class UnitOfWorkRuleTest : public ::testing::Test {
protected:
    void SetUp() override {
        path = dir.filePath(QStringLiteral("Firma.MDB"));
        QString error;
        ASSERT_TRUE(core::buildDatabaseFile(path, core::DatabaseKind::Agenda, false, &error))
            << error.toStdString();
        const QString other = dir.filePath(QStringLiteral("Druha.MDB"));
        ASSERT_TRUE(core::buildDatabaseFile(other, core::DatabaseKind::Agenda, false, &error))
            << error.toStdString();
        ASSERT_TRUE(first.open(path));
        ASSERT_TRUE(second.open(other));
    }

    QTemporaryDir dir;
    QString path;
    Database first{QStringLiteral("unit-rule-1")};
    Database second{QStringLiteral("unit-rule-2")};
};

TEST_F(UnitOfWorkRuleTest, AnyOpenUnitOnAnyConnectionIsSeen) {
    EXPECT_FALSE(Database::anyUnitOpen());
    {
        core::Transaction outer(first);
        ASSERT_TRUE(outer.isActive());
        EXPECT_TRUE(Database::anyUnitOpen());
        {
            core::Transaction inner(first);
            ASSERT_TRUE(inner.isActive());
            core::Transaction other(second);
            ASSERT_TRUE(other.isActive());
            EXPECT_TRUE(other.commit());
            EXPECT_TRUE(inner.commit());
        }
        // The inner savepoint and the other connection's unit are over; the outer one is not.
        EXPECT_TRUE(Database::anyUnitOpen());
        EXPECT_TRUE(outer.commit());
    }
    EXPECT_FALSE(Database::anyUnitOpen());
    {
        core::Transaction rolledBack(second);
        EXPECT_TRUE(Database::anyUnitOpen());
    }
    EXPECT_FALSE(Database::anyUnitOpen());
    // A connection closed with its unit open ends the unit.
    ASSERT_TRUE(first.beginTransaction());
    EXPECT_TRUE(Database::anyUnitOpen());
    first.close();
    EXPECT_FALSE(Database::anyUnitOpen());
}

TEST_F(UnitOfWorkRuleTest, TheScriptedPersonRefusesToBeAskedWhileAUnitIsOpen) {
    testsupport::ScriptedInteraction ui;
    ui.information(QStringLiteral("before"));
    EXPECT_NONFATAL_FAILURE(
        {
            core::Transaction unit(first);
            ui.error(QStringLiteral("Při ukládání"));
        },
        "shown while a unit of work is open");
    EXPECT_NONFATAL_FAILURE(
        {
            core::Transaction unit(second);
            ui.answer(true);
            ui.question(QStringLiteral("Opravdu ?"));
        },
        "question shown while a unit of work is open");
    ui.warning(QStringLiteral("after"));
    EXPECT_EQ(ui.messages().size(), 4u);
}

TEST(ContactPersonName, TitlesSurnameFirstNameWithSingleBlanks) {
    EXPECT_EQ(core::contactPersonName(QStringLiteral("Ing."), QStringLiteral("Novák"),
                                      QStringLiteral("Jan"), QStringLiteral("Ph.D.")),
              QStringLiteral("Ing. Novák Jan Ph.D."));
    EXPECT_EQ(core::contactPersonName(QString(), QStringLiteral(" Malá "), QStringLiteral("  "),
                                      QStringLiteral("CSc.")),
              QStringLiteral("Malá CSc."));
    EXPECT_EQ(core::contactPersonName(QStringLiteral("Doc."), QStringLiteral("Dvořák"),
                                      QStringLiteral("Jan  Petr"), QString()),
              QStringLiteral("Doc. Dvořák Jan Petr"));
    EXPECT_TRUE(core::contactPersonName({}, {}, {}, {}).isEmpty());
}

TEST_F(UnitOfWorkRuleTest, AmountTextInSqlIsTheAmountAsShown) {
    const auto shown = [this](const QVariant& value) {
        return first
            .scalar(QStringLiteral("SELECT AMOUNT_TEXT(:V)"), {{QStringLiteral("V"), value}})
            .value_or(QVariant());
    };
    EXPECT_EQ(shown(1234.5).toString(), QStringLiteral("1 234,50"));
    EXPECT_EQ(shown(-1234567.891).toString(), QStringLiteral("-1 234 567,89"));
    EXPECT_EQ(shown(7).toString(), core::formatAmount(7.0));
    EXPECT_TRUE(shown(QVariant()).isNull());
}

} // namespace
