#include "core/DesktopCalculator.h"
#include "support/ScriptedInteraction.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace orvento;
using Kind = testsupport::ScriptedInteraction::Kind;

TEST(DesktopCalculator, FirstOneOnThePathOrAMessageNamingNoSystem) {
    QTemporaryDir empty;
    testsupport::ScriptedInteraction ui;
    EXPECT_FALSE(core::calculator::start(ui, {empty.path()}));
    EXPECT_TRUE(
        ui.saw(Kind::Error, QStringLiteral("Program \"Kalkulačka\" není v systému nainstalován.")));

    QTemporaryDir bin;
    for (const QString& name : {QStringLiteral("xcalc"), QStringLiteral("kcalc")}) {
        QFile program(bin.filePath(name));
        ASSERT_TRUE(program.open(QIODevice::WriteOnly));
        program.write("#!/bin/sh\n");
        program.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    }
    EXPECT_EQ(core::calculator::find({bin.path()}), bin.filePath(QStringLiteral("kcalc")));
}
