#pragma once

#include "output/PrintWindowLogic.h"

#include <QComboBox>
#include <QDialog>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QToolButton;
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

// What the print window prints: the offer, the offers of the list, the firms, the note.
struct PrintRequest {
    int printType = 1;
    std::optional<int> onlyKind;
    output::ReportSubject subject;
    QString runner; // the runner's program; empty for the one in the program folder
};

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
    void done(int result) override;

private:
    void fillGrid();
    void showCurrent();
    void showPrinters();
    void takeFields();
    void afterListChange();
    bool showProperties(output::ReportPropertiesForm& form);

    core::AppContext& m_context;
    std::unique_ptr<output::PrintWindowLogic> m_logic;
    output::PropertiesEditor m_editor;
    QTableWidget* m_grid;
    QLabel* m_description;
    QCheckBox* m_editCheck;
    QWidget* m_editPanel;
    // Copy, delete, properties and add-from-disk: off while the user's reports are unread.
    std::vector<QPushButton*> m_userReportButtons;
    PrinterComboBox* m_printer;
    QToolButton* m_setButton;
    QSpinBox* m_from;
    QSpinBox* m_to;
    QSpinBox* m_copies;
    QGroupBox* m_extra;
    QWidget* m_mailPanel;
    QWidget* m_exportPanel;
    QLineEdit* m_exportFile;
    QPushButton* m_print;
    QPushButton* m_preview;
    QPushButton* m_export;
    bool m_closed = false;
};

// frmSestVlast, "Vlastnosti tiskové sestavy".
class ReportPropertiesDialog : public QDialog {
    Q_OBJECT
public:
    ReportPropertiesDialog(core::AppContext& context, output::PrintWindowLogic& logic,
                           output::ReportPropertiesForm& form, QWidget* parent = nullptr);
    void accept() override;

private:
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
