#include "output/XmlExportLogic.h"

#include "core/ProgressScope.h"
#include "core/UserInteraction.h"
#include "output/ExportFileCheck.h"
#include "services/ProfileStore.h"
#include "services/ProfileValues.h"

#include <QDateTime>
#include <QFileInfo>
#include <QProcess>

namespace orvento::output {

namespace {

namespace value = services::profile::value;
using xml_export::Kind;

bool startDetached(const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments);
}

QString folderOf(const QString& path) {
    const QString trimmed = path.trimmed();
    return trimmed.isEmpty() ? QString() : QFileInfo(trimmed).path();
}

} // namespace

XmlExportValues xmlExportValues(Kind kind) {
    if (kind == Kind::Offers)
        return {value::OfferXmlFile, value::OfferXmlProgram, value::OfferXmlRunProgram,
                value::OfferXmlPassFile};
    return {value::AddressXmlFile, value::AddressXmlProgram, value::AddressXmlRunProgram,
            value::AddressXmlPassFile};
}

QString XmlExportLogic::explanation() {
    return QStringLiteral("Pokud chcete exportovat více záznamů najednou, označte je nejprve v "
                          "seznamu. Můžete také zadat externí program (např. pro další "
                          "zpracování XML souboru), který se automaticky spustí po dokončení "
                          "exportu.");
}

QString xmlSaveFailedMessage(const QString& reason) {
    return QStringLiteral("Při ukládání výstupního souboru došlo k chybě:\r\r") + reason;
}

QString programNotStartedMessage(const QString& program) {
    return QStringLiteral("Externí program %1 se nepodařilo spustit.").arg(program);
}

XmlExportLogic::XmlExportLogic(const ReportContext& context, core::UserInteraction& ui, Kind kind,
                               std::vector<qint64> ids, ProgramStarter starter)
    : m_context(context)
    , m_ui(ui)
    , m_kind(kind)
    , m_ids(std::move(ids))
    , m_starter(starter ? std::move(starter) : ProgramStarter(&startDetached)) {
    const XmlExportValues numbers = xmlExportValues(kind);
    file = services::profile::loadValue(numbers.file);
    program = services::profile::loadValue(numbers.program);
    runProgram = services::profile::loadBool(numbers.runProgram, false);
    passFile = services::profile::loadBool(numbers.passFile, false);
}

void XmlExportLogic::chooseFile() {
    const auto chosen =
        m_ui.chooseSaveFile(QStringLiteral("Exportovat do souboru"), folderOf(file),
                            QStringLiteral("Soubory XML (*.xml);;Všechny soubory (*.*)"));
    if (!chosen)
        return;
    QString name = *chosen;
    if (QFileInfo(name).suffix().isEmpty())
        name += QStringLiteral(".XML");
    file = name;
}

void XmlExportLogic::chooseProgram() {
    // All files come first: programs here carry no ".exe".
    const auto chosen =
        m_ui.chooseOpenFile(QStringLiteral("Vyberte externí program"), folderOf(program),
                            QStringLiteral("Všechny soubory (*);;Programy (*.exe)"));
    if (chosen)
        program = *chosen;
}

bool XmlExportLogic::accept() {
    ExportFileCheck check;
    check.afterName = [this] {
        if (!runProgram || !program.trimmed().isEmpty())
            return true;
        m_ui.information(QStringLiteral(
            "Zadejte buď cestu k externímu programu nebo zrušte zaškrtnutí přepínače."));
        return false;
    };
    check.lockedWarning = QStringLiteral("Chyba: nelze přepsat výstupní soubor \"%1\"");
    // The old file stays until the new one is complete.
    check.removeOld = false;
    const auto checked = checkExportFile(m_ui, file, check);
    if (!checked || !write(*checked))
        return false;
    startProgram(*checked);
    remember();
    return true;
}

bool XmlExportLogic::write(const QString& path) {
    const QDateTime at = QDateTime::currentDateTime();
    QString error;
    bool saved = false;
    {
        core::ProgressScope wait(m_ui, waitText(), static_cast<int>(m_ids.size()), false);
        const QByteArray bytes = m_kind == Kind::Offers ? offerFile(at, wait) : addressFile(at);
        saved = xml_export::saveFile(path, bytes, error);
    }
    if (!saved)
        m_ui.error(xmlSaveFailedMessage(error));
    return saved;
}

QByteArray XmlExportLogic::offerFile(const QDateTime& at, core::ProgressScope& progress) {
    xml_export::XmlExportWriter writer(Kind::Offers, at);
    for (const qint64 id : m_ids) {
        progress.advance();
        // An offer another workstation deleted meanwhile is left out, as in the list report.
        if (const auto report = offerReport(m_context, id))
            writer.addOffer(*report);
    }
    return writer.finish();
}

QByteArray XmlExportLogic::addressFile(const QDateTime& at) {
    xml_export::XmlExportWriter writer(Kind::Addresses, at);
    writer.addAddresses(addressListReport(m_context.agenda, m_ids));
    return writer.finish();
}

void XmlExportLogic::startProgram(const QString& exported) {
    if (!runProgram)
        return;
    const QString path = program.trimmed();
    const QStringList arguments = passFile ? QStringList{exported} : QStringList{};
    if (!m_starter(path, arguments))
        m_ui.warning(programNotStartedMessage(path));
}

void XmlExportLogic::remember() {
    const XmlExportValues numbers = xmlExportValues(m_kind);
    services::profile::saveValue(numbers.file, file.trimmed());
    services::profile::saveValue(numbers.program, program);
    services::profile::saveBool(numbers.runProgram, runProgram);
    services::profile::saveBool(numbers.passFile, passFile);
}

} // namespace orvento::output
