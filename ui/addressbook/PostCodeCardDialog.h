#pragma once

#include "addressbook/PostCodeCard.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace orvento::ui {

// frmPscDetail: one post code and its place.
class PostCodeCardDialog : public QDialog {
    Q_OBJECT
public:
    PostCodeCardDialog(addressbook::PostCodeCard& card, QWidget* parent = nullptr);

    QLineEdit* pscField() const { return m_psc; }
    QLineEdit* mistoField() const { return m_misto; }
    QPushButton* okButton() const { return m_ok; }

    void accept() override;

private:
    addressbook::PostCodeCard& m_card;
    QLineEdit* m_psc;
    QLineEdit* m_misto;
    QPushButton* m_ok;
};

} // namespace orvento::ui
