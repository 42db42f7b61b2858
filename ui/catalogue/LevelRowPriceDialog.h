#pragma once

#include "catalogue/ItemLevelGrid.h"

#include <QDialog>

class QDoubleSpinBox;
class QLineEdit;

namespace orvento::core {
class UserInteraction;
}

namespace orvento::ui {

// frmCenaCenHlad "Cenová hladina": the prices of one level row of the item card; only a fixed
// row's first price can be typed.
class LevelRowPriceDialog : public QDialog {
    Q_OBJECT
public:
    LevelRowPriceDialog(orvento::catalogue::LevelRowPriceEdit& edit, core::UserInteraction& ui,
                        QWidget* parent = nullptr);

    QDoubleSpinBox* firstPrice() const { return m_first; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    orvento::catalogue::LevelRowPriceEdit& m_edit;
    core::UserInteraction& m_ui;
    QDoubleSpinBox* m_first;
    QLineEdit* m_second;
};

} // namespace orvento::ui
