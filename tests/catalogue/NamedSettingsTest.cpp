#include "CatalogueAgenda.h"

#include "catalogue/NamedSettings.h"
#include "services/RecordRefresh.h"

using namespace orvento;
using namespace orvento::catalogue;
using Kind = testsupport::ScriptedInteraction::Kind;

namespace {

using NamedSettingsTest = testsupport::CatalogueAgenda;

qint64 addSetting(core::Database& db, int module, const QString& name) {
    NamedSetting s;
    s.IDModulu = module;
    s.Nazev = name;
    s.Hodnota = QStringLiteral("x");
    return insertNamedSetting(db, s).value_or(-1);
}

TEST_F(NamedSettingsTest, ChooserShowsOneModuleRenamesAndDeletesToTheNeighbour) {
    const qint64 a = addSetting(db(), SettingModule::PriceListOutput, QStringLiteral("Alfa"));
    const qint64 b = addSetting(db(), SettingModule::PriceListOutput, QStringLiteral("Beta"));
    addSetting(db(), 2, QStringLiteral("Cizí"));
    NamedSettingChooser chooser(db(), ui, SettingModule::PriceListOutput);
    ASSERT_TRUE(chooser.reload());
    ASSERT_EQ(chooser.rows().size(), 2u);
    EXPECT_EQ(chooser.current()->ID, a);

    EXPECT_EQ(chooser.rename(QStringLiteral("  ")), CardOutcome::StayOpen);
    EXPECT_TRUE(ui.saw(Kind::Information, QStringLiteral("Musíte zadat název.")));
    EXPECT_EQ(chooser.rename(QStringLiteral("Omega")), CardOutcome::Saved);
    EXPECT_EQ(chooser.current()->Nazev, QStringLiteral("Omega"));
    EXPECT_EQ(chooser.rows().back().ID, a); // in name order now

    ui.answer(false);
    EXPECT_FALSE(chooser.removeCurrent());
    ui.answer(true);
    EXPECT_TRUE(chooser.removeCurrent());
    EXPECT_TRUE(ui.saw(Kind::Question, QStringLiteral("Opravdu chcete vyjmout tento záznam ?")));
    ASSERT_EQ(chooser.rows().size(), 1u);
    EXPECT_EQ(chooser.current()->ID, b);
}

TEST_F(NamedSettingsTest, ASettingDeletedElsewhereGivesTheRefreshWarningAndASaveFailure) {
    const qint64 a = addSetting(db(), SettingModule::PriceListOutput, QStringLiteral("Alfa"));
    addSetting(db(), SettingModule::PriceListOutput, QStringLiteral("Beta"));
    NamedSettingChooser chooser(db(), ui, SettingModule::PriceListOutput);
    ASSERT_TRUE(chooser.reload());
    ASSERT_TRUE(db().execute(QStringLiteral("DELETE FROM Filtry WHERE ID = :ID"),
                             {{QStringLiteral("ID"), a}}));
    EXPECT_EQ(chooser.rename(QStringLiteral("Nové")), CardOutcome::SaveFailed);
    EXPECT_TRUE(ui.sawContaining(Kind::Error, QStringLiteral("metoda \"Execute\" selhala")));
    ASSERT_TRUE(db().execute(QStringLiteral("DELETE FROM Filtry")));
    ui.answer(true);
    EXPECT_FALSE(chooser.removeCurrent());
    EXPECT_TRUE(ui.saw(Kind::Warning, services::recordGoneMessage()));
}

} // namespace
