#pragma once

#include "core/CurrentUser.h"

#include <QDialog>

#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace orvento::services {
class UserCard;
}

namespace orvento::ui {

// frmDetailUzivatele: the fields of one user, bound to the card's logic. Closes accepted when
// the user was saved.
class UserCardDialog : public QDialog {
    Q_OBJECT
public:
    explicit UserCardDialog(services::UserCard& card, QWidget* parent = nullptr);

    void accept() override;

private:
    struct LevelBox {
        QComboBox* box;
        core::AccessLevel core::CurrentUser::*member;
    };
    struct RightBox {
        QCheckBox* box;
        bool core::CurrentUser::*member;
    };

    void fillFields();
    void readFields();
    void editPrefilter();
    void updatePrefilterButton();

    services::UserCard& m_card;
    QLineEdit* m_name;
    QLineEdit* m_profile;
    QLineEdit* m_password;
    QLineEdit* m_confirmation;
    QSpinBox* m_number;
    QLineEdit* m_phone;
    QLineEdit* m_email;
    QPushButton* m_prefilter;
    QCheckBox* m_allOffers = nullptr;
    std::vector<LevelBox> m_levels;
    std::vector<RightBox> m_rights;
};

} // namespace orvento::ui
