#include "offers/OfferItemImportAgenda.h"

#include "core/ProgramState.h"
#include "offers/OfferItemImportSettings.h"

#include <QLocale>

#include <gtest/gtest.h>

using namespace orvento;
using offers::ItemImportKey;
using offers::ItemImportSource;
using Kind = testsupport::ScriptedInteraction::Kind;

namespace {

class OfferItemImportTest : public testsupport::OfferItemImportAgenda {
protected:
    void SetUp() override {
        OfferItemImportAgenda::SetUp();
        if (HasFatalFailure())
            return;
        cable = catalogueItem({QStringLiteral("KAB-01"), QStringLiteral("8594001234567"),
                               QStringLiteral("Kabel CYKY"), 100.0});
        socket = catalogueItem(
            {QStringLiteral("ZÁS-ŽLUTÁ"), QString(), QStringLiteral("Zásuvka"), 50.0});
        catalogueItem({QStringLiteral("DVA"), QString(), QStringLiteral("Jistič A"), 10.0});
        catalogueItem({QStringLiteral("dva "), QString(), QStringLiteral("Jistič B"), 10.0});
        catalogueItem(
            {QStringLiteral("NEDO"), QString(), QStringLiteral("Nedopočítaná"), 10.0, true});
    }

    // Clipboard keys in column 1 and quantities in column 2, with a title line.
    static offers::ItemImportSettings clipboard(bool defaultCount = false) {
        offers::ItemImportSettings s;
        s.source = ItemImportSource::Clipboard;
        s.key = ItemImportKey::Katalog;
        s.titlesInFirstRow = true;
        s.keyColumn = QStringLiteral("1");
        s.countColumn = QStringLiteral("2");
        s.defaultCount = defaultCount;
        return s;
    }

    bool run(const offers::ItemImportSettings& settings, const QString& text) {
        auto logic = import();
        logic->settings() = settings;
        return logic->accept(text);
    }

