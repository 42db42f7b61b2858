#include "output/PrintWindowLogic.h"

#include "output/ExportFileCheck.h"

#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/ProgressScope.h"
#include "core/ShellOperations.h"
#include "core/UserInteraction.h"
#include "output/MailConfig.h"
#include "output/MailHandOvers.h"
#include "output/MailPasswords.h"
#include "output/ReportCatalogue.h"
#include "output/XlsxExport.h"
#include "services/ProfileStore.h"
#include "services/ProfileValues.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace orvento::output {

PrintDefaults printDefaults(int printType) {
    namespace value = services::profile::value;
    switch (printType) {
    case print_type::Offers:
        return {value::OfferReport, value::OfferPrinter, 0};
    case print_type::CatalogueWithGroups:
        return {value::CatalogueWithGroupsReport, value::CataloguePrinter, 0};
    case print_type::CatalogueWithoutGroups:
        // Both price lists share one printer.
        return {value::CatalogueWithoutGroupsReport, value::CataloguePrinter, 0};
    case print_type::AddressBook:
        return {value::AddressBookReport, value::AddressBookPrinter, 0};
    case print_type::Note:
        return {value::NoteReport, value::NotePrinter, 0};
    case print_type::CatalogueWithGroupsExport:
        return {value::CatalogueWithGroupsExportReport, 0, value::CatalogueWithGroupsExportFile};
    case print_type::CatalogueWithoutGroupsExport:
        return {value::CatalogueWithoutGroupsExportReport, 0,
                value::CatalogueWithoutGroupsExportFile};
    default:
        return {};
    }
}

bool storeUserReports(core::Database& global, int printType, const std::vector<ReportRow>& rows,
                      core::UserInteraction& ui) {
    // Deleting and inserting again must not lose the user's reports halfway; a failure is
    // reported once the unit has been rolled back.
    const bool stored = [&] {
        core::Transaction unit(global);
        if (!unit.isActive() ||
            !global.execute(QStringLiteral("DELETE FROM Sestavy WHERE IDModulu = :IDModulu"),
                            {{QStringLiteral("IDModulu"), printType}}))
            return false;
        for (const ReportRow& r : rows) {
            if (r.original)
                continue;
            if (!global.execute(
                    QStringLiteral("INSERT INTO Sestavy (Nazev, Soubor, Popis, IDModulu, TypSest) "
                                   "VALUES (:Nazev, :Soubor, :Popis, :IDModulu, :TypSest)"),
                    {{QStringLiteral("Nazev"), r.name},
                     {QStringLiteral("Soubor"), r.file},
                     {QStringLiteral("Popis"), r.description},
                     {QStringLiteral("IDModulu"), printType},
                     {QStringLiteral("TypSest"), r.kind}}))
                return false;
        }
        return unit.commit();
    }();
    if (!stored)
        ui.error(core::saveFailedMessage(QStringLiteral("Sestavy")));
    return stored;
}

QString userReportsUnreadableMessage(const QString& reason) {
    return QStringLiteral("Uživatelské tiskové sestavy se nepodařilo načíst z tabulky \"Sestavy\" "
                          "(%1).\n\nNabízejí se jen sestavy programu; uživatelské sestavy nelze "
                          "kopírovat, přidávat, měnit ani mazat, dokud se je nepodaří načíst.")
        .arg(reason);
}

std::pair<QString, int> copyFileName(const QString& folder, const QString& file,
                                     const QString& extension) {
    QString base = file.trimmed();
    if (base.startsWith(QLatin1Char('_')))
        base.remove(0, 1);
    const qsizetype bracket = base.indexOf(QLatin1Char('['));
    if (bracket >= 0)
        base.truncate(bracket);
    for (int n = 2; n < 999; ++n) {
        const QString candidate = base + QStringLiteral("[%1]").arg(n);
        if (findTemplate(folder, candidate, extension).isEmpty())
            return {candidate, n};
    }
    return {base + QStringLiteral("[999]"), 999};
}

PrintRequest PrintRequest::offers(qint64 currentOffer, std::vector<qint64> listedOffers) {
    PrintRequest request;
    request.printType = print_type::Offers;
    request.subject.offerId = currentOffer;
    request.subject.offerIds = std::move(listedOffers);
    return request;
}

