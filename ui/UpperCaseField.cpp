#include "ui/UpperCaseField.h"

#include <QLineEdit>

namespace orvento::ui {

void keepUpperCase(QLineEdit* field) {
    QObject::connect(field, &QLineEdit::textEdited, field, [field](const QString& text) {
        const int cursor = field->cursorPosition();
        field->setText(text.toUpper());
        field->setCursorPosition(cursor);
    });
}

} // namespace orvento::ui
