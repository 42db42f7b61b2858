#include "catalogue/CatalogueAgenda.h"

#include "catalogue/ItemCard.h"
#include "catalogue/pricing/FieldPrecision.h"
#include "offers/OfferItemCard.h"
#include "support/ScriptedNavigator.h"
#include "ui/CardWidgets.h"
#include "ui/catalogue/ItemCardDialog.h"
#include "ui/offers/OfferItemCardDialog.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <functional>

using namespace orvento;
using ui::NumberField;

namespace {

// What a person types, and what each kind of field then holds.
struct Typing {
    QString keys;
    double at4;       // the value in a field of four decimals
    double at2;       // in a field of two, which takes no more decimals than it holds
    QString shownAt4; // the text after leaving the field
    QString shownAt2;
};

const Typing kTypings[] = {
    {QStringLiteral("25,5"), 25.5, 25.5, QStringLiteral("25,5000"), QStringLiteral("25,50")},
    {QStringLiteral("1 234,56"), 1234.56, 1234.56, QStringLiteral("1 234,5600"),
     QStringLiteral("1 234,56")},
    {QStringLiteral("0,0001"), 0.0001, 0.0, QStringLiteral("0,0001"), QStringLiteral("0,00")},
};

// A field takes the keys one by one; a key that would give more decimals than the field holds
// is refused. The text the field shows after each key, as the person expects it.
QString expectedWhileTyping(const QString& typedSoFar, int decimals) {
    QString shown;
    for (const QChar c : typedSoFar) {
        const QString next = shown + c;
        const auto comma = next.indexOf(QLatin1Char(','));
        if (comma >= 0 && next.size() - comma - 1 > decimals)
            continue;
        shown = next;
    }
    return shown;
}

QLineEdit* editOf(NumberField* field) {
    return field->findChild<QLineEdit*>();
}

// Brings the focus into the field as a person does, by a click or by Tab, and types the keys,
// checking after every key that the field shows what was typed. `follows` checks another
// field after the last key, before the field is left.
void typeInto(NumberField* field, const QString& keys, bool byTab,
              const std::function<void()>& follows = {}) {
    QLineEdit* edit = editOf(field);
    ASSERT_NE(edit, nullptr);
    if (byTab) {
        field->setFocus(Qt::TabFocusReason);
    } else {
        QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(4, edit->height() / 2));
        EXPECT_TRUE(field->hasFocus());
    }
    // The whole number is selected, so typing replaces it.
    EXPECT_EQ(edit->selectedText(), field->cleanText()) << field->objectName().toStdString();
    for (qsizetype i = 0; i < keys.size(); ++i) {
        QTest::keyClick(field, keys.at(i).toLatin1());
        EXPECT_EQ(edit->text(), field->prefix() +
                                    expectedWhileTyping(keys.left(i + 1), field->decimals()) +
                                    field->suffix())
            << field->objectName().toStdString() << " after " << keys.left(i + 1).toStdString();
    }
    if (follows)
        follows();
}

class NumberFieldTypingTest : public testsupport::CatalogueAgenda {
protected:
    void SetUp() override {
        CatalogueAgenda::SetUp();
        core::programState().settings.sazbaDphZakladni = 21.0;
        core::programState().settings.sazbaDphSnizena = 12.0;
        offer.header().SazDPHZakl = 21.0;
        offer.header().SazDPHSniz = 12.0;
    }
    static void showActive(QDialog& dialog) {
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    }

    offers::OfferWorkingCopy offer;
};

// Types into the field `name` of a shown card and confirms it: the typed text stays while
// typing, the field named `follower` follows the typed price at once, the field shows its format
// once left, and OK closes the card. The value the field should then hold, by its decimals.
double typeAndConfirm(QDialog& dialog, const char* name, const Typing& typing, bool byTab,
                      NumberField* price, const char* follower) {
    auto* field = dialog.findChild<NumberField*>(QString::fromLatin1(name));
    EXPECT_NE(field, nullptr);
    if (!field)
        return 0.0;
    const bool four = field->decimals() == catalogue::PriceFieldDecimals;
    typeInto(field, typing.keys, byTab, [&] {
        if (field != price)
            return;
        EXPECT_EQ(dialog.findChild<QLineEdit*>(QString::fromLatin1(follower))->text(),
                  ui::amount(catalogue::toFieldPrecision(typing.at4 * 1.21, 4), 4));
    });
    QTest::keyClick(field, Qt::Key_Tab);
    EXPECT_EQ(editOf(field)->text(),
              field->prefix() + (four ? typing.shownAt4 : typing.shownAt2) + field->suffix());
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("btnOK")), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    return four ? typing.at4 : typing.at2;
}