PrintRequest PrintRequest::savedOffer(qint64 offerId) {
    PrintRequest request;
    request.printType = print_type::Offers;
    request.onlyKind = report_kind::Offer;
    request.subject.offerId = offerId;
    return request;
}

PrintRequest PrintRequest::firms(std::vector<qint64> firmIds) {
    PrintRequest request;
    request.printType = print_type::AddressBook;
    request.subject.firmIds = std::move(firmIds);
    return request;
}

PrintWindowLogic::PrintWindowLogic(const ReportContext& context, core::Database& global,
                                   core::UserInteraction& ui, int printType,
                                   std::optional<int> onlyKind, PrinterSource printers)
    : m_context(context)
    , m_global(global)
    , m_ui(ui)
    , m_printType(printType)
    , m_onlyKind(onlyKind)
    , m_printerSource(std::move(printers))
    , m_session(m_context, ui) {}

PrintWindowLogic::~PrintWindowLogic() = default;

QString PrintWindowLogic::preparingText() {
    return QStringLiteral("Příprava tiskového procesu...\n[čekejte prosím]");
}

QString PrintWindowLogic::originTip(const ReportRow& row) {
    return row.original ? QStringLiteral("programová") : QStringLiteral("uživatelská");
}

QString PrintWindowLogic::extraFunctionsTitle() const {
    return exportMode() ? QStringLiteral("Exportovat do souboru")
                        : QStringLiteral("Přídavné funkce");
}

QString PrintWindowLogic::extension() const {
    return exportMode() ? QStringLiteral(".xlsx") : QStringLiteral(".FRX");
}

QString PrintWindowLogic::printFolder() const {
    return core::programState().folders.print;
}

void PrintWindowLogic::setRunnerProgram(const QString& program) {
    m_session.setRunnerProgram(program);
}

bool PrintWindowLogic::open() {
    m_rows.clear();
    m_changed = false;
    m_userReportsRead = false;
    m_defaultReport.clear();
    m_defaultPrinter = -1;
    for (const BuiltInReport& r : builtInReports(m_printType))
        m_rows.push_back({true, r.name, r.file, r.description, r.kind});

    const PrintDefaults numbers = printDefaults(m_printType);
    const QString remembered = services::profile::loadValue(numbers.report);
    int printer = -1;
    if (numbers.printer != 0)
        printer =
            services::profile::parseInt(services::profile::loadValue(numbers.printer)).value_or(-1);
    if (numbers.exportFile != 0)
        exportFile = services::profile::loadValue(numbers.exportFile);

    const bool read = readUserReports();
    rebuildVisible();
    m_current = m_visible.empty() ? -1 : 0;
    for (int i = 0; i < rowCount(); ++i) {
        if (!remembered.isEmpty() && row(i).file == remembered) {
            m_current = i;
            break;
        }
    }
    fillPrinters(printer);
    return read;
}

bool PrintWindowLogic::readUserReports() {
    QSqlQuery q = m_global.select(QStringLiteral("SELECT Nazev, Soubor, Popis, TypSest FROM "
                                                 "Sestavy WHERE IDModulu = :IDModulu"),
                                  {{QStringLiteral("IDModulu"), m_printType}});
    std::vector<ReportRow> read;
    while (q.isActive() && q.next())
        read.push_back({false, q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                        q.value(3).toInt()});
    // A read that broke off half way counts as failed too: a partial list written back on
    // closing would lose the rest.
    if (!q.isActive() || q.lastError().isValid()) {
        const QString reason = q.isActive() ? q.lastError().databaseText() : m_global.lastError();
        m_ui.error(userReportsUnreadableMessage(reason));
        return false;
    }
    m_rows.insert(m_rows.end(), read.begin(), read.end());
    m_userReportsRead = true;
    return true;
}

bool PrintWindowLogic::readUserReportsAgain() {
    if (m_userReportsRead)
        return true;
    const ReportRow* before = current();
    const QString keep = before ? before->file : QString();
    if (!readUserReports())
        return false;
    rebuildVisible();
    m_current = m_visible.empty() ? -1 : 0;
    for (int i = 0; i < rowCount(); ++i)
        if (row(i).file == keep)
            m_current = i;
    return true;
}

