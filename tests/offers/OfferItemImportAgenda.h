#pragma once

#include "catalogue/CatalogueAgenda.h"
#include "offers/NoItemEditor.h"
#include "offers/OfferCardLogic.h"
#include "offers/OfferItemImport.h"
#include "support/TestContext.h"

#include <QStringList>

#include <memory>

namespace orvento::testsupport {

// An agenda with a small catalogue and an open new offer card, for adding items by keys.
class OfferItemImportAgenda : public CatalogueAgenda {
protected:
    void SetUp() override {
        CatalogueAgenda::SetUp();
        if (HasFatalFailure())
            return;
        clearOffersWithNewSeries();
        auto opened = offers::OfferCardLogic::open(test.context, core::OfferCardMode::New, 0);
        ASSERT_TRUE(opened);
        card = std::make_unique<offers::OfferCardLogic>(test.context, std::move(*opened), editor);
    }

    struct Keys {
        QString katalog;
        QString barCode;
        QString popis;
        double net = 0;
        bool chyba = false;
    };
    qint64 catalogueItem(const Keys& keys) {
        catalogue::ItemRecord item;
        item.Katalog = keys.katalog;
        item.BarCode = keys.barCode;
        item.Popis = keys.popis;
        item.TextMJ = QStringLiteral("ks");
        item.price.NakCena = keys.net / 2;
        item.price.PrCenaBDPH = keys.net;
        item.price.PrCenaSDPH = keys.net * 1.21;
        item.price.SazbaDPH = 21.0;
        item.Chyba = keys.chyba;
        return addItem(item);
    }

    // A fresh import over the card, as the dialog makes one each time it opens.
    std::unique_ptr<offers::OfferItemImport> import() {
        return std::make_unique<offers::OfferItemImport>(db(), ui, *card);
    }

    QStringList descriptions() const {
        QStringList texts;
        for (const offers::OfferItem& item : card->offer().items())
            texts << item.Popis;
        return texts;
    }

    TestContext test{ui};
    NoItemEditor editor;
    std::unique_ptr<offers::OfferCardLogic> card;
};

} // namespace orvento::testsupport
