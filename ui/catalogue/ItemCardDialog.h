#pragma once

#include "catalogue/ItemCard.h"
#include "ui/CardWidgets.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class QTableWidget;

namespace orvento::core {
class ProgramEvents;
}

namespace orvento::ui {

// frmKartaZasoby "Položka ceníku": the fields of one catalogue item, bound to the card's logic.
class ItemCardDialog : public QDialog {
    Q_OBJECT
public:
    // Ctrl+Q is told to the other windows through `events`, and the card follows theirs.
    ItemCardDialog(orvento::catalogue::ItemCard& card, core::UserInteraction& ui,
                   QWidget* parent = nullptr, core::ProgramEvents* events = nullptr);

    // The one entry point of the catalogue window ("Přidat" ▸ "Položku", "Opravit",
    // "Kopírovat"): opens the card for a new item, the item `itemId` or a copy of it; new items
    // and copies go into `sheetId` and `groupId` (0: the sheet's basic group). The saved item's
    // ID, or nothing when the card was closed without saving or did not open.
    static std::optional<qint64> open(core::UserInteraction& ui, core::ProgramEvents* events,
                                      orvento::catalogue::ItemCardMode mode, qint64 itemId,
                                      qint64 sheetId, qint64 groupId, QWidget* parent);

    void accept() override;
    NumberField* purchaseField() const { return m_purchase; }
    NumberField* priceField() const { return m_price; }
    NumberField* marginField() const { return m_margin; }
    NumberField* rabatField() const { return m_rabat; }
    NumberField* countField() const { return m_count; }
    QLineEdit* descriptionField() const { return m_popis; }
    QTableWidget* levelGrid() const { return m_levelGrid; }

private:
    void buildTexts(QWidget* page);
    QWidget* buildPrices();
    QGroupBox* buildBasicPrices(QWidget* page);
    void connectBasicPrices(QPushButton* again);
    QGroupBox* buildLevels(QWidget* page);
    QGroupBox* buildProfitCalculator(QWidget* page);
    QWidget* buildPicture();
    void fillTexts();
    void readTexts();
    void showPrices();
    void showLevels();
    void showProfit();
    void showPurchasePrices(bool visible);
    void showPicture();
    void togglePicture();
    // "..." and F3 at "Identifikátory": the identifier editor on the item's list.
    void editIdentifiers();
    void editLevelRow(int row);
    void chooseGroup();

    orvento::catalogue::ItemCard& m_card;
    core::UserInteraction& m_ui;
    core::ProgramEvents* m_events;
    QLineEdit* m_popis;
    QLineEdit* m_katalog;
    QLineEdit* m_barCode;
    QLineEdit* m_plu;
    QLineEdit* m_zkratka;
    QLineEdit* m_textMJ;
    QLineEdit* m_identif;
    QComboBox* m_availability;
    QPlainTextEdit* m_note;
    NumberField* m_purchase;
    QComboBox* m_rate;
    NumberField* m_price;
    QComboBox* m_priceType;
    QLineEdit* m_secondPrice;
    QLabel* m_secondType;
    QComboBox* m_rounding;
    QCheckBox* m_recompute;
    QComboBox* m_valueType;
    NumberField* m_margin;
    NumberField* m_rabat;
    QLabel* m_actualMargin;
    QLabel* m_actualRabat;
    QLineEdit* m_group;
    QTableWidget* m_levelGrid;
    QLabel* m_noLevels;
    QWidget* m_levelPanel;
    NumberField* m_count;
    QLabel* m_profit;
    QLabel* m_levelProfit;
    QStackedWidget* m_pages;
    QPushButton* m_pictureButton;
    QLabel* m_picture;
    QLineEdit* m_pictureName;
    QPushButton* m_openPicture;
    QPushButton* m_clearPicture;
    QList<QWidget*> m_purchaseWidgets;
};

} // namespace orvento::ui