bool PrintWindowLogic::close() {
    bool stored = true;
    // Without the stored list the rewrite would delete the user's reports.
    if (m_changed && m_userReportsRead)
        stored = storeUserReports(m_global, m_printType, m_rows, m_ui);
    if (stored)
        m_changed = false;
    const PrintDefaults numbers = printDefaults(m_printType);
    if (!m_defaultReport.isEmpty() && numbers.report != 0)
        services::profile::saveValue(numbers.report, m_defaultReport);
    if (m_defaultPrinter != -1 && numbers.printer != 0)
        services::profile::saveValue(numbers.printer, QString::number(m_defaultPrinter));
    if (numbers.exportFile != 0)
        services::profile::saveValue(numbers.exportFile, exportFile);
    return stored;
}

void PrintWindowLogic::rebuildVisible() {
    m_visible.clear();
    for (int i = 0; i < static_cast<int>(m_rows.size()); ++i)
        if (!m_onlyKind || m_rows[i].kind == *m_onlyKind)
            m_visible.push_back(i);
}

void PrintWindowLogic::setCurrentRow(int row) {
    m_current = row >= 0 && row < rowCount() ? row : (rowCount() > 0 ? 0 : -1);
}

const ReportRow* PrintWindowLogic::current() const {
    return m_current >= 0 && m_current < rowCount() ? &row(m_current) : nullptr;
}

QString PrintWindowLogic::description() const {
    const ReportRow* r = current();
    return r ? r->description : QString();
}

bool PrintWindowLogic::emailVisible() const {
    const ReportRow* r = current();
    return r && isOfferReport(m_printType, r->kind);
}

void PrintWindowLogic::fillPrinters(int index) {
    const PrinterList list = m_printerSource ? m_printerSource() : PrinterList();
    m_printers = list.names;
    if (index == -1)
        m_printerRow =
            m_printers.isEmpty() ? -1 : static_cast<int>(m_printers.indexOf(list.defaultName));
    else
        m_printerRow = index >= 0 && index < m_printers.size() ? index : -1;
}

void PrintWindowLogic::refreshPrinters() {
    const QString selected = printerName();
    const PrinterList list = m_printerSource ? m_printerSource() : PrinterList();
    m_printers = list.names;
    m_printerRow = selected.isEmpty() ? -1 : static_cast<int>(m_printers.indexOf(selected));
}

QString PrintWindowLogic::printerName() const {
    return m_printerRow >= 0 && m_printerRow < m_printers.size() ? m_printers[m_printerRow]
                                                                 : QString();
}

ReportChoice PrintWindowLogic::choice() const {
    ReportChoice c;
    const ReportRow* r = current();
    c.printType = m_printType;
    if (r) {
        c.reportKind = r->kind;
        c.file = r->file;
        c.builtIn = r->original;
    }
    c.printerName = printerName();
    c.pageFrom = pageFrom;
    c.pageTo = pageTo;
    c.copies = copies;
    return c;
}

bool PrintWindowLogic::run(const QString& operation) {
    const ReportRow* r = current();
    if (!r)
        return false;
    const bool offerReport = isOfferReport(m_printType, r->kind);
    if (m_session.prepareReportData(choice(), m_subject, operation) == 0 &&
        m_session.startReportRunner(m_enable) && offerReport &&
        offerToMarkAsSent(m_context.agenda, m_subject.offerId, m_context.user, m_ui))
        m_stateChanged = true;
    return !editing;
}

bool PrintWindowLogic::print() {
    if (exportMode())
        return false;
    return run(QStringLiteral("PRINT"));
}

bool PrintWindowLogic::preview() {
    if (exportMode()) {
        m_ui.information(
            QStringLiteral("Náhled je k dispozici pouze při tisku, nikoliv při exportu."));
        return false;
    }
    return run(QStringLiteral("PREVIEW"));
}

