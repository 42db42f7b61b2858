#pragma once

#include "output/XmlExportLogic.h"

#include <QDialog>

#include <vector>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace orvento::core {
class AppContext;
}

namespace orvento::ui {

// frmExpXML, "Export do XML": the export file, and the external program to start afterwards.
class XmlExportDialog : public QDialog {
    Q_OBJECT
public:
    XmlExportDialog(core::AppContext& context, output::xml_export::Kind kind,
                    std::vector<qint64> ids, output::ProgramStarter starter = {},
                    QWidget* parent = nullptr);

    // Opens the dialog modally; true when it exported.
    static bool run(core::AppContext& context, output::xml_export::Kind kind,
                    std::vector<qint64> ids, QWidget* parent);

    output::XmlExportLogic& logic() { return m_logic; }
    void accept() override;

private:
    QLayout* buildFileRow();
    QLayout* buildProgramRows();
    QLayout* buildButtons();
    void showProgramState();
    void take();

    output::XmlExportLogic m_logic;
    QLineEdit* m_file;
    QCheckBox* m_run;
    QLineEdit* m_program;
    QPushButton* m_programButton;
    QCheckBox* m_pass;
};

} // namespace orvento::ui
