#pragma once

#include <QString>

class QWidget;

namespace orvento::ui {

// Opens a topic page of the help shipped in the program folder.
void openHelpTopic(const QString& topic);
// Makes F1 open the topic while the widget (or one of its children) has the focus.
void installHelpKey(QWidget* widget, const QString& topic);

} // namespace orvento::ui