void PrintWindowLogic::exportReport() {
    const ReportRow* r = current();
    if (!exportMode() || !r)
        return;
    QString templatePath;
    ExportFileCheck check;
    check.beforeOverwrite = [&] {
        templatePath = findTemplate(printFolder(), r->file, extension());
        if (!templatePath.isEmpty())
            return true;
        QString text = QStringLiteral("Převodní šablona - soubor \"%1\" neexistuje.")
                           .arg(printFolder() + r->file + extension());
        if (r->original)
            text += QStringLiteral("\r\rProveďte reinstalaci programu.");
        m_ui.warning(text);
        return false;
    };
    check.lockedWarning = QStringLiteral("Chyba: nelze přepsat výstupní soubor \"%1\". "
                                         "Zkontrolujte, zda není používán jiným programem (např. "
                                         "zda není otevřen v MS Excel, apod.).");
    // The old file stays until the new one is whole beside it: a failed export loses nothing.
    check.removeOld = false;
    const auto checked = checkExportFile(m_ui, exportFile, check);
    if (!checked)
        return;
    const QString& file = *checked;
    const SpreadsheetExporter exporter =
        m_exporter ? m_exporter : priceListExporter(m_subject.priceList);
    QString written;
    const QString error = [&] {
        const core::ProgressScope wait(
            m_ui, QStringLiteral("Probíhá export sestavy\rprosím čekejte..."), 0, false);
        if (!exporter)
            return QStringLiteral("Export do tabulky není k dispozici");
        const auto temporary = temporaryBeside(file);
        if (!temporary)
            return QStringLiteral("Soubor \"%1\" nelze zapsat.").arg(file);
        written = *temporary;
        return exporter(templatePath, written);
    }();
    if (!error.isEmpty()) {
        if (!written.isEmpty())
            QFile::remove(written);
        m_ui.error(
            QStringLiteral("Při exportu sestavy došlo k následující chybě: \"%1\".").arg(error));
        return;
    }
    if (!replaceFile(written, file)) {
        QFile::remove(written);
        m_ui.warning(check.lockedWarning.arg(file));
        return;
    }
    if (core::shell::runDocument(file) == core::shell::OpenResult::NoAssociatedProgram)
        m_ui.information(
            QStringLiteral("Se souborem \"%1\" není asociován žádný program - pravděpodobně "
                           "nemáte nainstalovaný MS Excel, resp. program, který dokáže *.XLSX "
                           "soubory zobrazit (prohlížeč MS Excel, 602Tab, apod.).")
                .arg(file) +
            QStringLiteral("Chcete-li si výsledný soubor prohlédnout, musíte mít takový program "
                           "nainstalovaný."));
}

void PrintWindowLogic::chooseExportFile() {
    const QString start = QFileInfo(exportFile.trimmed()).path();
    const auto chosen =
        m_ui.chooseSaveFile(QStringLiteral("Uložit do souboru"), start,
                            QStringLiteral("Soubory MS Excel (*.xlsx);;Všechny soubory (*.*)"));
    if (!chosen)
        return;
    QString name = *chosen;
    if (QFileInfo(name).suffix().isEmpty())
        name += QStringLiteral(".XLSX");
    exportFile = name;
}

void PrintWindowLogic::editReport() {
    const ReportRow* r = current();
    if (!r)
        return;
    if (r->original && !core::programState().builderMode) {
        m_ui.information(QStringLiteral(
            "Tato sestava je součástí programu a nelze ji editovat přímo - můžete však vytvořit "
            "kopii sestavy (tlačítkem \"Vytvořit kopii tiskové sestavy\") a tu potom libovolně "
            "upravovat."));
        return;
    }
    if (exportMode()) {
        const QString path = printFolder() + r->file + extension();
        const QString found = findTemplate(printFolder(), r->file, extension());
        if (core::shell::runDocument(found.isEmpty() ? path : found) ==
            core::shell::OpenResult::NoAssociatedProgram)
            m_ui.warning(QStringLiteral("Se soubory XLSX není asociován žádný program - "
                                        "pravděpodobně nemáte nainstalovaný MS Excel."));
        return;
    }
    if (m_session.prepareReportData(choice(), m_subject, QStringLiteral("EDIT")) == 0)
        m_session.startReportRunner(m_enable);
}

