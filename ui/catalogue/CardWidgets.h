#pragma once

#include "catalogue/CardOutcome.h"

class QDialog;
class QLineEdit;

namespace orvento::ui {

// Closes a card by the outcome of its OK: accepted when saved, rejected when the save failed,
// open otherwise.
void closeByOutcome(QDialog& card, orvento::catalogue::CardOutcome outcome);

// A code field keeps what is typed in upper case.
void keepUpperCase(QLineEdit* field);

} // namespace orvento::ui
