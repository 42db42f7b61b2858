#include "output/MailOffer.h"

#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/ProgressScope.h"
#include "core/UserInteraction.h"
#include "output/MailFolder.h"
#include "services/SharedDocuments.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSqlQuery>

namespace orvento::output {

namespace {

const QString kPdfName = QStringLiteral("nabidka.pdf");

} // namespace

bool acceptMailForm(const MailForm& form, core::UserInteraction& ui) {
    if (!isSingleAddress(form.address)) {
        ui.warning(QStringLiteral("Zadejte platnou e-mailovou adresu."));
        return false;
    }
    return true;
}

QString mailWaitText() {
    return QStringLiteral("Generování e-mailu, spouštění výchozího poštovního klienta\r"
                          "[prosím čekejte]");
}

OfferMail::OfferMail(const ReportContext& context, core::UserInteraction& ui,
                     MailHandOver& handOver, MailFormEditor editor)
    : m_context(context)
    , m_ui(ui)
    , m_handOver(handOver)
    , m_editor(std::move(editor))
    , m_documentsFolder([](qint64 id) { return core::programState().offerDocumentsFolder(id); }) {}

QString OfferMail::customerAddress(qint64 addressId) const {
    if (addressId == 0)
        return QString();
    QSqlQuery q =
        m_context.agenda.select(QStringLiteral("SELECT Email FROM Adresar WHERE ID = :ID"),
                                {{QStringLiteral("ID"), addressId}});
    return q.next() ? q.value(0).toString() : QString();
}

// The offer's linked documents as full paths; a shared link that names no bare file gives an
// empty path, which counts as missing.
QStringList OfferMail::offerDocuments(qint64 offerId) const {
    const QString folder = m_documentsFolder(offerId);
    QSqlQuery q = m_context.agenda.select(
        QStringLiteral("SELECT Soubor FROM DokumentyNab WHERE CisloNab = :CisloNab ORDER BY ID"),
        {{QStringLiteral("CisloNab"), offerId}});
    QStringList files;
    while (q.next()) {
        const QString link = q.value(0).toString();
        const QString path = services::expandLink(link, folder);
        files << (path.isEmpty() ? link : path);
    }
    return files;
}

std::optional<QStringList> OfferMail::existingFiles(const QStringList& files,
                                                    const MailFolder& copies) {
    const auto goOn = [this](const QString& text) {
        return m_ui.question(text);
    };
    QStringList existing;
    for (const QString& file : files) {
        const QFileInfo info(file);
        if (services::isSharedLink(file) || !info.isFile()) {
            if (!goOn(QStringLiteral("Soubor %1 neexistuje a nebude tedy připojen k e-mailu. "
                                     "Chcete pokračovat ?")
                          .arg(QDir::toNativeSeparators(file))))
                return std::nullopt;
            continue;
        }
        if (!info.isReadable()) {
            if (!goOn(QStringLiteral("Soubor %1 nelze přečíst a nebude tedy připojen k e-mailu. "
                                     "Chcete pokračovat ?")
                          .arg(QDir::toNativeSeparators(file))))
                return std::nullopt;
            continue;
        }
        const QString safe = copies.safeName(file);
        if (safe.isEmpty()) {
            if (!goOn(QStringLiteral("Soubor %1 se nepodařilo připravit k odeslání a nebude tedy "
                                     "připojen k e-mailu. Chcete pokračovat ?")
                          .arg(QDir::toNativeSeparators(file))))
                return std::nullopt;
            continue;
        }
        existing << safe;
    }
    return existing;
}

bool OfferMail::send(ReportSession& session, const ReportChoice& choice, qint64 offerId,
                     const std::function<void(bool)>& controlsEnabled) {
    const std::optional<MailFolder> folder = MailFolder::create(m_folderRoot);
    if (!folder) {
        m_ui.error(QStringLiteral("Nelze vytvořit složku pro soubory e-mailu %1.")
                       .arg(QDir::toNativeSeparators(
                           m_folderRoot.isEmpty() ? MailFolder::defaultRoot() : m_folderRoot)));
        return false;
    }
    m_lastFolder = folder->path();
    // Whatever was not handed over leaves nothing behind; a compose window may still read the
    // files of a message that was.
    bool keepFolder = false;
    const auto cleanUp = qScopeGuard([&] {
        if (!keepFolder)
            QDir(folder->path()).removeRecursively();
    });

    const QString pdf = folder->path() + kPdfName;
    QFile::remove(pdf);
    if (QFileInfo::exists(pdf)) {
        m_ui.error(QStringLiteral("Nelze přepsat dočasný soubor ") + QDir::toNativeSeparators(pdf));
        return false;
    }
    ReportSubject subject;
    subject.offerId = offerId;
    if (session.prepareReportData(choice, subject, QStringLiteral("PDFEXPORT"), pdf) != 0)
        return false;
    if (!session.startReportRunner(controlsEnabled))
        return false;
    // A runner that failed may have left a half-made file: it is missing, not attached.
    if (session.lastExitCode() != 0)
        QFile::remove(pdf);

    QSqlQuery offer = m_context.agenda.select(
        QStringLiteral("SELECT AdrCislo, Doklad FROM Nabidky WHERE ID = :ID"),
        {{QStringLiteral("ID"), offerId}});
    const bool found = offer.next();
    const qint64 addressId = found ? offer.value(0).toLongLong() : 0;
    const QString doklad = found ? offer.value(1).toString() : QString();
    offer.finish();

    MailForm form;
    form.address = customerAddress(addressId);
    form.composes = m_handOver.composesItself();
    form.subject = QStringLiteral("Nabídka ") + doklad;
    form.attachments = {pdf};
    if (form.composes)
        form.attachments += offerDocuments(offerId);
    if (!m_editor(form))
        return false;

    QStringList files{pdf};
    if (form.attachDocuments)
        files += offerDocuments(offerId);
    const std::optional<QStringList> existing = existingFiles(files, *folder);
    if (!existing)
        return false;
    MailResult result;
    {
        // SMTP may be stopped with "<zrušit>"; a mail program is waited for to its end.
        core::ProgressScope handing(m_ui, mailWaitText(), 0, form.composes);
        MailMessage message;
        message.to = form.address.trimmed();
        message.attachments = *existing;
        if (form.composes) {
            message.subject = form.subject;
            message.body = form.body;
        }
        result = m_handOver.send(message, m_ui);
    }
    switch (result.outcome) {
    case MailOutcome::Discarded:
        return false;
    case MailOutcome::Failed:
        m_ui.error(result.error);
        return false;
    case MailOutcome::Sent:
        break;
    }
    keepFolder = !form.composes;
    return offerToMarkAsSent(m_context.agenda, offerId, m_context.user, m_ui);
}

} // namespace orvento::output
