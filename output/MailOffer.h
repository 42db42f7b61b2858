#pragma once

#include "output/MailHandOver.h"
#include "output/ReportSession.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace orvento::output {

class MailFolder;

// What the e-mail window (frmPoslatMail, "Odeslat e-mail") shows and what the person typed.
struct MailForm {
    QString address;              // "E-mailová adresa"
    bool attachDocuments = false; // "připojit i dokumenty z nabídky"
    // A hand-over without a compose window of its own: the window also shows the subject, an
    // editable text and the files that go with the message.
    bool composes = false;
    QString subject;
    QString body;
    QStringList attachments;
};

// Shows the e-mail window with the form and lets the person change it; false for "Storno" and
// Esc. The window asks acceptMailForm before it closes with "OK".
using MailFormEditor = std::function<bool(MailForm&)>;

// "OK" of the e-mail window: false after the warning when the window must stay open.
bool acceptMailForm(const MailForm& form, core::UserInteraction& ui);

// The wait window's text while the message is handed over.
QString mailWaitText();

// Sends the current offer's report as a PDF by e-mail: the runner writes the PDF into a folder
// of this message's own, the e-mail window asks for the recipient and whether the offer's
// documents go too, missing files are asked about, and the hand-over sends it. Sent: the
// question about the offer's state; discarded: nothing; failed: the error, the state unchanged.
class OfferMail {
public:
    OfferMail(const ReportContext& context, core::UserInteraction& ui, MailHandOver& handOver,
              MailFormEditor editor);

    // Where the messages' folders are made (tests); the user's cache folder otherwise.
    void setFolderRoot(const QString& root) { m_folderRoot = root; }
    // The shared documents folder of an offer (tests); the agenda's otherwise.
    void setDocumentsFolder(std::function<QString(qint64)> folder) {
        m_documentsFolder = std::move(folder);
    }

    // True when the offer's state was changed, so that its list reloads. `controlsEnabled`
    // goes to the runner as with a print.
    bool send(ReportSession& session, const ReportChoice& choice, qint64 offerId,
              const std::function<void(bool)>& controlsEnabled = {});

    // The folder of the last message (tests); empty before the first.
    const QString& lastFolder() const { return m_lastFolder; }

private:
    QString customerAddress(qint64 addressId) const;
    QStringList offerDocuments(qint64 offerId) const;
    // The files that exist, in order; nothing when the person chose not to go on without one.
    std::optional<QStringList> existingFiles(const QStringList& files, const MailFolder& copies);

    ReportContext m_context;
    core::UserInteraction& m_ui;
    MailHandOver& m_handOver;
    MailFormEditor m_editor;
    QString m_folderRoot;
    std::function<QString(qint64)> m_documentsFolder;
    QString m_lastFolder;
};

} // namespace orvento::output
