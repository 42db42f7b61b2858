#pragma once

class QLineEdit;

namespace orvento::ui {

// Codes, prefixes and profile names are kept in upper case as they are typed; the cursor stays
// where the person is typing.
void keepUpperCase(QLineEdit* field);

} // namespace orvento::ui
