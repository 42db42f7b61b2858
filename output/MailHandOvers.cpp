#include "output/MailHandOvers.h"

#include "core/AgendaSettings.h"
#include "core/CurrentUser.h"
#include "output/MailPasswords.h"
#include "output/MailProgramHandOver.h"
#include "output/MailSmtpHandOver.h"

namespace orvento::output {

QString mailSender(const ReportContext& context) {
    const QString own = context.user.email.trimmed();
    return own.isEmpty() ? context.settings.email.trimmed() : own;
}

std::unique_ptr<MailHandOver>
makeMailHandOver(const MailConfig& config, const ReportContext& context, MailPasswords& passwords) {
    switch (config.method) {
    case MailConfig::Method::Command:
        return std::make_unique<MailProgramHandOver>(config.command);
    case MailConfig::Method::Smtp: {
        auto smtp = std::make_unique<MailSmtpHandOver>(
            config, mailSender(context), [&passwords, config](core::UserInteraction& ui) {
                return passwords.password(config, ui);
            });
        smtp->setLoginRefused([&passwords, config] { passwords.forget(config); });
        return smtp;
    }
    case MailConfig::Method::Desktop:
        break;
    }
    return std::make_unique<MailProgramHandOver>();
}

} // namespace orvento::output
