#pragma once

class QDialog;
class QDialogButtonBox;

namespace orvento::ui {

// The "OK" and "Storno" buttons a dialog ends with: "OK" is the default button (Enter) and runs
// the dialog's accept(), "Storno" (Esc) rejects it. The caller puts the box into its layout.
QDialogButtonBox* okCancelButtons(QDialog* dialog);

} // namespace orvento::ui
