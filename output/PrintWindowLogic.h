#pragma once

#include "core/RunSecrets.h"
#include "output/MailOffer.h"
#include "output/PrintTypes.h"
#include "output/ReportSession.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace orvento::core {
class Database;
class UserInteraction;
} // namespace orvento::core

namespace orvento::output {

// One row of the print window's report list: a built-in report or one of the user's own.
struct ReportRow {
    bool original = false; // built in
    QString name;          // Nazev
    QString file;          // Soubor: the template's name in the print folder, no extension
    QString description;   // Popis
    int kind = 1;          // TypSest
};

// The installed printers in the system's order and the system's default one (empty for none).
struct PrinterList {
    QStringList names;
    QString defaultName;
};
using PrinterSource = std::function<PrinterList()>;

// What the report properties dialog shows and what the person typed into it.
struct ReportPropertiesForm {
    QString name;
    QString description;
    QString file;
    QStringList kinds;
    int kind = 0; // position in `kinds`
    QString extension;
    QString typeText;
    bool fileEnabled = false;
    bool browseEnabled = false;
    bool kindEnabled = false;
    bool okEnabled = true;
};
// Shows the properties dialog with the form and lets the person change it; false for "Storno".
// The dialog asks `PrintWindowLogic::acceptProperties` before it closes with "OK".
using PropertiesEditor = std::function<bool(ReportPropertiesForm&)>;

// Fills a spreadsheet template into the export file; the error text, empty when it worked.
using SpreadsheetExporter =
    std::function<QString(const QString& templatePath, const QString& exportFile)>;

// What the print window is opened for: the reports of a print type (only those of one kind when
// `onlyKind` is set) and what they print.
struct PrintRequest {
    int printType = print_type::Offers;
    std::optional<int> onlyKind;
    ReportSubject subject;
    QString runner; // the runner's program; empty for the one in the program folder

    // The offer list's print: its current offer and the offers of the list.
    static PrintRequest offers(qint64 currentOffer, std::vector<qint64> listedOffers);
    // After an offer was saved: the reports of that one offer, without the list report.
    static PrintRequest savedOffer(qint64 offerId);
    // The address book's print: its firms in the list's order.
    static PrintRequest firms(std::vector<qint64> firmIds);
};

// The logic of the print window (frmTisk, "Tisk"): the reports of one print type, built-in ones
// first, then the user's own from `Sestavy`; the printer, pages and copies; print, preview,
// export; the defaults remembered in the profile; and the upkeep of the user's reports.
class PrintWindowLogic {
public:
    // `onlyKind` shows only the reports of that kind (the offer card after saving).
    PrintWindowLogic(const ReportContext& context, core::Database& global,
                     core::UserInteraction& ui, int printType, std::optional<int> onlyKind,
                     PrinterSource printers);
    ~PrintWindowLogic();
    PrintWindowLogic(const PrintWindowLogic&) = delete;
    PrintWindowLogic& operator=(const PrintWindowLogic&) = delete;

    static QString caption() { return QStringLiteral("Tisk"); }
    static QString helpTopic() { return QStringLiteral("pgTisk.htm"); }
    // The wait window's text while the window is prepared.
    static QString preparingText();
    // The tip on a report's icon: built in or the user's own.
    static QString originTip(const ReportRow& row);

    // Lists the reports, goes to the remembered default report and fills the printer list with
    // the remembered printer. False (after its message) when the user's reports could not be
    // read: the built-in ones are listed, and the user-report commands stay off until
    // readUserReportsAgain() succeeds, so that the stored ones are never written over.
    bool open();
    // Writes the user's reports back when they were changed and remembers the chosen defaults.
    // False after the message when the reports could not be written (they stay as they were).
    bool close();
    // Whether the user's reports were read; copy, delete, properties and add-from-disk need it.
    bool userReportsRead() const { return m_userReportsRead; }
    // Tries the reading of the user's reports once more (after its message when it fails).
    bool readUserReportsAgain();

    int printType() const { return m_printType; }
    bool exportMode() const { return isExportType(m_printType); }
    // The title of the group under the pages: the e-mail link when printing, the export file
    // when exporting.
    QString extraFunctionsTitle() const;
    QString extension() const;

    // The rows shown (all of them unless a kind is chosen), and the current one of them.
    int rowCount() const { return static_cast<int>(m_visible.size()); }
    const ReportRow& row(int visibleRow) const { return m_rows[m_visible[visibleRow]]; }
    const std::vector<ReportRow>& allRows() const { return m_rows; }
    int currentRow() const { return m_current; }
    void setCurrentRow(int row);
    const ReportRow* current() const;
    QString description() const;
    bool emailVisible() const;
    bool changed() const { return m_changed; }

    // The printer list.
    const QStringList& printers() const { return m_printers; }
    int printerRow() const { return m_printerRow; }
    void setPrinterRow(int row) { m_printerRow = row >= 0 && row < m_printers.size() ? row : -1; }
    // Fills the list and selects the entry `index`: the default printer for -1, nothing for an
    // index outside the list.
    void fillPrinters(int index);
    // Reads the printers again, keeping the selected one by its name.
    void refreshPrinters();
    QString printerName() const;

