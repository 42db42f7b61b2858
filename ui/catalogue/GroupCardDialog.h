#pragma once

#include "catalogue/GroupCard.h"

#include <QDialog>

class QLineEdit;

namespace orvento::ui {

// frmKartaSkupiny: the name and code of a group.
class GroupCardDialog : public QDialog {
    Q_OBJECT
public:
    GroupCardDialog(catalogue::GroupCard& card, QWidget* parent = nullptr);
    QLineEdit* nameField() const { return m_name; }
    QLineEdit* codeField() const { return m_code; }
    void accept() override;

private:
    catalogue::GroupCard& m_card;
    QLineEdit* m_name;
    QLineEdit* m_code;
};

} // namespace orvento::ui
