#pragma once

#include "output/MailConfig.h"
#include "output/MailHandOver.h"
#include "output/ReportData.h"

#include <memory>

namespace orvento::output {

class MailPasswords;

// The hand-over the workstation's settings choose. The server's sender is the user's own
// address, else the firm's.
std::unique_ptr<MailHandOver>
makeMailHandOver(const MailConfig& config, const ReportContext& context, MailPasswords& passwords);

// The sender of a message sent through the mail server.
QString mailSender(const ReportContext& context);

} // namespace orvento::output
