#include "CatalogueAgenda.h"

#include "catalogue/CatalogueItemsModel.h"
#include "catalogue/ItemFilter.h"

#include <algorithm>

using namespace orvento;
using namespace orvento::catalogue;

namespace {

class ItemFilterTest : public testsupport::CatalogueAgenda {
protected:
    void SetUp() override {
        CatalogueAgenda::SetUp();
        struct Row {
            const char* popis;
            const char* katalog;
            const char* group;
            const char* availability;
            const char* identif;
        };
        const Row rows[] = {
            {"abc", "K-1", "", "S", "_A_"},
            {"xabcx", "K-2", "VO", "", "_B_"},
            {"ABC", "k-1", "vo", "", "_AB_"},
            {"O'Brien", "K-4", "", "O", ""},
            {"Sleva 50%", "K-5", "", "", "_C_A_"},
            {"Sleva 500", "K-6", "", "", "_B_A_"},
            {"a_b", "K-7", "", "", ""},
            {"axb", "K-8", "", "", ""},
            {"ČAJ", "K*9", "", "", ""},
        };
        for (const Row& r : rows) {
            ItemRecord item;
            item.Popis = QString::fromUtf8(r.popis);
            item.Katalog = QString::fromUtf8(r.katalog);
            item.CenSkupina = QString::fromUtf8(r.group);
            item.Dostupnost = QString::fromUtf8(r.availability);
            item.Identif = QString::fromUtf8(r.identif);
            addItem(item);
        }
        // Older data may hold no value at all where today an empty text is written.
        EXPECT_TRUE(db().execute(QStringLiteral("UPDATE Zasoby SET Identif = NULL, Dostupnost = "
                                                "NULL WHERE Popis = :Popis"),
                                 {{QStringLiteral("Popis"), QStringLiteral("ČAJ")}}));
    }

