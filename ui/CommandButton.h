#pragma once

#include <QString>

class QPushButton;
class QWidget;

namespace orvento::ui {

// A button of a window's commands: found by its object name, never the default button (Enter
// belongs to the grids and fields), with its key or explanation as the tooltip when given.
QPushButton* makeCommandButton(QWidget* parent, const char* name, const QString& text,
                               const QString& hint = {});

} // namespace orvento::ui
