#include "ui/catalogue/CardWidgets.h"

#include <QDialog>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QLocale>

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

QLineEdit* textField(const char* name, int width, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(width);
    return edit;
}

QDoubleSpinBox* numberField(const char* name, int decimals, QWidget* parent) {
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setDecimals(decimals);
    box->setRange(-1e9, 1e9);
    box->setSingleStep(1.0);
    box->setGroupSeparatorShown(true);
    box->setAlignment(Qt::AlignRight);
    return box;
}

QString amount(double value, int decimals) {
    return QLocale(QLocale::Czech)
        .toString(value, 'f', decimals)
        .replace(QChar(0xA0), QLatin1Char(' '));
}

} // namespace orvento::ui
