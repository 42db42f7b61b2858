#pragma once

#include "output/PrintWindowLogic.h"
#include "ui/output/ReportPropertiesDialog.h"

#include <QComboBox>
#include <QDialog>

#include <functional>
#include <memory>
#include <vector>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QWidget;

namespace orvento::core {
class AppContext;
}

namespace orvento::ui {

// The printer list: it reads the installed printers again each time it drops down.
class PrinterComboBox : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;
    std::function<void()> beforePopup;
    void showPopup() override;
};

// Kept under its old name for the windows that open the print window.
using PrintRequest = output::PrintRequest;

// frmTisk, "Tisk": the reports of a print type with the printer, pages and copies.
class PrintWindow : public QDialog {
    Q_OBJECT
public:
    PrintWindow(core::AppContext& context, const PrintRequest& request,
                output::PrinterSource printers = {}, QWidget* parent = nullptr);
    ~PrintWindow() override;

    // Opens the window modally; true when a print changed an offer's state.
    static bool open(core::AppContext& context, const PrintRequest& request, QWidget* parent);
    // The offer card after saving: the offer reports of one offer.
    static bool openForOffer(core::AppContext& context, qint64 offerId, QWidget* parent);
    // The installed printers and the default one, as the system tells them.
    static output::PrinterList systemPrinters();

    output::PrintWindowLogic& logic() { return *m_logic; }
    QTableWidget* grid() const { return m_grid; }
    PrinterComboBox* printerBox() const { return m_printer; }
    QCheckBox* editBox() const { return m_editCheck; }
    // Replaces the properties dialog (tests).
    void setPropertiesEditor(output::PropertiesEditor editor) { m_editor = std::move(editor); }

    void printReport();
    void previewReport();
    void exportReport();
    // The link "zde" and "Uložit jako PDF".
    void sendByEmail();
    void saveAsPdf();
    // Replaces the e-mail window (tests).
    void setMailEditor(output::MailFormEditor editor) { m_mailEditor = std::move(editor); }
    void done(int result) override;

private:
    QWidget* buildReportList();
    QWidget* buildEditPanel();
    QPushButton* addEditButton(const char* name, const QString& text, std::function<void()> action);
    QWidget* buildPrinterGroup();
    QWidget* buildPagesGroup();
    QWidget* buildExtraGroup();
    QLayout* buildButtons();
    void installKeys();
    void showPrintType();
    void fillGrid();
    void showCurrent();
    void showPrinters();
    void takeFields();
    void afterListChange();
    bool showProperties(output::ReportPropertiesForm& form);

    core::AppContext& m_context;
    std::unique_ptr<output::PrintWindowLogic> m_logic;
    output::PropertiesEditor m_editor;
    QTableWidget* m_grid = nullptr;
    QLabel* m_description = nullptr;
    QCheckBox* m_editCheck = nullptr;
    QWidget* m_editPanel = nullptr;
    // Copy, delete, properties and add-from-disk: off while the user's reports are unread.
    std::vector<QPushButton*> m_userReportButtons;
    PrinterComboBox* m_printer = nullptr;
    QAction* m_printerDefault = nullptr;
    QSpinBox* m_from = nullptr;
    QSpinBox* m_to = nullptr;
    QSpinBox* m_copies = nullptr;
    QGroupBox* m_extra = nullptr;
    QWidget* m_mailPanel = nullptr;
    QWidget* m_exportPanel = nullptr;
    QLineEdit* m_exportFile = nullptr;
    QPushButton* m_print = nullptr;
    QPushButton* m_preview = nullptr;
    QPushButton* m_export = nullptr;
    bool m_closed = false;
    QPushButton* m_savePdf = nullptr;
    output::MailFormEditor m_mailEditor;
};

} // namespace orvento::ui
