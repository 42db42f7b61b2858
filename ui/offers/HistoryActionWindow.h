#pragma once

#include "offers/HistoryView.h"

#include <QDialog>

class QLabel;
class QStackedWidget;
class QTableWidget;

namespace orvento::core {
class AppContext;
}

namespace orvento::ui {

// frmHistoryAction: the history rows of one offer and the read-only preview of the selected one.
class HistoryActionWindow : public QDialog {
    Q_OBJECT
public:
    HistoryActionWindow(core::AppContext& context, qint64 offerId, QWidget* parent = nullptr);

    // "Historie akcí" for the offer, modally.
    static void showFor(core::AppContext& context, qint64 offerId, QWidget* parent);

    QTableWidget* list() const { return m_list; }
    QTableWidget* items() const { return m_items; }
    bool previewShown() const;
    bool purchaseSumsShown() const;
    QString previewCaption() const;

private:
    QWidget* buildPreviewPage();
    void showRows();
    void showPreview();
    void updatePurchaseSums();

    core::AppContext& m_context;
    offers::HistoryView m_view;
    QTableWidget* m_list;
    QStackedWidget* m_pages;
    QLabel* m_caption = nullptr;
    QLabel* m_popis = nullptr;
    QLabel* m_stav = nullptr;
    QLabel* m_vystaveno = nullptr;
    QLabel* m_platnost = nullptr;
    QLabel* m_vyrizeno = nullptr;
    QLabel* m_odberatel = nullptr;
    QLabel* m_celkemNC = nullptr;
    QLabel* m_zisk = nullptr;
    QLabel* m_celkemBDPH = nullptr;
    QLabel* m_celkem = nullptr;
    QLabel* m_celkemNCTitle = nullptr;
    QLabel* m_ziskTitle = nullptr;
    QTableWidget* m_items = nullptr;
};

} // namespace orvento::ui