void PrintWindowLogic::copyReport(const PropertiesEditor& editor) {
    if (!m_userReportsRead || reportProperties(true, false, editor) != 0)
        return;
    if (m_ui.question(
            QStringLiteral("Chcete zkopírovanou sestavu upravit pomocí editoru formulářů ?")))
        editReport();
}

void PrintWindowLogic::deleteReport() {
    const ReportRow* r = current();
    if (!r || !m_userReportsRead)
        return;
    if (r->original) {
        m_ui.information(QStringLiteral("Tato sestava je součástí programu a nelze ji smazat."));
        return;
    }
    if (!m_ui.question(QStringLiteral("Opravdu chcete vyjmout tiskovou sestavu ?")))
        return;
    const int row = m_current;
    m_rows.erase(m_rows.begin() + m_visible[row]);
    m_changed = true;
    rebuildVisible();
    setCurrentRow(row < rowCount() ? row : row - 1);
}

int PrintWindowLogic::reportProperties(bool copy, bool fromDisk, const PropertiesEditor& editor) {
    const ReportRow* source = current();
    if (!m_userReportsRead || (!fromDisk && !source))
        return -1;
    ReportPropertiesForm form;
    form.kinds = reportKinds(m_printType);
    form.kind = 0;
    form.extension = exportMode() ? QStringLiteral(".XLSX") : QStringLiteral(".FRX");
    const QString folder = printFolder();
    if (!fromDisk) {
        form.name = source->name;
        form.description = source->description;
        // The name keeps its letters: templates live on file systems that tell case apart.
        form.file = source->file.trimmed();
        form.kind = std::clamp(source->kind - 1, 0, std::max(0, int(form.kinds.size()) - 1));
    }
    form.fileEnabled = fromDisk || copy;
    form.browseEnabled = fromDisk;
    form.kindEnabled = fromDisk;
    form.okEnabled = true;
    form.typeText = QStringLiteral("uživatelská");
    if (!copy && !fromDisk && source->original) {
        form.okEnabled = false;
        form.typeText = QStringLiteral("programová (nelze provádět změny)");
    }
    QString sourcePath;
    if (copy) {
        sourcePath = findTemplate(folder, source->file, extension());
        if (sourcePath.isEmpty())
            sourcePath = folder + source->file + extension();
        const auto [file, number] = copyFileName(folder, source->file, extension());
        form.file = file;
        QString name = source->name;
        const qsizetype bracket = name.indexOf(QLatin1Char('['));
        if (bracket >= 0)
            name.truncate(bracket);
        form.name = name + QStringLiteral("[%1]").arg(number);
    }

    QString stored;
    for (;;) {
        if (!editor || !editor(form) || !form.okEnabled)
            return -1;
        const QString file = form.file.trimmed();
        const QString target = folder + file + extension();
        const QString existing = findTemplate(folder, file, extension());
        if (!copy) {
            if (existing.isEmpty()) {
                m_ui.warning(
                    QStringLiteral("Soubor %1 neexistuje! Zadejte existující název souboru.")
                        .arg(target));
                continue;
            }
            // Stored with the letters the file has on disk, so that it is found again as it is.
            stored = QFileInfo(existing).completeBaseName();
            break;
        }
        if (!existing.isEmpty() &&
            !m_ui.question(
                QStringLiteral("Soubor %1 již existuje, opravdu ho chcete přepsat ?").arg(target)))
            continue;
        bool copied = true;
        if (!existing.isEmpty() && QFileInfo(existing) != QFileInfo(sourcePath))
            copied = QFile::remove(existing);
        if (copied && QFileInfo(target) != QFileInfo(sourcePath)) {
            QFile::remove(target);
            copied = QFile::copy(sourcePath, target);
        }
        if (!copied || !QFileInfo(target).isFile()) {
            m_ui.error(QStringLiteral("Při kopírování souboru %1 na %2 došlo k chybě.")
                           .arg(sourcePath, target));
            return -1;
        }
        stored = file;
        break;
    }

    ReportRow changedRow{false, form.name.trimmed().left(50), stored, form.description.left(255),
                         form.kind + 1};
    if (copy || fromDisk) {
        m_rows.push_back(changedRow);
        rebuildVisible();
        const int index = static_cast<int>(m_rows.size()) - 1;
        for (int i = 0; i < rowCount(); ++i)
            if (m_visible[i] == index)
                m_current = i;
    } else {
        m_rows[m_visible[m_current]] = changedRow;
        const int keep = m_current;
        rebuildVisible();
        setCurrentRow(keep);
    }
    m_changed = true;
    return 0;
}

