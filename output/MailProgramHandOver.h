#pragma once

#include "output/MailHandOver.h"

#include <chrono>
#include <optional>

namespace orvento::output {

// Hands a message to a mail program of the desktop: `xdg-email` (the desktop's default mail
// program) or the firm's own command from Tovaro.ini, started without a shell. The program opens
// its compose window with the recipient and the files; exit code 0 counts as sent (the person
// sends from there and then answers the question about the offer's state), a missing program or
// exit code 3 means no mail program is set up. A program still running after the hand-over time
// (it waits for a mail program it started) counts as handed over and outlives this program.
class MailProgramHandOver : public MailHandOver {
public:
    static constexpr std::chrono::milliseconds kHandOverTime{20000};
    static constexpr int kNoMailProgram = 3; // xdg-email: no handler for mailto

    // The desktop's mail program.
    MailProgramHandOver();
    // The firm's command line: %TO% is replaced by the address within its argument, an argument
    // holding %ATTACHMENTS% is repeated once per file (and left out without files).
    explicit MailProgramHandOver(QString commandLine);

    MailResult send(const MailMessage& message, core::UserInteraction& ui) override;

    // The program (first) and its arguments for the message; nothing when the command line is
    // empty.
    std::optional<QStringList> commandFor(const MailMessage& message) const;
    // How long the program may run before it counts as handed over (tests shorten it).
    void setHandOverTime(std::chrono::milliseconds time) { m_handOverTime = time; }

    // The mail URL of one recipient.
    static QString mailtoUrl(const QString& address);

private:
    bool m_desktop;
    QString m_command;
    std::chrono::milliseconds m_handOverTime = kHandOverTime;
};

// The message when no mail program takes e-mail over, pointing to sending through a mail server.
QString noMailProgramMessage();

} // namespace orvento::output