// Each number field of the catalogue item card, from a new item; OK stores what the field held
// (the profit count is the card's own).
TEST_F(NumberFieldTypingTest, ItemCardKeepsWhatIsTypedAndStoresIt) {
    using Stored = double (*)(const catalogue::ItemRecord&, const catalogue::ItemCard&);
    const std::pair<const char*, Stored> fields[] = {
        {"curNakCena",
         [](const auto& item, const auto&) {
             return item.price.NakCena;
         }},
        {"curPrCena",
         [](const auto& item, const auto&) {
             return item.price.PrCenaBDPH;
         }},
        {"curMarze",
         [](const auto& item, const auto&) {
             return item.price.Marze;
         }},
        {"curRabat",
         [](const auto& item, const auto&) {
             return item.price.Rabat;
         }},
        {"curPocet",
         [](const auto&, const auto& card) {
             return card.profitCount();
         }},
    };
    int round = 0;
    for (const Typing& typing : kTypings) {
        for (const auto& [name, stored] : fields) {
            SCOPED_TRACE(std::string(name) + " " + typing.keys.toStdString());
            catalogue::ItemCard card(db(), ui);
            ASSERT_TRUE(card.open(catalogue::ItemCardMode::New, -1, sheet, 0));
            ui::ItemCardDialog dialog(card, ui);
            dialog.descriptionField()->setText(QStringLiteral("Jistič B16"));
            showActive(dialog);
            const double expected = typeAndConfirm(dialog, name, typing, ++round % 2 == 0,
                                                   dialog.priceField(), "edtDruhaCena");
            const auto item = catalogue::readItem(db(), card.id());
            ASSERT_TRUE(item) << ui.allTexts().join(u'|').toStdString();
            EXPECT_DOUBLE_EQ(stored(*item, card), expected);
        }
    }
}

// The same for each number field of the offer item card; the item in the working copy holds the
// typed value after OK.
TEST_F(NumberFieldTypingTest, OfferItemCardKeepsWhatIsTypedAndStoresIt) {
    const std::pair<const char*, double offers::OfferItem::*> fields[] = {
        {"curNakCena", &offers::OfferItem::NakCena},
        {"curProdCena", &offers::OfferItem::ProdCena},
        {"curSleva", &offers::OfferItem::Sleva},
        {"curProdCenaPo", &offers::OfferItem::ProdCenaPo},
        {"curMarze", &offers::OfferItem::Marze},
        {"curRabat", &offers::OfferItem::Rabat},
        {"curPocetMJ", &offers::OfferItem::PocetMJ},
    };
    int round = 0;
    for (const Typing& typing : kTypings) {
        for (const auto& [name, member] : fields) {
            SCOPED_TRACE(std::string(name) + " " + typing.keys.toStdString());
            offers::OfferItemCard card(db(), ui, offer, {21.0, 12.0, 0});
            card.openNew(std::nullopt);
            testsupport::ScriptedNavigator navigator;
            ui::OfferItemCardDialog dialog(card, ui, navigator);
            dialog.descriptionField()->setText(QStringLiteral("Montáž rozvaděče"));
            showActive(dialog);
            const size_t before = offer.items().size();
            const double expected = typeAndConfirm(dialog, name, typing, ++round % 2 == 0,
                                                   dialog.priceField(), "curPCSDPHMJ");
            ASSERT_EQ(offer.items().size(), before + 1);
            EXPECT_DOUBLE_EQ(offer.items().back().*member, expected);
        }
    }
}

// A value the card puts into the field being typed in waits until the field is left, and is
// then shown in the field's format; meanwhile the field reports what is typed.
TEST_F(NumberFieldTypingTest, AValueForTheFieldBeingTypedWaitsUntilItIsLeft) {
    QDialog dialog;
    NumberField* field = ui::numberField("curCena", catalogue::StandardFieldDecimals, &dialog);
    NumberField* other = ui::numberField("curJina", catalogue::StandardFieldDecimals, &dialog);
    other->move(0, 40);
    QObject::connect(field, &QDoubleSpinBox::valueChanged, field, [field](double v) {
        // The card holds whole units and puts its own value back.
        field->display(std::round(v));
    });
    showActive(dialog);
    other->setFocus();
    typeInto(field, QStringLiteral("12,7"), false);
    EXPECT_TRUE(field->isBeingTyped());
    EXPECT_DOUBLE_EQ(field->value(), 12.7);
    QTest::keyClick(field, Qt::Key_Tab);
    EXPECT_FALSE(field->isBeingTyped());
    EXPECT_EQ(editOf(field)->text(), QStringLiteral("13,00"));
    EXPECT_DOUBLE_EQ(field->value(), 13.0);
    // A value put in while nobody types shows at once, without being reported back.
    int reported = 0;
    QObject::connect(field, &QDoubleSpinBox::valueChanged, field, [&reported] { ++reported; });
    field->display(1234.5);
    EXPECT_EQ(editOf(field)->text(), QStringLiteral("1 234,50"));
    EXPECT_EQ(reported, 0);
}

} // namespace
