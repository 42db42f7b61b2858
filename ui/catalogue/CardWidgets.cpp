#include "ui/catalogue/CardWidgets.h"

#include <QDialog>
#include <QLineEdit>

namespace orvento::ui {

void closeByOutcome(QDialog& card, orvento::catalogue::CardOutcome outcome) {
    switch (outcome) {
    case orvento::catalogue::CardOutcome::StayOpen:
        return;
    case orvento::catalogue::CardOutcome::Saved:
        card.done(QDialog::Accepted);
        return;
    case orvento::catalogue::CardOutcome::SaveFailed:
        card.done(QDialog::Rejected);
        return;
    }
}

void keepUpperCase(QLineEdit* field) {
    QObject::connect(field, &QLineEdit::textEdited, field, [field](const QString& text) {
        const int cursor = field->cursorPosition();
        field->setText(text.toUpper());
        field->setCursorPosition(cursor);
    });
}

} // namespace orvento::ui
