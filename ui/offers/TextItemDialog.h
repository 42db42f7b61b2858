#pragma once

#include "offers/TextItemCard.h"

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;
class QSpinBox;

namespace orvento::ui {

// frmNadpisovaPol: a title or text item of an offer.
class TextItemDialog : public QDialog {
    Q_OBJECT
public:
    explicit TextItemDialog(offers::TextItemCard& card, QWidget* parent = nullptr);

    // A new title or text item after `current`, or the item at `index` (a copy of it with
    // `copy`); true when it was confirmed.
    static bool editNew(offers::OfferWorkingCopy& offer, bool title,
                        std::optional<std::size_t> current, core::UserInteraction& ui,
                        QWidget* parent);
    static bool editExisting(offers::OfferWorkingCopy& offer, std::size_t index, bool copy,
                             core::UserInteraction& ui, QWidget* parent);

    void accept() override;
    QLineEdit* textField() const { return m_text; }

private:
    offers::TextItemCard& m_card;
    QLineEdit* m_text;
    QPlainTextEdit* m_note;
    QSpinBox* m_position;
};

} // namespace orvento::ui
