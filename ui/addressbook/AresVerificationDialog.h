#pragma once

#include "addressbook/AresVerification.h"

#include <QDialog>

#include <map>

class QLabel;
class QPushButton;

namespace orvento::ui {

// frmAresOvereni, "Ověření dle registru ARES": the card's name and address beside the
// register's, the register's differing values in bold red; "Ano" takes them, "Ne" (Esc) not.
class AresVerificationDialog : public QDialog {
    Q_OBJECT
public:
    AresVerificationDialog(const addressbook::AresVerification& verification,
                           QWidget* parent = nullptr);

    // Shows the window; true when the person answered "Ano".
    static bool ask(const addressbook::AresVerification& verification, QWidget* parent);

    QLabel* registerLabel(addressbook::AresVerification::Field field) const;
    QLabel* cardLabel(addressbook::AresVerification::Field field) const;
    QPushButton* yesButton() const { return m_yes; }
    QPushButton* noButton() const { return m_no; }

private:
    std::map<addressbook::AresVerification::Field, QLabel*> m_card;
    std::map<addressbook::AresVerification::Field, QLabel*> m_register;
    QPushButton* m_yes;
    QPushButton* m_no;
};

} // namespace orvento::ui
