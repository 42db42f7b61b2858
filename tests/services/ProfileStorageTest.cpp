#include "services/GridLayouts.h"
#include "services/ProfileSession.h"
#include "services/ProfileStore.h"
#include "services/ProfileValues.h"
#include "services/UserDatabases.h"
#include "services/WindowPositions.h"

#include <QSqlQuery>

using namespace orvento;
using services::GridId;
using services::WindowId;
namespace profile = services::profile;

namespace {

QStringList fields(const services::GridLayout& layout) {
    QStringList names;
    for (const auto& c : layout.columns)
        names << c.field;
    return names;
}

QStringList defaultFields(GridId id) {
    const auto& def = services::gridDefinition(id);
    QStringList names;
    for (const auto& c : def.fixedColumns)
        names << c.field;
    for (const auto& c : def.available)
        names << c.field;
    return names;
}

QString layoutOf(std::initializer_list<std::pair<const char*, const char*>> rows) {
    QString text = QStringLiteral("\"FieldName\",\"Width\"\r\n");
    for (const auto& [field, width] : rows)
        text += QStringLiteral("\"%1\",\"%2\"\r\n")
                    .arg(QString::fromLatin1(field), QString::fromLatin1(width));
    return text;
}

class ProfileStorageTest : public testsupport::UserDatabases {
protected:
    void useProfile(const QString& name) { core::programState().user.konfigurace = name; }