    qint64 cable = 0;
    qint64 socket = 0;
};

TEST_F(OfferItemImportTest, ClipboardColumnsAddItemsInTheirOrderAfterTheCurrentItem) {
    // Copied from a spreadsheet: a title line, keys in another letter case and with blanks
    // around, quantities with a decimal comma or point, and the line break at the end.
    ASSERT_TRUE(
        run(clipboard(), QStringLiteral("Klíč\tPočet\r\nkab-01\t3\r\n záS-žlutá \t2,5\r\n")));
    EXPECT_TRUE(ui.texts(Kind::Problems).isEmpty()) << ui.problemLines().join('\n').toStdString();
    ASSERT_EQ(descriptions(), (QStringList{"Kabel CYKY", "Zásuvka"}));
    const auto& items = card->offer().items();
    EXPECT_EQ(items[0].CisloKarty, cable);
    EXPECT_DOUBLE_EQ(items[0].PocetMJ, 3.0);
    EXPECT_DOUBLE_EQ(items[1].PocetMJ, 2.5);
    EXPECT_EQ(items[1].MJ, QStringLiteral("ks"));
    EXPECT_DOUBLE_EQ(card->offer().totals().totalNet, 3 * 100.0 + 2.5 * 50.0);
    EXPECT_TRUE(card->changed());

    // With the first item current, the next keys come after it, in the order they were copied.
    card->setCurrent(0);
    ASSERT_TRUE(run(clipboard(), QStringLiteral("K\tP\nZÁS-ŽLUTÁ\t1.5\nKAB-01\t1 000\n")));
    EXPECT_EQ(descriptions(), (QStringList{"Kabel CYKY", "Zásuvka", "Kabel CYKY", "Zásuvka"}));
    EXPECT_DOUBLE_EQ(items[1].PocetMJ, 1.5);
    EXPECT_DOUBLE_EQ(items[2].PocetMJ, 1000.0);
    for (std::size_t i = 0; i < items.size(); ++i)
        EXPECT_EQ(items[i].Poradi, static_cast<int>(i) + 1);
    EXPECT_DOUBLE_EQ(card->offer().totals().totalNet,
                     3 * 100.0 + 1.5 * 50.0 + 1000 * 100.0 + 2.5 * 50.0);
    EXPECT_DOUBLE_EQ(card->offer().header().CelkemBDPH, card->offer().totals().celkemBDPH);
}

TEST_F(OfferItemImportTest, RecordsThatCannotBeAddedAreListedInTheirOrderAndTheRestAdded) {
    const QString text = QStringLiteral("Klíč\tPočet\n"
                                        "dva\t1\n"              // two items share it
                                        "KAB-01\t0\n"           // nothing to add
                                        "KAB-01\t-2\n"          // negative
                                        "\t4\n"                 // no key
                                        "NIC\t1\n"              // not in the catalogue
                                        "x\" OR \"1\"=\"1\t1\n" // pasted into SQL: every item
                                        "Popis\t1\n"            // a column's name
                                        "%\t1\n"                // a pattern of LIKE
                                        "NEDO\t1\n"             // unfinished item
                                        "ZÁS-ŽLUTÁ\t2\n");      // the one to add
    ASSERT_TRUE(run(clipboard(), text));
    EXPECT_EQ(descriptions(), QStringList{QStringLiteral("Zásuvka")});
    EXPECT_TRUE(ui.saw(Kind::Problems, offers::OfferItemImport::problemHeading()));
    const QStringList expected{
        "• záznam č. 1 - podle spojovacího klíče \"dva\" bylo v ceníku nalezeno více položek",
        "• záznam č. 2 - počet m.j. je nulový nebo záporný",
        "• záznam č. 3 - počet m.j. je nulový nebo záporný",
        "• záznam č. 4 - spojovací klíč je prázdný",
        "• záznam č. 5 - podle spojovacího klíče \"NIC\" nebyla nalezena žádná položka v ceníku",
        "• záznam č. 6 - podle spojovacího klíče \"x\" OR \"1\"=\"1\" nebyla nalezena žádná "
        "položka v ceníku",
        "• záznam č. 7 - podle spojovacího klíče \"Popis\" nebyla nalezena žádná položka v ceníku",
        "• záznam č. 8 - podle spojovacího klíče \"%\" nebyla nalezena žádná položka v ceníku",
        "• záznam č. 9 - Položku nelze použít - opravte položku otevřením a přeuložením nebo "
        "proveďte přepočet cen.",
    };
    EXPECT_EQ(ui.problemLines(), expected);
}

TEST_F(OfferItemImportTest, KeysAreLookedUpInTheChosenColumnOnly) {
    offers::ItemImportSettings s = clipboard(true);
    s.titlesInFirstRow = false;
    s.key = ItemImportKey::BarCode;
    // The catalogue number is no bar code; the bar code finds the cable.
    ASSERT_TRUE(run(s, QStringLiteral("KAB-01\n8594001234567")));
    EXPECT_EQ(descriptions(), QStringList{QStringLiteral("Kabel CYKY")});
    EXPECT_EQ(ui.problemLines().size(), 1);
    ui.clear();
    // In the description column "Popis" is just a text no item has.
    s.key = ItemImportKey::Popis;
    ASSERT_TRUE(run(s, QStringLiteral("Popis\nzásuvka")));
    EXPECT_EQ(descriptions(), (QStringList{"Kabel CYKY", "Zásuvka"}));
    EXPECT_EQ(ui.problemLines().size(), 1);
}

TEST_F(OfferItemImportTest, QuantitiesReadTheSameWhateverTheLocale) {
    for (const QLocale::Language language : {QLocale::Czech, QLocale::English, QLocale::German}) {
        QLocale::setDefault(QLocale(language));
        ASSERT_TRUE(run(clipboard(), QStringLiteral("K\tP\nKAB-01\t1.5\nKAB-01\t2,5\n"
                                                    "KAB-01\t1 000,25\n")));
    }
    QLocale::setDefault(QLocale::c());
    ASSERT_EQ(card->itemCount(), 9);
    for (std::size_t i = 0; i < 9; i += 3) {
        EXPECT_DOUBLE_EQ(card->offer().items()[i].PocetMJ, 1.5);
        EXPECT_DOUBLE_EQ(card->offer().items()[i + 1].PocetMJ, 2.5);
        EXPECT_DOUBLE_EQ(card->offer().items()[i + 2].PocetMJ, 1000.25);
    }
}

TEST_F(OfferItemImportTest, TheDefaultQuantityIgnoresTheQuantityColumn) {
    // The quantity column holds no numbers and is not even a valid column: it is not read.
    offers::ItemImportSettings s = clipboard(true);
    s.countColumn = QStringLiteral("abc");
    ASSERT_TRUE(run(s, QStringLiteral("K\tP\nKAB-01\tmnoho\nZÁS-ŽLUTÁ\t7\n")));
    ASSERT_EQ(card->itemCount(), 2);
    EXPECT_DOUBLE_EQ(card->offer().items()[0].PocetMJ, 1.0);
    EXPECT_DOUBLE_EQ(card->offer().items()[1].PocetMJ, 1.0);
}

TEST_F(OfferItemImportTest, SettingsAreCheckedInOrderAndKeepTheDialogOpen) {
    const auto refused = [&](const offers::ItemImportSettings& s, const QString& text,
                             const QString& message) {
        ui.clear();
        EXPECT_FALSE(run(s, text)) << message.toStdString();
        EXPECT_EQ(ui.texts(Kind::Error), QStringList{message});
        EXPECT_EQ(card->itemCount(), 0);
    };
    offers::ItemImportSettings file = clipboard();
    file.source = ItemImportSource::Workbook;
    file.fileName.clear();
    refused(file, {}, QStringLiteral("Zadejte název zdrojového souboru."));
    file.fileName = QStringLiteral("/nikde/ceník.xls");
    refused(file, {}, QStringLiteral("Zdrojový soubor \"/nikde/ceník.xls\" nebyl nalezen."));

    offers::ItemImportSettings s = clipboard();
    const QString data = QStringLiteral("K\tP\nKAB-01\t1\n");
    s.countColumn.clear();
    refused(s, data, QStringLiteral("Určete všechna přiřazení sloupců ve zdroji dat."));
    s.countColumn = QStringLiteral("2");
    s.keyColumn = QStringLiteral("abc");
    refused(s, data, QStringLiteral("Sloupec ve zdroji dat musí být číslo."));
    s.keyColumn = QStringLiteral("1,5");
    refused(s, data, QStringLiteral("Sloupec ve zdroji dat musí být číslo."));
    s.keyColumn = QStringLiteral("0");
    refused(s, data, QStringLiteral("Sloupec ve zdroji dat musí být číslo větší než nula."));
    s.keyColumn = QStringLiteral("1");
    s.countColumn = QStringLiteral("-2");
    refused(s, data, QStringLiteral("Sloupec ve zdroji dat musí být číslo větší než nula."));
}

TEST_F(OfferItemImportTest, AReadingErrorAddsNothingAtAll) {
    const QString noData = QStringLiteral("Schránka neobsahuje požadovaná data.");
    const auto refused = [&](const QString& text, const QString& message) {
        ui.clear();
        EXPECT_FALSE(run(clipboard(), text));
        EXPECT_EQ(ui.texts(Kind::Error), QStringList{message});
        EXPECT_EQ(card->itemCount(), 0);
    };
    // The good first line is not added when a later quantity cannot be read.
    refused(QStringLiteral("K\tP\nKAB-01\t2\nZÁS-ŽLUTÁ\tdva kusy\n"),
            QStringLiteral("Chyba ve zdroji na řádku 3: hodnotu \"dva kusy\" nelze konvertovat "
                           "na počet mj."));
    refused(QStringLiteral("K\tP\nKAB-01\n"),
            QStringLiteral("Chyba ve zdroji na řádku 2: hodnotu \"\" nelze konvertovat na počet "
                           "mj."));
    refused(QStringLiteral("Klíč\tPočet\n"), noData);
    refused(QString(), noData);
    refused(QStringLiteral(" \n\t\n"), noData);
}

TEST_F(OfferItemImportTest, AColumnBeyondTheLineAndAVeryLongKeyFindNothing) {
    offers::ItemImportSettings s = clipboard(true);
    s.keyColumn = QStringLiteral("99");
    ASSERT_TRUE(run(s, QStringLiteral("K\nKAB-01\n")));
    EXPECT_EQ(ui.problemLines(), QStringList{"• záznam č. 1 - spojovací klíč je prázdný"});
    ui.clear();
    s.keyColumn = QStringLiteral("1");
    ASSERT_TRUE(run(s, QStringLiteral("K\n") + QString(10000, QLatin1Char('K'))));
    ASSERT_EQ(ui.problemLines().size(), 1);
    EXPECT_TRUE(ui.problemLines().front().contains(QString(255, QLatin1Char('K')) + '"'));
    EXPECT_EQ(card->itemCount(), 0);
}

TEST_F(OfferItemImportTest, TheSettingsAreRememberedAfterASuccessfulRead) {
    offers::ItemImportSettings s = clipboard();
    s.key = ItemImportKey::Zkratka;
    s.keyColumn = QStringLiteral("3");
    s.countColumn = QStringLiteral("1");
    s.titlesInFirstRow = false;
    ASSERT_TRUE(run(s, QStringLiteral("1\tx\tnic\n")));
    const offers::ItemImportSettings stored = offers::ItemImportSettings::load();
    EXPECT_EQ(stored.source, ItemImportSource::Clipboard);
    EXPECT_EQ(stored.key, ItemImportKey::Zkratka);
    EXPECT_EQ(stored.keyColumn, QStringLiteral("3"));
    EXPECT_EQ(stored.countColumn, QStringLiteral("1"));
    EXPECT_FALSE(stored.titlesInFirstRow);
    EXPECT_FALSE(stored.defaultCount);
    // A failed read keeps the choices made before.
    s.keyColumn = QStringLiteral("2");
    EXPECT_FALSE(run(s, QString()));
    EXPECT_EQ(offers::ItemImportSettings::load().keyColumn, QStringLiteral("3"));
}

TEST_F(OfferItemImportTest, WithoutTheCatalogueRightTheCommandDoesNothing) {
    core::programState().user.cenik = core::AccessLevel::Denied;
    EXPECT_FALSE(offers::OfferItemImport::mayStart(ui));
    EXPECT_TRUE(ui.saw(Kind::Information, core::noRightsMessage()) ||
                ui.saw(Kind::Warning, core::noRightsMessage()));
    core::programState().user.cenik = core::AccessLevel::ReadOnly;
    ui.clear();
    EXPECT_TRUE(offers::OfferItemImport::mayStart(ui));
    EXPECT_TRUE(ui.messages().empty());
    core::programState().user.cenik = core::AccessLevel::Full;
}

} // namespace
