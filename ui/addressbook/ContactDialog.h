#pragma once

#include "addressbook/FirmCard.h"

#include <QDialog>

#include <optional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;

namespace orvento::core {
class AppContext;
}

namespace orvento::ui {

// frmKontakt, "Kontakt adresy": one contact of the firm card's working copy.
class ContactDialog : public QDialog {
    Q_OBJECT
public:
    // Edits the contact at `index`, or a new one when nothing.
    ContactDialog(core::AppContext& context, addressbook::FirmCard& card,
                  std::optional<size_t> index, QWidget* parent = nullptr);

    QComboBox* titleBefore() const { return m_titulPred; }
    QLineEdit* surname() const { return m_prijmeni; }
    QLineEdit* firstName() const { return m_jmeno; }
    QLineEdit* postCode() const { return m_psc; }
    QLineEdit* place() const { return m_misto; }
    QCheckBox* primary() const { return m_zobrazit; }

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void pickPostCode();

    core::AppContext& m_context;
    addressbook::FirmCard& m_card;
    std::optional<size_t> m_index;
    QComboBox* m_titulPred;
    QComboBox* m_titulZa;
    QLineEdit* m_prijmeni;
    QLineEdit* m_jmeno;
    QLineEdit* m_funkce;
    QLineEdit* m_ulice;
    QLineEdit* m_psc;
    QLineEdit* m_misto;
    QLineEdit* m_telefon;
    QLineEdit* m_mobil;
    QLineEdit* m_email;
    QPlainTextEdit* m_poznamka;
    QCheckBox* m_zobrazit;
};

} // namespace orvento::ui