    QString popis(core::Database& db, const char* table, int number) {
        return db
            .scalar(QStringLiteral("SELECT Popis FROM %1 WHERE IDHodnoty = :N AND Konfigurace = "
                                   ":K")
                        .arg(QLatin1String(table)),
                    {{QStringLiteral("N"), number},
                     {QStringLiteral("K"), core::programState().user.konfigurace}})
            .value_or(QVariant())
            .toString();
    }
};

TEST_F(ProfileStorageTest, ValuesAreKeptPerProfileWithTheirFixedDescriptions) {
    useProfile(QStringLiteral("A\"B"));
    EXPECT_EQ(profile::loadValue(profile::value::AddressBookSort), QString());
    EXPECT_TRUE(profile::saveValue(profile::value::AddressBookSort, QStringLiteral("ULICE")));
    EXPECT_TRUE(profile::saveValue(profile::value::AddressBookSort, QStringLiteral("MISTO")));
    EXPECT_TRUE(profile::saveValue(profile::value::PrintAfterNewOffer, QStringLiteral("0")));
    EXPECT_TRUE(profile::saveMemo(profile::memo::OfferItemsGrid, QStringLiteral("dlouhý text")));
    EXPECT_TRUE(profile::saveWindowValue(7, QStringLiteral("120")));
    EXPECT_EQ(profile::loadValue(profile::value::AddressBookSort), QStringLiteral("MISTO"));
    EXPECT_EQ(agenda().scalar(QStringLiteral("SELECT count(*) FROM Uzivatelske"))->toInt(), 2);
    EXPECT_EQ(popis(agenda(), "Uzivatelske", profile::value::AddressBookSort),
              QStringLiteral("Adresář - SortField"));
    EXPECT_EQ(popis(agenda(), "Uzivatelske", profile::value::PrintAfterNewOffer), QString());
    EXPECT_EQ(popis(agenda(), "UzivMemo", profile::memo::OfferItemsGrid),
              QStringLiteral("Nabídky položky - grid"));
    EXPECT_EQ(popis(global(), "Uzivatelske", 7), QStringLiteral("Seznam nabídek - Top"));
    EXPECT_EQ(profile::loadWindowValue(7), QStringLiteral("120"));
    EXPECT_EQ(profile::loadMemo(profile::memo::OfferItemsGrid), QStringLiteral("dlouhý text"));

    // Another profile, also the anonymous one, sees nothing of it.
    useProfile(QStringLiteral("A"));
    EXPECT_EQ(profile::loadValue(profile::value::AddressBookSort), QString());
    useProfile(QString());
    EXPECT_EQ(profile::loadMemo(profile::memo::OfferItemsGrid), QString());
}

TEST_F(ProfileStorageTest, TypedValuesFallBackWhenMissingOrUnreadable) {
    const std::pair<const char*, std::optional<bool>> bools[] = {
        {"-1", true},          {"0", false},         {"True", true},     {"false", false},
        {"5", true},           {" 0.0 ", false},     {"", std::nullopt}, {"ano", std::nullopt},
        {"nan", std::nullopt}, {"inf", std::nullopt}};
    for (const auto& [text, expected] : bools)
        EXPECT_EQ(profile::parseBool(QString::fromLatin1(text)), expected) << text;

    EXPECT_TRUE(profile::loadBool(profile::value::OfferLegendShown, true));
    EXPECT_FALSE(profile::loadBool(profile::value::HidePurchasePrices, false));
    profile::saveBool(profile::value::OfferLegendShown, false);
    EXPECT_EQ(profile::loadValue(profile::value::OfferLegendShown), QStringLiteral("0"));
    EXPECT_FALSE(profile::loadBool(profile::value::OfferLegendShown, true));
    profile::saveValue(profile::value::GroupPanelWidth, QStringLiteral("široký"));
    EXPECT_EQ(profile::loadInt(profile::value::GroupPanelWidth, 161), 161);
    profile::saveInt(profile::value::CurrentNote, -1001);
    EXPECT_EQ(profile::loadInt(profile::value::CurrentNote, 1), -1001);
}

TEST(GridLayoutBuilding, NewProfileGetsEveryGridInDefaultOrderWithItsSortMarker) {
    for (const GridId id : services::kAllGrids) {
        const auto& def = services::gridDefinition(id);
        const auto layout = services::buildGridLayout(id, QString(), def.defaultSortField);
        EXPECT_EQ(fields(layout), defaultFields(id)) << static_cast<int>(id);
        for (size_t i = 0; i < def.available.size(); ++i)
            EXPECT_EQ(layout.columns[i + def.fixedColumns.size()].width, def.available[i].width);
        if (def.defaultSortField.isEmpty()) {
            EXPECT_EQ(layout.sortColumn, -1);
        } else {
            ASSERT_GE(layout.sortColumn, 0);
            EXPECT_EQ(layout.columns[static_cast<size_t>(layout.sortColumn)].field.toUpper(),
                      def.defaultSortField);
        }
    }
    const auto items = services::buildGridLayout(GridId::OfferItems, QString(), QString());
    EXPECT_EQ(fields(items).mid(0, 4),
              QStringList({QStringLiteral("Empty1"), QStringLiteral("Empty2"),
                           QStringLiteral("Empty3"), QStringLiteral("Popis")}));
    EXPECT_TRUE(items.columns[0].fixed);
    EXPECT_EQ(items.columns[2].title, QStringLiteral("I"));
    EXPECT_EQ(items.columns[2].width, 16);
    EXPECT_EQ(services::gridDefinition(GridId::OfferItems).available.size(), 19u);
    EXPECT_EQ(services::gridDefinition(GridId::AddressBook).available.size(), 11u);
    EXPECT_EQ(services::gridDefinition(GridId::CatalogueItems).available.size(), 11u);
}

TEST(GridLayoutBuilding, SavedLayoutKeepsItsOrderDropsGoneColumnsAndAppendsNewOnes) {
    const auto layout = services::buildGridLayout(
        GridId::CatalogueGroups, layoutOf({{"Kod", "90"}, {"Smazany", "50"}, {"kod", "10"}}),
        QStringLiteral("Nazev"));
    EXPECT_EQ(fields(layout), QStringList({QStringLiteral("Kod"), QStringLiteral("Nazev")}));
    EXPECT_EQ(layout.columns[0].width, 90);
    EXPECT_EQ(layout.columns[1].width, 120);
    EXPECT_EQ(layout.columns[1].title, QStringLiteral("Název"));
    EXPECT_EQ(layout.sortColumn, 1);

    // A width that is no number takes the default; damaged text gives the default layout.
    const auto odd = services::buildGridLayout(GridId::CatalogueGroups,
                                               layoutOf({{"Nazev", "široký"}}), QString());
    EXPECT_EQ(odd.columns[0].width, 120);
    for (const QString& damaged :
         {QStringLiteral("\"FieldName\",\"Width\"\r\n\"Kod"),
          QStringLiteral("\"Sloupec\"\r\n\"Kod\"\r\n"), QStringLiteral("úplný nesmysl")}) {
        const auto fallback = services::buildGridLayout(GridId::CatalogueGroups, damaged, {});
        EXPECT_EQ(fields(fallback), defaultFields(GridId::CatalogueGroups))
            << damaged.toStdString();
    }
}

TEST(GridLayoutBuilding, SortFieldMatchesIgnoringCaseOrIsCleared) {
    const auto matched =
        services::buildGridLayout(GridId::OfferList, {}, QStringLiteral("adrnazev"));
    EXPECT_EQ(matched.sortColumn, 1);
    EXPECT_EQ(matched.sortField, QStringLiteral("adrnazev"));
    const auto cleared =
        services::buildGridLayout(GridId::OfferList, {}, QStringLiteral("ZRUSENO"));
    EXPECT_EQ(cleared.sortColumn, -1);
    EXPECT_TRUE(cleared.sortField.isEmpty());
}

TEST(GridLayoutBuilding, OfferItemsAreSavedFromTheThirdFixedColumn) {
    auto layout = services::buildGridLayout(GridId::OfferItems, {}, {});
    std::swap(layout.columns[3], layout.columns[4]); // Katalog before Popis
    layout.columns[4].width = 300;
    const QString text = services::layoutText(GridId::OfferItems, services::savedColumns(layout));
    EXPECT_TRUE(text.contains(QStringLiteral("\"FieldName\",\"Width\"\r\n\"Empty3\",\"16\"\r\n"
                                             "\"Katalog\",\"124\"\r\n\"Popis\",\"300\"\r\n")));
    EXPECT_FALSE(text.contains(QStringLiteral("Empty1")));
    const auto back = services::buildGridLayout(GridId::OfferItems, text, {});
    EXPECT_EQ(fields(back), fields(layout));
    EXPECT_EQ(back.columns[4].width, 300);
}

TEST_F(ProfileStorageTest, SessionLoadsAndSavesLayoutsSharedByUsersOfOneProfile) {
    useProfile(QStringLiteral("SPOLECNY"));
    services::ProfileSession first;
    first.loadGridLayouts();
    auto columns = services::savedColumns(first.gridLayout(GridId::AddressBook));
    std::rotate(columns.begin(), columns.begin() + 2, columns.end()); // Misto first
    columns.front().width = 222;
    first.rememberColumns(GridId::AddressBook, columns);
    first.setSortField(GridId::AddressBook, QStringLiteral("MISTO"));
    first.setSortField(GridId::CatalogueItems, QStringLiteral("NEEXISTUJE"));
    first.saveGridLayouts();
    EXPECT_EQ(profile::loadValue(profile::value::AddressBookSort), QStringLiteral("MISTO"));
    EXPECT_EQ(profile::loadValue(profile::value::CatalogueItemsSort), QString()); // cleared
    EXPECT_EQ(profile::loadValue(profile::value::OfferListSort), QStringLiteral("DOKLAD"));

    // A second user with the same profile name sees the same.
    useProfile(QStringLiteral("SPOLECNY"));
    services::ProfileSession second;
    second.loadGridLayouts();
    const auto& book = second.gridLayout(GridId::AddressBook);
    EXPECT_EQ(book.columns[0].field, QStringLiteral("Misto"));
    EXPECT_EQ(book.columns[0].width, 222);
    EXPECT_EQ(book.sortColumn, 0);
    EXPECT_EQ(second.sortField(GridId::CatalogueItems), QStringLiteral("POPIS")); // default again

    useProfile(QStringLiteral("JINY"));
    services::ProfileSession other;
    other.loadGridLayouts();
    EXPECT_EQ(fields(other.gridLayout(GridId::AddressBook)), defaultFields(GridId::AddressBook));
}

TEST_F(ProfileStorageTest, WindowPlacementsRoundTripAndToleratePartialValues) {
    services::WindowPlacement none = services::loadWindowPlacement(WindowId::AddressBook);
    EXPECT_EQ(none, services::WindowPlacement{});
    EXPECT_TRUE(none.maximised);

    services::WindowPlacement p{10, 20, 300, 400, false};
    services::saveWindowPlacement(WindowId::AddressBook, p);
    EXPECT_EQ(services::loadWindowPlacement(WindowId::AddressBook), p);
    EXPECT_EQ(profile::loadWindowValue(15), QStringLiteral("0"));
    EXPECT_EQ(profile::loadWindowValue(11), QStringLiteral("10"));
    EXPECT_EQ(services::loadWindowPlacement(WindowId::Catalogue), services::WindowPlacement{});

    profile::saveWindowValue(1, QStringLiteral("vlevo"));
    profile::saveWindowValue(4, QStringLiteral("800"));
    profile::saveWindowValue(5, QStringLiteral("False"));
    const auto card = services::loadWindowPlacement(WindowId::OfferCard);
    EXPECT_FALSE(card.left.has_value());
    EXPECT_EQ(card.width, 800);
    EXPECT_FALSE(card.maximised);
}

// Closing writes all twenty window values with their descriptions, whether or not a window was
// opened in this run: a window never opened keeps the values it had, or its design geometry.
TEST_F(ProfileStorageTest, ClosingWritesAllFiveValuesOfAllFourWindows) {
    profile::saveWindowValue(14, QStringLiteral("777")); // the address book's width only
    services::ProfileSession session;
    session.loadWindowPlacements();
    session.saveWindowPlacements();
    QSqlQuery rows = core::programState().db->global.select(
        QStringLiteral("SELECT IDHodnoty, Popis, Hodnota FROM Uzivatelske ORDER BY IDHodnoty"));
    int count = 0;
    while (rows.next()) {
        ++count;
        const int number = rows.value(0).toInt();
        EXPECT_EQ(rows.value(1).toString(), profile::windowValueDescription(number)) << number;
        EXPECT_FALSE(rows.value(2).toString().isEmpty()) << number;
    }
    EXPECT_EQ(count, 20);
    const auto design = services::designPlacement(WindowId::AddressBook);
    const auto book = services::loadWindowPlacement(WindowId::AddressBook);
    EXPECT_EQ(book.width, 777);
    EXPECT_EQ(book.left, design.left);
    EXPECT_EQ(book.height, design.height);
    EXPECT_EQ(services::loadWindowPlacement(WindowId::Catalogue),
              services::designPlacement(WindowId::Catalogue));
}

TEST_F(ProfileStorageTest, SessionAsksLiveWindowsBeforeSavingAndForgetsClosedOnes) {
    services::ProfileSession session;
    session.loadWindowPlacements();
    int asked = 0;
    {
        auto registration = session.addCollector([&] {
            ++asked;
            session.rememberPlacement(WindowId::OfferList, {1, 2, 3, 4, true});
        });
        session.saveWindowPlacements();
        EXPECT_EQ(asked, 1);
    }
    session.saveWindowPlacements();
    EXPECT_EQ(asked, 1);
    const auto saved = services::loadWindowPlacement(WindowId::OfferList);
    EXPECT_EQ(saved, (services::WindowPlacement{1, 2, 3, 4, true}));
    EXPECT_EQ(profile::loadWindowValue(10), QStringLiteral("-1"));

    // A registration may outlive its session.
    auto late = std::make_unique<services::ProfileSession>();
    auto registration = late->addCollector([] {});
    late.reset();
}

} // namespace
