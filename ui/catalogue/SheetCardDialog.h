#pragma once

#include "catalogue/SheetCard.h"

#include <QDialog>

class QLineEdit;

namespace orvento::ui {

// frmKartaSkladu: the name of a sheet.
class SheetCardDialog : public QDialog {
    Q_OBJECT
public:
    SheetCardDialog(catalogue::SheetCard& card, QWidget* parent = nullptr);
    QLineEdit* nameField() const { return m_name; }
    void accept() override;

private:
    catalogue::SheetCard& m_card;
    QLineEdit* m_name;
};

} // namespace orvento::ui
