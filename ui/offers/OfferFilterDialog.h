#pragma once

#include "offers/OfferFilter.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QDoubleSpinBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace orvento::offers {
class OfferListLogic;
}

namespace orvento::ui {

// frmNabFiltr, "Filtr": the conditions of the offer list, each enabled by its check box. "OK"
// hands them to the list's logic, which warns and keeps the dialog open when one is incomplete.
class OfferFilterDialog : public QDialog {
    Q_OBJECT
public:
    OfferFilterDialog(offers::OfferListLogic& logic, QWidget* parent = nullptr);

    // The values as the dialog holds them now.
    offers::OfferFilter values() const;
    void setValues(const offers::OfferFilter& filter);

    QCheckBox* activeBox() const { return m_active; }
    QCheckBox* checkBox(const QString& objectName) const;
    QLineEdit* textField(const QString& objectName) const;
    QComboBox* stateBox() const { return m_state; }

    void accept() override;
    void reject() override;

private:
    struct DateFields {
        QCheckBox* check;
        QDateEdit* from;
        QDateEdit* to;
    };
    void nameFields();
    QGroupBox* buildConditions();
    int addFirmRows(QGridLayout* grid, int row);
    int addDateRows(QGridLayout* grid, int row);
    QCheckBox* addCheck(const QString& name, const QString& text);
    DateFields addDates(const QString& name, const QString& text);
    void updateEnabled();
    void takeFirm(qint64 firmId, const QString& name);

    offers::OfferListLogic& m_logic;
    QCheckBox* m_active;
    QCheckBox* m_byState;
    QComboBox* m_state;
    QCheckBox* m_unsettled;
    QCheckBox* m_byFirm;
    QLabel* m_firm;
    QCheckBox* m_byFirmText;
    QLineEdit* m_firmText;
    DateFields m_issued{};
    DateFields m_valid{};
    DateFields m_settled{};
    QCheckBox* m_byDescription;
    QLineEdit* m_description;
    QCheckBox* m_byTotal;
    QDoubleSpinBox* m_totalFrom;
    QDoubleSpinBox* m_totalTo;
    QRadioButton* m_withVat;
    QRadioButton* m_withoutVat;
    QCheckBox* m_byAuthor;
    QLineEdit* m_author;
    qint64 m_firmId = 0;
};

} // namespace orvento::ui