    // The descriptions of the items the filter keeps, in the grid's order.
    QStringList kept(const ItemFilter& filter) {
        CatalogueItemsModel model(db());
        model.setFilter(itemFilterCondition(filter));
        EXPECT_TRUE(model.load(CatalogueItemsModel::Scope::Sheet, sheet, QStringLiteral("POPIS")))
            << db().lastError().toStdString();
        QStringList names;
        for (int row = 0; row < model.rowCount(); ++row)
            names << model.value(row, QStringLiteral("Popis")).toString();
        names.sort();
        return names;
    }
    static ItemFilter on() {
        ItemFilter f;
        f.active = true;
        return f;
    }
    static QStringList names(std::initializer_list<const char*> list) {
        QStringList out;
        for (const char* n : list)
            out << QString::fromUtf8(n);
        out.sort();
        return out;
    }
};

TEST_F(ItemFilterTest, DescriptionMatchesWholeOrInPartIgnoringCase) {
    ItemFilter f = on();
    f.byDescription = true;
    f.description = QStringLiteral("abc");
    EXPECT_EQ(kept(f), names({"abc", "ABC"}));
    f.descriptionPart = true;
    EXPECT_EQ(kept(f), names({"abc", "xabcx", "ABC"}));
    f.description = QStringLiteral("čaj");
    EXPECT_EQ(kept(f), names({"ČAJ"}));
    f.descriptionPart = false;
    EXPECT_EQ(kept(f), names({"ČAJ"}));
}

TEST_F(ItemFilterTest, TypedQuotesPercentUnderscoreAndAsteriskStandForThemselves) {
    ItemFilter f = on();
    f.byDescription = true;
    f.description = QStringLiteral("O'Brien");
    EXPECT_EQ(kept(f), names({"O'Brien"}));
    f.descriptionPart = true;
    f.description = QStringLiteral("50%");
    EXPECT_EQ(kept(f), names({"Sleva 50%"}));
    f.description = QStringLiteral("a_b");
    EXPECT_EQ(kept(f), names({"a_b"}));
    f.byDescription = false;
    f.byCatalogue = true;
    f.cataloguePart = true;
    f.catalogueNumber = QStringLiteral("*");
    EXPECT_EQ(kept(f), names({"ČAJ"}));
}

TEST_F(ItemFilterTest, ConditionsCombineWithAndAndIdentifiersWithOr) {
    ItemFilter f = on();
    f.byDescription = true;
    f.description = QStringLiteral("abc");
    f.descriptionPart = true;
    f.byCatalogue = true;
    f.catalogueNumber = QStringLiteral("K-1");
    EXPECT_EQ(kept(f), names({"abc", "ABC"}));

    // Description and two identifiers: the description holds together with either code.
    f.byCatalogue = false;
    f.description = QStringLiteral("e");
    f.byIdentifiers = true;
    f.identifiers = QStringLiteral("_A_B_");
    EXPECT_EQ(kept(f), names({"Sleva 50%", "Sleva 500"}));
    f.byDescription = false;
    EXPECT_EQ(kept(f), names({"abc", "xabcx", "Sleva 50%", "Sleva 500"}));
    // "A" is not a part of "AB".
    f.identifiers = QStringLiteral("_A_");
    EXPECT_EQ(kept(f), names({"abc", "Sleva 50%", "Sleva 500"}));
    // An empty list keeps the items without identifiers, stored empty or not at all.
    f.identifiers.clear();
    EXPECT_EQ(kept(f), names({"O'Brien", "a_b", "axb", "ČAJ"}));
}

TEST_F(ItemFilterTest, GroupAvailabilityAndTheSwitch) {
    ItemFilter f = on();
    f.byPriceGroup = true;
    f.priceGroup = QStringLiteral("VO");
    EXPECT_EQ(kept(f), names({"xabcx", "ABC"}));
    f.byPriceGroup = false;
    f.byAvailability = true;
    f.availability = 2; // "O - na objednávku"
    EXPECT_EQ(kept(f), names({"O'Brien"}));
    f.availability = 0; // "<neuvedeno>"
    EXPECT_EQ(kept(f), names({"xabcx", "ABC", "Sleva 50%", "Sleva 500", "a_b", "axb", "ČAJ"}));
    // On with nothing ticked keeps everything; off keeps everything whatever is ticked.
    const QStringList all = kept(ItemFilter{});
    EXPECT_EQ(all.size(), 9);
    EXPECT_EQ(kept(on()), all);
    f.active = false;
    EXPECT_EQ(kept(f), all);
}

TEST_F(ItemFilterTest, QuickFindKeepsToTheFilteredRows) {
    ItemFilter f = on();
    f.byIdentifiers = true;
    f.identifiers = QStringLiteral("_B_");
    CatalogueItemsModel model(db());
    model.setFilter(itemFilterCondition(f));
    ASSERT_TRUE(model.load(CatalogueItemsModel::Scope::Sheet, sheet, QStringLiteral("POPIS")));
    ASSERT_EQ(model.rowCount(), 2);
    // "abc" is not shown: the find goes to the first shown row starting with "a"... none.
    EXPECT_EQ(model.quickFind(QStringLiteral("ab")), std::nullopt);
    const auto found = model.quickFind(QStringLiteral("sle"));
    ASSERT_TRUE(found);
    EXPECT_EQ(model.value(*found, QStringLiteral("Popis")).toString(), QStringLiteral("Sleva 500"));
    ASSERT_TRUE(model.sortBy(QStringLiteral("Katalog")));
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_TRUE(model.quickFind(QStringLiteral("K-6")));
    EXPECT_EQ(model.quickFind(QStringLiteral("K-1")), std::nullopt);
}

TEST(ItemFilterEntries, PartWithAnEmptyTextIsRefusedOnlyWhileTheFilterIsOn) {
    ItemFilter f;
    f.byDescription = true;
    f.descriptionPart = true;
    EXPECT_EQ(f.problem(), std::nullopt);
    f.active = true;
    EXPECT_EQ(f.problem(), filterPartEmptyMessage());
    f.description = QStringLiteral("x");
    f.byCatalogue = true;
    f.cataloguePart = true;
    EXPECT_EQ(f.problem(), filterPartEmptyMessage());
    f.cataloguePart = false;
    EXPECT_EQ(f.problem(), std::nullopt);
}

} // namespace
