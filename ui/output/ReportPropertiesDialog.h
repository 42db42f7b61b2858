#pragma once

#include "output/PrintWindowLogic.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;

namespace orvento::core {
class AppContext;
}

namespace orvento::ui {

// frmSestVlast, "Vlastnosti tiskové sestavy".
class ReportPropertiesDialog : public QDialog {
    Q_OBJECT
public:
    ReportPropertiesDialog(core::AppContext& context, output::PrintWindowLogic& logic,
                           output::ReportPropertiesForm& form, QWidget* parent = nullptr);
    void accept() override;

private:
    QLayout* buildFileRow();
    void take();

    core::AppContext& m_context;
    output::PrintWindowLogic& m_logic;
    output::ReportPropertiesForm& m_form;
    QLineEdit* m_name;
    QPlainTextEdit* m_descriptionEdit;
    QComboBox* m_kind;
    QLineEdit* m_file;
};

} // namespace orvento::ui
