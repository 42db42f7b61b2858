#pragma once

#include "catalogue/PriceSourceChoice.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace orvento::core {
class UserInteraction;
}

namespace orvento::ui {

// frmVyberDealerCeny "Výběr ceny": what a column of a price list prints, bound to
// catalogue::PriceSourceChoice.
class PriceSourceDialog : public QDialog {
    Q_OBJECT
public:
    PriceSourceDialog(orvento::catalogue::PriceSourceChoice& choice, core::UserInteraction& ui,
                      QWidget* parent = nullptr);

    // The window for a caller's choice box captioned `caption`; Cancel when it was closed.
    static orvento::catalogue::PriceSource choose(core::UserInteraction& ui, const QString& caption,
                                                  QWidget* parent);

    const std::optional<orvento::catalogue::PriceSource>& chosen() const { return m_chosen; }
    void accept() override;

private:
    void pickLevel();
    void updateEnabled();

    orvento::catalogue::PriceSourceChoice& m_choice;
    core::UserInteraction& m_ui;
    QLineEdit* m_level;
    QPushButton* m_pick;
    std::optional<orvento::catalogue::PriceSource> m_chosen;
};

} // namespace orvento::ui