bool PrintWindowLogic::acceptProperties(const ReportPropertiesForm& form) {
    const QString file = form.file.trimmed();
    if (file.isEmpty()) {
        m_ui.information(QStringLiteral("Musíte zadat název souboru."));
        return false;
    }
    if (file.startsWith(QLatin1Char('_'))) {
        m_ui.information(QStringLiteral("Název souboru uživatelské sestavy nesmí začínat znakem "
                                        "\"_\". Opravte název souboru."));
        return false;
    }
    if (form.name.trimmed().isEmpty()) {
        m_ui.information(QStringLiteral("Musíte zadat název sestavy."));
        return false;
    }
    return true;
}

std::optional<QString> PrintWindowLogic::chooseTemplateFile() {
    const QString ext = exportMode() ? QStringLiteral(".XLSX") : QStringLiteral(".FRX");
    const auto chosen = m_ui.chooseOpenFile(
        QStringLiteral("Vyberte formulářový soubor"), printFolder(),
        QStringLiteral("Formulářové soubory (*%1 *%2)").arg(ext, ext.toLower()));
    if (!chosen)
        return std::nullopt;
    return QFileInfo(*chosen).completeBaseName();
}

void PrintWindowLogic::setDefaultPrinter() {
    if (m_printerRow < 0)
        return;
    m_defaultPrinter = m_printerRow;
    m_ui.information(
        QStringLiteral("Tiskárna %1 byla nastavena jako výchozí pro tuto tiskovou funkci.")
            .arg(printerName()));
}

void PrintWindowLogic::setDefaultReport() {
    const ReportRow* r = current();
    if (!r)
        return;
    m_defaultReport = r->file;
    m_ui.information(QStringLiteral("Sestava \"%1\" byla nastavena jako výchozí.").arg(r->name));
}

void PrintWindowLogic::openTemplateFolder() {
    core::shell::runDocument(printFolder());
}

void PrintWindowLogic::setMailHandOver(std::unique_ptr<MailHandOver> handOver) {
    m_mailHandOver = std::move(handOver);
}

void PrintWindowLogic::sendByEmail(const MailFormEditor& editor) {
    if (!emailVisible())
        return;
    MailPasswords passwords(*m_secrets);
    std::unique_ptr<MailHandOver> configured;
    MailHandOver* handOver = m_mailHandOver.get();
    if (!handOver) {
        configured = makeMailHandOver(MailConfig::load(core::programState().folders.iniFile),
                                      m_context, passwords);
        handOver = configured.get();
    }
    OfferMail mail(m_context, m_ui, *handOver, editor);
    mail.setFolderRoot(m_mailFolderRoot);
    if (mail.send(m_session, choice(), m_subject.offerId, m_enable))
        m_stateChanged = true;
}

void PrintWindowLogic::saveAsPdf() {
    const ReportRow* r = current();
    if (!pdfAvailable() || !r)
        return;
    std::optional<QString> chosen =
        m_ui.chooseSaveFile(QStringLiteral("Uložit jako PDF"), QDir::homePath(),
                            QStringLiteral("Soubory PDF (*.pdf);;Všechny soubory (*)"));
    if (!chosen || chosen->trimmed().isEmpty())
        return;
    QString file = chosen->trimmed();
    if (!file.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        file += QStringLiteral(".pdf");
    if (m_session.prepareReportData(choice(), m_subject, QStringLiteral("PDFEXPORT"), file) != 0 ||
        !m_session.startReportRunner(m_enable) || m_session.lastExitCode() != 0)
        return;
    m_ui.information(
        QStringLiteral("Sestava byla uložena do souboru %1.").arg(QDir::toNativeSeparators(file)));
    if (isOfferReport(m_printType, r->kind) &&
        offerToMarkAsSent(m_context.agenda, m_subject.offerId, m_context.user, m_ui))
        m_stateChanged = true;
}

} // namespace orvento::output
