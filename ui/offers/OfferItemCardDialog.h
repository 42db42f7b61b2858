#pragma once

#include "offers/OfferItemCard.h"
#include "ui/CardWidgets.h"

#include <QDialog>
#include <QList>

#include <utility>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QStackedWidget;

namespace orvento::core {
class Navigator;
class UserInteraction;
} // namespace orvento::core

namespace orvento::ui {

// frmPolozkaNab "Položka nabídky": one price item of an offer, bound to the card's logic. Every
// value the card computes is put into the fields with their signals blocked, so only what the
// person edits starts a recomputation.
class OfferItemCardDialog : public QDialog {
    Q_OBJECT
public:
    // `navigator` opens the identifier editor ("..." and F3 at "Identifikátory").
    OfferItemCardDialog(offers::OfferItemCard& card, core::UserInteraction& ui,
                        core::Navigator& navigator, QWidget* parent = nullptr);

    // What the offer card calls: the card opened as asked, shown, and the item written into the
    // working copy on OK. True when it was confirmed.
    static bool editNew(offers::OfferWorkingCopy& offer, std::optional<std::size_t> current,
                        core::UserInteraction& ui, core::Navigator& navigator, QWidget* parent);
    static bool editFromCatalogue(offers::OfferWorkingCopy& offer, qint64 catalogueId,
                                  std::optional<std::size_t> current, core::UserInteraction& ui,
                                  core::Navigator& navigator, QWidget* parent);
    static bool editExisting(offers::OfferWorkingCopy& offer, std::size_t index, bool copy,
                             core::UserInteraction& ui, core::Navigator& navigator,
                             QWidget* parent);

    // "..." or F3 at "Identifikátory": the item's identifiers through the identifier editor.
    void editIdentifiers();

    void accept() override;

    QLineEdit* descriptionField() const { return m_popis; }
    NumberField* purchaseField() const { return m_nakCena; }
    NumberField* priceField() const { return m_prodCena; }
    NumberField* discountField() const { return m_sleva; }
    NumberField* quantityField() const { return m_pocet; }
    QLineEdit* lineWithVatField() const { return m_lineGross; }

private:
    QWidget* buildItemPage();
    QGridLayout* buildItemTexts(QWidget* page);
    QGroupBox* buildItemPrices(QWidget* page);
    std::pair<QPushButton*, QPushButton*> createPriceFields(QGroupBox* prices);
    void layOutPrices(QGroupBox* prices, QPushButton* adjustPurchase, QPushButton* adjustSale);
    QGroupBox* buildPriceSummary(QWidget* page);
    QGridLayout* buildQuantity(QWidget* page);
    void connectItemFields();
    QWidget* buildPicturePage();
    void bindNumber(NumberField* box, void (offers::OfferItemCard::*setter)(double));
    void fillTexts();
    void readTexts();
    void showValues();
    void showPicture();
    void togglePicture();
    void adjustPrice(bool purchase);
    void applyPurchaseVisibility();

    offers::OfferItemCard& m_card;
    core::UserInteraction& m_ui;
    core::Navigator& m_navigator;
    QStackedWidget* m_pages = nullptr;
    QPushButton* m_pictureButton = nullptr;
    QLineEdit* m_popis = nullptr;
    QLineEdit* m_katalog = nullptr;
    QLineEdit* m_barCode = nullptr;
    QLineEdit* m_plu = nullptr;
    QLineEdit* m_zkratka = nullptr;
    QLineEdit* m_identif = nullptr;
    QPlainTextEdit* m_poznamka = nullptr;
    NumberField* m_nakCena = nullptr;
    NumberField* m_prodCena = nullptr;
    QComboBox* m_typCeny = nullptr;
    QComboBox* m_dph = nullptr;
    QLabel* m_slevaLabel = nullptr;
    NumberField* m_sleva = nullptr;
    NumberField* m_prodCenaPo = nullptr;
    NumberField* m_marze = nullptr;
    NumberField* m_rabat = nullptr;
    QComboBox* m_zaok = nullptr;
    QComboBox* m_level = nullptr;
    QLabel* m_levelMissing = nullptr;
    QLineEdit* m_ziskMJ = nullptr;
    QLineEdit* m_ziskPol = nullptr;
    QLineEdit* m_unitNet = nullptr;
    QLineEdit* m_unitGross = nullptr;
    QLineEdit* m_lineNet = nullptr;
    QLineEdit* m_lineGross = nullptr;
    NumberField* m_pocet = nullptr;
    QLineEdit* m_mj = nullptr;
    QSpinBox* m_poradi = nullptr;
    QCheckBox* m_nakladova = nullptr;
    QCheckBox* m_ignor = nullptr;
    QLabel* m_picture = nullptr;
    QList<QWidget*> m_purchaseWidgets;
};

} // namespace orvento::ui
