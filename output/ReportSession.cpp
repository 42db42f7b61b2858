#include "output/ReportSession.h"

#include "core/CurrentUser.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/ProgressScope.h"
#include "core/ShellOperations.h"
#include "core/UserInteraction.h"
#include "offers/OfferStates.h"
#include "output/DataSetWriter.h"
#include "output/PriceListTables.h"
#include "output/ReportCatalogue.h"
#include "output/ReportTables.h"
#include "services/ProfileStore.h"
#include "services/ProfileValues.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QSqlQuery>

namespace orvento::output {

QString findTemplate(const QString& printFolder, const QString& file, const QString& extension) {
    const QString exact = printFolder + file + extension;
    if (QFileInfo(exact).isFile())
        return exact;
    const QString wanted = file + extension;
    const QDir dir(printFolder);
    for (const QString& name : dir.entryList(QDir::Files))
        if (name.compare(wanted, Qt::CaseInsensitive) == 0)
            return dir.filePath(name);
    return QString();
}

ReportSession::ReportSession(const ReportContext& context, core::UserInteraction& ui)
    : m_context(context)
    , m_ui(ui) {}

ReportSession::~ReportSession() = default;

QString ReportSession::runnerProgram() const {
    if (!m_runner.isEmpty())
        return m_runner;
#ifdef Q_OS_WIN
    return core::programState().folders.program + QStringLiteral("Dastrel.exe");
#else
    return core::programState().folders.program + QStringLiteral("Dastrel");
#endif
}

bool ReportSession::fillTables(const ReportChoice& choice, const ReportSubject& subject,
                               DataSetWriter& writer) {
    if (isOfferReport(choice.printType, choice.reportKind)) {
        const auto report = offerReport(m_context, subject.offerId);
        if (!report) {
            m_ui.warning(QStringLiteral("Při obnově tabulky došlo k chybě, požadovaný záznam byl "
                                        "pravděpodobně smazán jiným uživatelem."));
            return false;
        }
        writer.addTable(report->header);
        writer.addTable(report->items);
        writer.addTable(report->identifiers);
    } else if (choice.printType == print_type::Offers &&
               choice.reportKind == report_kind::OfferList) {
        const auto report = offerListReport(m_context, subject.offerIds);
        writer.addTable(report->header);
        writer.addTable(report->offers);
    } else if (choice.printType == print_type::AddressBook &&
               choice.reportKind == report_kind::Standard) {
        writer.addTable(addressListReport(m_context.agenda, subject.firmIds));
    } else if (choice.printType == print_type::Note && choice.reportKind == report_kind::Standard) {
        std::optional<ReportTable> note;
        if (subject.noteGiven)
            note = noteReport(subject.noteNazev, subject.noteDetail);
        else if (m_context.global)
            note = noteReport(*m_context.global, subject.noteId);
        writer.addTable(note ? *note : noteTable());
    } else if (isPriceListType(choice.printType) && subject.priceList) {
        addPriceListTables(writer, subject.priceList);
    }
    // Other print types bring their tables with their own windows; other kinds get none.
    return true;
}

int ReportSession::prepareReportData(const ReportChoice& choice, const ReportSubject& subject,
                                     const QString& operation, const QString& exportFile) {
    const QString printFolder = core::programState().folders.print;
    const QString templatePath = findTemplate(printFolder, choice.file);
    if (templatePath.isEmpty()) {
        QString text = QStringLiteral("Formulářový soubor %1 nebyl nalezen !")
                           .arg(printFolder + choice.file + QStringLiteral(".FRX"));
        if (choice.builtIn)
            text += QStringLiteral("\n\nProveďte reinstalaci programu.");
        m_ui.warning(text);
        return -1;
    }
    core::ProgressScope wait(
        m_ui, QStringLiteral("Probíhá příprava tiskové sestavy\nprosím čekejte..."), 0, false);
    const auto fail = [this, &wait](const QString& file, const QString& why) {
        wait.end();
        m_ui.error(
            QStringLiteral("Při exportu do dočasného souboru %1 došlo k chybě. %2").arg(file, why));
        return -1;
    };
    if (!m_dir) {
        // Made with mode 0700 under a name nobody can foresee, so that no other user of the
        // machine can read the data or put files in the way.
        auto dir = std::make_unique<QTemporaryDir>(QDir::tempPath() +
                                                   QStringLiteral("/orvento-tisk-XXXXXX"));
        if (!dir->isValid())
            return fail(QDir::tempPath() + QStringLiteral("/orvento-tisk-XXXXXX"),
                        dir->errorString());
        m_dir = std::move(dir);
        m_workFolder = m_dir->path() + QLatin1Char('/');
    }
    m_systemFile = m_workFolder + core::shell::newIdentifier();
    m_reportFile = m_workFolder + core::shell::newIdentifier();

    ReportTable info = infoTable();
    const int r = info.appendRow();
    info.set(r, QStringLiteral("OperationType"), operation);
    info.set(r, QStringLiteral("ReportFileName"), templatePath);
    info.set(r, QStringLiteral("PrinterName"), choice.printerName);
    info.set(r, QStringLiteral("PageRangeFrom"), choice.pageFrom);
    info.set(r, QStringLiteral("PageRangeTo"), choice.pageTo);
    info.set(r, QStringLiteral("PageCopies"), choice.copies);
    info.set(r, QStringLiteral("ExportFileName"), exportFile);
    DataSetWriter system(QStringLiteral("SystemDataset"));
    system.addTable(info);
    if (!system.saveToFile(m_systemFile))
        return fail(m_systemFile, system.lastError());

    DataSetWriter report(QStringLiteral("ReportDataset"));
    if (!fillTables(choice, subject, report))
        return -1;
    if (!report.saveToFile(m_reportFile))
        return fail(m_reportFile, report.lastError());
    return 0;
}

bool ReportSession::startReportRunner(const std::function<void(bool)>& controlsEnabled) {
    if (controlsEnabled)
        controlsEnabled(false);
    m_exitCode = -1;
    const QString program = runnerProgram();
    auto process = std::make_unique<QProcess>();
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    QEventLoop loop;
    bool started = true;
    QObject::connect(process.get(), &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(process.get(), &QProcess::errorOccurred, &loop,
                     [&](QProcess::ProcessError error) {
                         if (error == QProcess::FailedToStart) {
                             started = false;
                             loop.quit();
                         }
                     });
    process->start(program, {QStringLiteral("?SYSTEMDATA=%1?SYSTEMDATA").arg(m_systemFile),
                             QStringLiteral("?REPORTDATA=%1?REPORTDATA").arg(m_reportFile)});
    if (started && process->state() != QProcess::NotRunning)
        loop.exec();
    else if (process->error() == QProcess::FailedToStart)
        started = false;
    if (started && process->state() != QProcess::NotRunning) {
        // The wait ended while the runner still runs: the program is ending (the desktop
        // session is closing). The runner is left to finish on its own, its preview or print
        // may still be wanted; destroying its QProcess would kill it, so it is let go of, and
        // the data files it reads stay.
        QObject::disconnect(process.get(), nullptr, &loop, nullptr);
        static_cast<void>(process.release());
        if (m_dir)
            m_dir->setAutoRemove(false);
    } else if (!started) {
        m_ui.error(QStringLiteral("Při spouštění souboru %1 došlo k chybě.").arg(program));
    } else if (process->exitStatus() == QProcess::CrashExit) {
        // The runner tells its own failures; only a crash would otherwise pass unnoticed.
        m_ui.error(QStringLiteral("Program %1 byl neočekávaně ukončen, sestava nemusela být "
                                  "vytištěna.")
                       .arg(program));
    } else {
        m_exitCode = process->exitCode();
    }
    if (controlsEnabled)
        controlsEnabled(true);
    return started;
}

bool offerToMarkAsSent(core::Database& agenda, qint64 offerId, const core::CurrentUser& user,
                       core::UserInteraction& ui) {
    if (user.nabidky == core::AccessLevel::ReadOnly || user.nabidky == core::AccessLevel::Denied)
        return false;
    QSqlQuery q =
        agenda.select(QStringLiteral("SELECT Doklad, IDStav, Zamek FROM Nabidky WHERE ID = :ID"),
                      {{QStringLiteral("ID"), offerId}});
    if (!q.next())
        return false;
    const QString doklad = q.value(0).toString();
    const int state = q.value(1).toInt();
    const bool locked = q.value(2).toInt() != 0;
    q.finish();
    // Only an offer still being prepared or corrected becomes "sent" by its printing.
    if (locked ||
        (state != offers::OfferState::InProgress && state != offers::OfferState::Correction))
        return false;
    if (!ui.question(QStringLiteral("Chcete nabídku %1 označit příznakem \"odeslaná (čekáme na "
                                    "vyjádření odběratele)\" ?")
                         .arg(doklad)))
        return false;
    if (!agenda.execute(QStringLiteral("UPDATE Nabidky SET IDStav = :IDStav WHERE ID = :ID"),
                        {{QStringLiteral("IDStav"), offers::OfferState::Sent},
                         {QStringLiteral("ID"), offerId}})) {
        ui.error(core::saveFailedMessage(QStringLiteral("Nabidky")));
        return false;
    }
    return true;
}

bool printOfferDirectly(const ReportContext& context, core::UserInteraction& ui, qint64 offerId,
                        const QString& operation, const QString& runner) {
    ReportChoice choice;
    choice.printType = print_type::Offers;
    choice.reportKind = report_kind::Offer;
    choice.file = QStringLiteral("_NABKSP");
    choice.builtIn = true;
    const QString remembered =
        services::profile::loadValue(services::profile::value::OfferReport).trimmed();
    if (!remembered.isEmpty()) {
        bool builtInList = false;
        bool builtInOffer = false;
        for (const BuiltInReport& r : builtInReports(print_type::Offers)) {
            if (r.file == remembered) {
                builtInList = r.kind != report_kind::Offer;
                builtInOffer = r.kind == report_kind::Offer;
            }
        }
        // A user's own report is taken as an offer report; its kind lives with the print window.
        if (!builtInList) {
            choice.file = remembered;
            choice.builtIn = builtInOffer;
        }
    }
    ReportSubject subject;
    subject.offerId = offerId;
    ReportSession session(context, ui);
    if (!runner.isEmpty())
        session.setRunnerProgram(runner);
    if (session.prepareReportData(choice, subject, operation) != 0 || !session.startReportRunner())
        return false;
    if (operation != QLatin1String("PRINT") && operation != QLatin1String("PREVIEW"))
        return false;
    return offerToMarkAsSent(context.agenda, offerId, context.user, ui);
}

} // namespace orvento::output
