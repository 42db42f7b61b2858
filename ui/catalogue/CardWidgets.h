#pragma once

#include "catalogue/CardOutcome.h"

class QDialog;
class QDoubleSpinBox;
class QLineEdit;
class QString;
class QWidget;

namespace orvento::ui {

// Closes a card by the outcome of its OK: accepted when saved, rejected when the save failed,
// open otherwise.
void closeByOutcome(QDialog& card, orvento::catalogue::CardOutcome outcome);

// A code field keeps what is typed in upper case.
void keepUpperCase(QLineEdit* field);

// The fields of a card with computing prices: a text of `width` characters, and a number held at
// `decimals`, right-aligned, grouped in thousands, whose arrow keys add or take away one.
QLineEdit* textField(const char* name, int width, QWidget* parent);
QDoubleSpinBox* numberField(const char* name, int decimals, QWidget* parent);
// A computed amount as a card shows it: Czech decimals, thousands grouped with plain spaces.
QString amount(double value, int decimals = 2);

} // namespace orvento::ui