    int pageFrom = 1;
    int pageTo = 9999;
    int copies = 1;
    QString exportFile;
    // "upravit tisk. sestavu": the window stays open after printing.
    bool editing = false;

    void setSubject(const ReportSubject& subject) { m_subject = subject; }
    void setRunnerProgram(const QString& program);
    void setControlsEnabled(std::function<void(bool)> enable) { m_enable = std::move(enable); }
    void setSpreadsheetExporter(SpreadsheetExporter exporter) { m_exporter = std::move(exporter); }
    // Whether a print changed the offer's state, so that its list reloads.
    bool offerStateChanged() const { return m_stateChanged; }

    // "Tisk" and "Náhled": true when the window is to close.
    bool print();
    bool preview();
    // "Export" (the print types that export).
    void exportReport();
    // "Upravit tiskovou sestavu v editoru formulářů".
    void editReport();
    // "Vytvořit kopii tiskové sestavy".
    void copyReport(const PropertiesEditor& editor);
    // "Vyjmout tiskovou sestavu".
    void deleteReport();
    // "Vlastnosti tiskové sestavy" (both false), a copy of the current report or a new report
    // from disk: 0 when the list was changed, -1 when cancelled or stopped by an error.
    int reportProperties(bool copy, bool fromDisk, const PropertiesEditor& editor);
    // "OK" of the properties dialog: false after the message when the dialog must stay open.
    bool acceptProperties(const ReportPropertiesForm& form);
    // The "..." button of the properties dialog: the chosen template's name, no folder.
    std::optional<QString> chooseTemplateFile();
    // The "..." button beside the export file.
    void chooseExportFile();
    // The menu of "Nastavit...".
    void setDefaultPrinter();
    void setDefaultReport();
    // Opens the print folder, where the templates are.
    void openTemplateFolder();

    // The link "zde": the current offer report as a PDF by e-mail, through the hand-over set
    // for this workstation in Tovaro.ini (or the one given with setMailHandOver).
    void sendByEmail(const MailFormEditor& editor);
    void setMailHandOver(std::unique_ptr<MailHandOver> handOver);
    // Where the messages' files go (tests); the user's cache folder otherwise.
    void setMailFolderRoot(const QString& root) { m_mailFolderRoot = root; }
    // Where a mail server's password typed without a password store is kept for the run.
    void setRunSecrets(core::RunSecrets& secrets) { m_secrets = &secrets; }
    // "Uložit jako PDF": whether the report can be saved so (not a spreadsheet export), and the
    // command.
    bool pdfAvailable() const { return !exportMode(); }
    void saveAsPdf();

    const QString& chosenDefaultReport() const { return m_defaultReport; }
    int chosenDefaultPrinter() const { return m_defaultPrinter; }

private:
    bool readUserReports();
    bool run(const QString& operation);
    void rebuildVisible();
    ReportChoice choice() const;
    QString printFolder() const;

    ReportContext m_context;
    core::Database& m_global;
    core::UserInteraction& m_ui;
    int m_printType;
    std::optional<int> m_onlyKind;
    PrinterSource m_printerSource;
    ReportSession m_session;
    ReportSubject m_subject;
    std::vector<ReportRow> m_rows;
    std::vector<int> m_visible;
    int m_current = -1;
    bool m_changed = false;
    bool m_userReportsRead = false;
    QStringList m_printers;
    int m_printerRow = -1;
    QString m_defaultReport;
    int m_defaultPrinter = -1;
    bool m_stateChanged = false;
    std::function<void(bool)> m_enable;
    SpreadsheetExporter m_exporter;
    std::unique_ptr<MailHandOver> m_mailHandOver;
    QString m_mailFolderRoot;
    core::RunSecrets m_ownSecrets;
    core::RunSecrets* m_secrets = &m_ownSecrets;
};

// Profile value numbers of a print type's remembered defaults; 0 where the type has none.
struct PrintDefaults {
    int report = 0;
    int printer = 0;
    int exportFile = 0;
};
PrintDefaults printDefaults(int printType);

// Replaces the user's reports of a print type by `rows` (the built-in ones among them are
// skipped) in one unit of work: on any failure nothing is changed. False after the message.
bool storeUserReports(core::Database& global, int printType, const std::vector<ReportRow>& rows,
                      core::UserInteraction& ui);

// The message of a failed reading of the user's reports, with the database's reason.
QString userReportsUnreadableMessage(const QString& reason);

// The name of a copy: one leading "_" removed, cut before the first "[", then "[n]" with the
// first number from 2 whose template does not exist in the folder (letters ignored), 999 when
// all do. The number is given back too.
std::pair<QString, int> copyFileName(const QString& folder, const QString& file,
                                     const QString& extension);

} // namespace orvento::output
