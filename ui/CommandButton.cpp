#include "ui/CommandButton.h"

#include <QPushButton>

namespace orvento::ui {

QPushButton* makeCommandButton(QWidget* parent, const char* name, const QString& text,
                               const QString& hint) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    if (!hint.isEmpty())
        button->setToolTip(hint);
    return button;
}

} // namespace orvento::ui
