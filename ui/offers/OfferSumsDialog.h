#pragma once

#include "offers/OfferListLogic.h"

#include <QDialog>

class QComboBox;
class QLabel;

namespace orvento::ui {

// frmSoucetCen, "Součet cen": the count and totals of the summed offers, for all of them or for
// one state.
class OfferSumsDialog : public QDialog {
    Q_OBJECT
public:
    OfferSumsDialog(const offers::OfferSums& sums, bool profitShown, QWidget* parent = nullptr);

    QComboBox* scope() const { return m_scope; }
    QString shown(const QString& objectName) const;

private:
    void showSum();

    offers::OfferSums m_sums;
    QComboBox* m_scope;
    QLabel* m_count;
    QLabel* m_withoutVat;
    QLabel* m_withVat;
    QLabel* m_profit;
};

} // namespace orvento::ui
