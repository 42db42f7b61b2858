#pragma once

#include <QDialog>

namespace orvento::ui {

// "O aplikaci...": the product name and its version.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

} // namespace orvento::ui
