#include "ui/CardWidgets.h"

#include <QDialog>
#include <QFocusEvent>
#include <QLineEdit>
#include <QLocale>
#include <QRegularExpression>

namespace orvento::ui {

namespace {

// Every field holds values well inside this, and the largest still shows all its decimals.
constexpr double kNumberFieldLimit = 1e9;

} // namespace

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

NumberField::NumberField(int decimals, QWidget* parent)
    : QDoubleSpinBox(parent) {
    setDecimals(decimals);
    setRange(-kNumberFieldLimit, kNumberFieldLimit);
    setSingleStep(1.0);
    setAlignment(Qt::AlignRight);
    lineEdit()->installEventFilter(this);
    // What the person types is the field's value at once; the card's own value for it waits.
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] { m_typing = true; });
    connect(this, &QDoubleSpinBox::valueChanged, this, [this](double value) { m_held = value; });
    connect(this, &QAbstractSpinBox::editingFinished, this, &NumberField::finishTyping);
}

void NumberField::display(double value) {
    m_held = value;
    if (m_typing)
        return;
    const QSignalBlocker blocker(this);
    setValue(value);
}

void NumberField::finishTyping() {
    m_typing = false;
    const QSignalBlocker blocker(this);
    // Rewrites the text in the field's format even when the value stayed ("25,5" → "25,50").
    setValue(m_held);
}

std::optional<double> NumberField::parse(const QString& text, QValidator::State* state) const {
    QString number = text;
    if (!prefix().isEmpty() && number.startsWith(prefix()))
        number.remove(0, prefix().size());
    if (!suffix().isEmpty() && number.endsWith(suffix()))
        number.chop(suffix().size());
    // Blanks group the thousands wherever the person puts them.
    number.remove(QRegularExpression(QStringLiteral("[\\s\\x{00A0}\\x{202F}]")));
    const QRegularExpression shape(
        QStringLiteral("^-?\\d*(,\\d{0,%1})?$").arg(std::max(0, decimals())));
    const auto setState = [state](QValidator::State s) {
        if (state)
            *state = s;
    };
    if (!shape.match(number).hasMatch() ||
        (number.startsWith(QLatin1Char('-')) && minimum() >= 0)) {
        setState(QValidator::Invalid);
        return std::nullopt;
    }
    bool ok = false;
    const double value = QString(number).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    if (!ok) {
        // "", "-", "," and "-," on the way to a number.
        setState(QValidator::Intermediate);
        return std::nullopt;
    }
    if (value < minimum() || value > maximum()) {
        setState(QValidator::Intermediate);
        return std::nullopt;
    }
    setState(QValidator::Acceptable);
    return value;
}

QValidator::State NumberField::validate(QString& input, int& /*pos*/) const {
    QValidator::State state = QValidator::Invalid;
    parse(input, &state);
    return state;
}

double NumberField::valueFromText(const QString& text) const {
    return parse(text, nullptr).value_or(value());
}

QString NumberField::textFromValue(double value) const {
    return amount(value, decimals());
}

void NumberField::focusInEvent(QFocusEvent* event) {
    QDoubleSpinBox::focusInEvent(event); // selects the text after Tab and Backtab
    // The click that brings the focus places the cursor when it is released; the whole text is
    // selected after that.
    m_selectOnRelease = event->reason() == Qt::MouseFocusReason;
}

bool NumberField::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lineEdit() && event->type() == QEvent::MouseButtonRelease && m_selectOnRelease) {
        m_selectOnRelease = false;
        lineEdit()->event(event); // the line edit ends its click first
        selectAll();
        return true;
    }
    return QDoubleSpinBox::eventFilter(watched, event);
}

QLineEdit* textField(const char* name, int width, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(width);
    return edit;
}

NumberField* numberField(const char* name, int decimals, QWidget* parent) {
    auto* box = new NumberField(decimals, parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

QString amount(double value, int decimals) {
    return QLocale(QLocale::Czech)
        .toString(value, 'f', decimals)
        .replace(QChar(0xA0), QLatin1Char(' '))
        .replace(QChar(0x202F), QLatin1Char(' '));
}

} // namespace orvento::ui
