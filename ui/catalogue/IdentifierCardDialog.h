#pragma once

#include "catalogue/IdentifierRecords.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;

namespace orvento::ui {

// frmIdentifDetail "Identifikátor": code, name and "nepoužívat v "rozpisu identifikátorů" v
// nabídce", bound to the card's logic.
class IdentifierCardDialog : public QDialog {
    Q_OBJECT
public:
    IdentifierCardDialog(orvento::catalogue::IdentifierCard& card, QWidget* parent = nullptr);

    void accept() override;

private:
    orvento::catalogue::IdentifierCard& m_card;
    QLineEdit* m_code;
    QLineEdit* m_name;
    QCheckBox* m_unused;
};

} // namespace orvento::ui
