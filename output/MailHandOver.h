#pragma once

#include <QString>
#include <QStringList>

#include <memory>

namespace orvento::core {
class UserInteraction;
}

namespace orvento::output {

// One message handed over: one recipient, the files in their order, and for a hand-over without
// a compose window of its own (SMTP) the subject and text the person wrote in the e-mail window.
struct MailMessage {
    QString to;
    QStringList attachments; // full paths of existing files
    QString subject;
    QString body;
};

// How a hand-over ended: the message went (or its compose window is open and the person will
// send it from there), the person discarded it, or it failed with a message to show.
enum class MailOutcome { Sent, Discarded, Failed };

struct MailResult {
    MailOutcome outcome = MailOutcome::Failed;
    QString error; // Czech, for Failed only; never holds a password

    static MailResult sent() { return {MailOutcome::Sent, {}}; }
    static MailResult discarded() { return {MailOutcome::Discarded, {}}; }
    static MailResult failed(const QString& why) { return {MailOutcome::Failed, why}; }
};

// The way a message leaves this workstation: the desktop's mail program, the firm's own mail
// command or a mail server reached directly.
class MailHandOver {
public:
    virtual ~MailHandOver() = default;
    // Hands the message over and waits (the interface kept alive) until it is sent, discarded or
    // failed; `ui` is the one to ask for a password or to keep alive.
    virtual MailResult send(const MailMessage& message, core::UserInteraction& ui) = 0;
    // True when this program writes the whole message itself (no compose window follows): the
    // e-mail window then also offers a subject and a text.
    virtual bool composesItself() const { return false; }
};

// The recipient check: after trimming, exactly one address: one "@" with something on both
// sides, no blanks, no control characters and none of the characters that would let a stored
// address add recipients, headers or attachments to a mail URL or a command line.
bool isSingleAddress(const QString& address);

} // namespace orvento::output
