#pragma once

#include "catalogue/CardOutcome.h"

#include <QDoubleSpinBox>

#include <optional>

class QDialog;
class QLineEdit;
class QString;
class QWidget;

namespace orvento::ui {

// Closes a card by the outcome of its OK: accepted when saved, rejected when the save failed,
// open otherwise.
void closeByOutcome(QDialog& card, orvento::catalogue::CardOutcome outcome);

// A number field of a card, held at a fixed number of decimals, right-aligned, thousands
// grouped with plain spaces and a decimal comma; the arrow keys add or take away one.
//
// While the person types, the field keeps exactly what was typed ("1 234,5" stays so) and
// reports the value after every keystroke, so the other fields follow at once; a value the card
// puts back into this field meanwhile waits and is shown, in the field's format, when the field
// is left or Enter is pressed. More decimals than the field holds cannot be typed. A click or
// Tab into the field selects its text, so typing replaces it.
class NumberField : public QDoubleSpinBox {
    Q_OBJECT
public:
    NumberField(int decimals, QWidget* parent);

    // A value from the card: shown at once, without reporting it back, unless the person is
    // typing in the field.
    void display(double value);
    bool isBeingTyped() const { return m_typing; }

    QValidator::State validate(QString& input, int& pos) const override;
    double valueFromText(const QString& text) const override;
    QString textFromValue(double value) const override;

protected:
    void focusInEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The number a text stands for, with the field's prefix and suffix and any blanks left out;
    // nothing while it is not (yet) a number.
    std::optional<double> parse(const QString& text, QValidator::State* state) const;
    void finishTyping();

    double m_held = 0.0;
    bool m_typing = false;
    bool m_selectOnRelease = false;
};

// The fields of a card with computing prices: a text of `width` characters, and a number held
// at `decimals`.
QLineEdit* textField(const char* name, int width, QWidget* parent);
NumberField* numberField(const char* name, int decimals, QWidget* parent);
// A computed amount as a card shows it: Czech decimals, thousands grouped with plain spaces.
QString amount(double value, int decimals = 2);

} // namespace orvento::ui
