#pragma once

#include "catalogue/ItemRecord.h"
#include "catalogue/PriceLevelRecords.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "support/OpenAgenda.h"
#include "support/ScriptedInteraction.h"
#include "support/TestEnvironment.h"

#include <QDir>

#include <gtest/gtest.h>

namespace orvento::testsupport {

// An empty agenda open as the program's agenda, with helpers that store levels, groups and items
// the way their cards would.
class CatalogueAgenda : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(openTestAgenda(env, QStringLiteral("0001.res"), QStringLiteral("Firma1")));
        ASSERT_TRUE(QDir().mkpath(core::programState().folders.lock));
        ASSERT_TRUE(db().execute(
            QStringLiteral("INSERT INTO Sklady (Nazev, Poradi) VALUES (:Nazev, :Poradi)"),
            {{QStringLiteral("Nazev"), QStringLiteral("List 1")}, {QStringLiteral("Poradi"), 1}}));
        sheet = db().newRowId();
        ASSERT_TRUE(db().execute(QStringLiteral("INSERT INTO Skupiny (Sklad, Nazev, Zakladni) "
                                                "VALUES (:Sklad, :Nazev, :Zakladni)"),
                                 {{QStringLiteral("Sklad"), sheet},
                                  {QStringLiteral("Nazev"), QStringLiteral("# Nezařazeno #")},
                                  {QStringLiteral("Zakladni"), true}}));
        basicGroup = db().newRowId();
    }

    static core::Database& db() { return core::programState().db->agenda; }

    qint64 addLevel(const QString& code, catalogue::LevelParameters values) {
        catalogue::PriceLevel level;
        level.Zkratka = code;
        level.Popis = code;
        level.values = values;
        EXPECT_TRUE(catalogue::priceLevelMapping().insert(db(), level));
        return db().newRowId();
    }
    qint64 addGroup(const QString& code, bool vlastni = true) {
        catalogue::PriceGroup group;
        group.Zkratka = code;
        group.Vlastni = vlastni;
        EXPECT_TRUE(catalogue::priceGroupMapping().insert(db(), group));
        return db().newRowId();
    }
    qint64 addRow(qint64 group, const QString& code, catalogue::LevelParameters values,
                  bool prevzato) {
        catalogue::GroupLevelRow row;
        row.IDCenSkup = group;
        row.Zkratka = code;
        row.values = values;
        row.Prevzato = prevzato;
        EXPECT_TRUE(catalogue::groupLevelRowMapping().insert(db(), row));
        return db().newRowId();
    }
    qint64 addItem(catalogue::ItemRecord item) {
        item.Sklad = sheet;
        item.Skupina = basicGroup;
        EXPECT_TRUE(catalogue::zasobyMapping().insert(db(), item))
            << db().lastError().toStdString();
        return db().newRowId();
    }
    QVariant value(const QString& sql, const core::SqlParams& params = {}) {
        return db().scalar(sql, params).value_or(QVariant());
    }

    TestEnvironment env;
    ScriptedInteraction ui;
    qint64 sheet = 0;
    qint64 basicGroup = 0;

    // No offers, items, documents or history, and the "NB" series starting at 1: where the offer
    // tests begin.
    void clearOffersWithNewSeries() {
        for (const char* table : {"Nabidky", "NabPolozky", "DokumentyNab", "Akce", "CisRady"})
            ASSERT_TRUE(db().execute(QStringLiteral("DELETE FROM ") + QString::fromLatin1(table)));
        ASSERT_TRUE(db().execute(
            QStringLiteral("INSERT INTO CisRady (PrefixOzn, Cislo, PocetMist, ModulOzn) VALUES "
                           "('NB', 1, 5, 'NB')")));
    }
};

inline catalogue::LevelParameters computed(int type, double percent, int base = 0, int zaok = 0) {
    catalogue::LevelParameters v;
    v.TypHodnoty = type;
    v.Hodnota = percent;
    v.VychCena = base;
    v.Zaok = zaok;
    v.Prepocitat = true;
    return v;
}

inline catalogue::LevelParameters fixedLevel(bool sdph = false, int zaok = 0) {
    catalogue::LevelParameters v;
    v.Prepocitat = false;
    v.SDPH = sdph;
    v.Zaok = zaok;
    return v;
}

} // namespace orvento::testsupport
