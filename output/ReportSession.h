#pragma once

#include "output/PrintTypes.h"
#include "output/ReportData.h"

#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <vector>

namespace orvento::core {
class UserInteraction;
}

namespace orvento::output {

// The report chosen in the print window, with the printer, pages and copies.
struct ReportChoice {
    int printType = print_type::Offers;  // offers, the address book or a note
    int reportKind = report_kind::Offer; // the report's TypSest
    QString file;                        // the template's name in the print folder, without ".FRX"
    bool builtIn = false;
    QString printerName; // empty when none is chosen
    int pageFrom = 1;
    int pageTo = 9999;
    int copies = 1;
};

// What the report is made of: the offer of an offer report, the offers of the list report in the
// list's order (the selected ones only when any are selected), the note of a note report.
struct ReportSubject {
    qint64 offerId = 0;
    std::vector<qint64> offerIds;
    qint64 noteId = 0;
    std::vector<qint64> firmIds; // the address list's firms in its order
    // The note as the desktop's list holds it; when given, it is printed as it is instead of
    // being read by `noteId` (a note that came with the program has no row).
    bool noteGiven = false;
    QString noteNazev;
    QString noteDetail;
    // The price list's tables, filled by its output window before the print window opens.
    std::shared_ptr<const struct PriceListTables> priceList;
};

// One print window's requests to the report runner. The data files go into a work folder of
// this session that only the user can open (mode 0700) and that is removed with the session,
// together with every pair of files written into it.
class ReportSession {
public:
    ReportSession(const ReportContext& context, core::UserInteraction& ui);
    ~ReportSession();
    ReportSession(const ReportSession&) = delete;
    ReportSession& operator=(const ReportSession&) = delete;

    // Writes the system data file and the report data file for the choice: 0 when both were
    // written, -1 after telling the person why not.
    int prepareReportData(const ReportChoice& choice, const ReportSubject& subject,
                          const QString& operation, const QString& exportFile = QString());
    // Starts the runner with the two files last written, as a program of its own with each file
    // as an argument of its own (no shell), and waits for it while the program's windows keep
    // painting. `controlsEnabled(false)` is called before it starts and `(true)` after it ended.
    // True when it could be started.
    bool startReportRunner(const std::function<void(bool)>& controlsEnabled = {});
    // The exit code of the runner last started: 0 when it did what it was asked; -1 when it did
    // not start, crashed or was left running.
    int lastExitCode() const { return m_exitCode; }

    const QString& workFolder() const { return m_workFolder; }
    const QString& systemDataFile() const { return m_systemFile; }
    const QString& reportDataFile() const { return m_reportFile; }
    // The runner's program file; tests and the program folder decide where it is.
    QString runnerProgram() const;
    void setRunnerProgram(const QString& path) { m_runner = path; }

private:
    bool fillTables(const ReportChoice& choice, const ReportSubject& subject,
                    class DataSetWriter& writer);

    ReportContext m_context;
    core::UserInteraction& m_ui;
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_workFolder;
    QString m_systemFile;
    QString m_reportFile;
    QString m_runner;
    int m_exitCode = -1;
};

// The template of a report in the print folder: print folder + file + extension when it is
// there, else the one file of the folder whose name matches ignoring letter case; empty when
// neither.
QString findTemplate(const QString& printFolder, const QString& file,
                     const QString& extension = QStringLiteral(".FRX"));

// After an offer was printed or previewed: offers to mark an open, unlocked offer in state 0 or 2
// as sent (state 1), unless the user may only read offers. True when the state was changed.
bool offerToMarkAsSent(core::Database& agenda, qint64 offerId, const core::CurrentUser& user,
                       core::UserInteraction& ui);

// A quick print without the print window: the user's default offer report (profile value 3; the
// standard offer when none is set or it is not an offer report) printed on the default printer
// or previewed straight away, then the question about the offer's state. `runner` replaces the
// runner's program file (tests). True when the offer's state was changed, so that its list
// reloads.
bool printOfferDirectly(const ReportContext& context, core::UserInteraction& ui, qint64 offerId,
                        const QString& operation, const QString& runner = QString());

} // namespace orvento::output
