#include "output/MailSettingsLogic.h"

#include "core/CurrentUser.h"
#include "core/UserInteraction.h"
#include "output/MailHandOvers.h"
#include "output/MailPasswords.h"
#include "output/MailSmtpHandOver.h"
#include "services/AccessRights.h"

namespace orvento::output {

namespace {

constexpr int kLastPort = 65535;

} // namespace

MailSettingsLogic::MailSettingsLogic(const ReportContext& context, core::UserInteraction& ui,
                                     MailPasswords& passwords, QString iniPath)
    : config(MailConfig::load(iniPath))
    , m_context(context)
    , m_ui(ui)
    , m_passwords(passwords)
    , m_iniPath(std::move(iniPath)) {}

bool MailSettingsLogic::mayOpen(const core::CurrentUser& user, core::UserInteraction& ui) {
    return services::checkRight(user.globalniNastaveni, ui);
}

QStringList MailSettingsLogic::methodNames() {
    return {QStringLiteral("výchozí poštovní program"), QStringLiteral("vlastní příkaz"),
            QStringLiteral("přímo přes poštovní server (SMTP)")};
}

QStringList MailSettingsLogic::securityNames() {
    return {QStringLiteral("STARTTLS"), QStringLiteral("TLS"), QStringLiteral("žádné")};
}

bool MailSettingsLogic::check() {
    config.command = config.command.trimmed();
    config.server = config.server.trimmed();
    config.user = config.user.trimmed();
    config.caFile = config.caFile.trimmed();
    if (config.method == MailConfig::Method::Command &&
        (!config.command.contains(QLatin1String("%TO%"), Qt::CaseInsensitive) ||
         !config.command.contains(QLatin1String("%ATTACHMENTS%"), Qt::CaseInsensitive))) {
        m_ui.warning(QStringLiteral("Příkaz poštovního programu musí obsahovat %TO% (adresu) a "
                                    "%ATTACHMENTS% (přílohy)."));
        return false;
    }
    if (config.method == MailConfig::Method::Smtp) {
        if (config.server.isEmpty()) {
            m_ui.warning(QStringLiteral("Zadejte poštovní server."));
            return false;
        }
        if (config.port < 1 || config.port > kLastPort) {
            m_ui.warning(QStringLiteral("Zadejte port poštovního serveru (1 až 65535)."));
            return false;
        }
        if (config.timeoutSeconds < 1)
            config.timeoutSeconds = MailConfig::kDefaultTimeoutSeconds;
    }
    return true;
}

bool MailSettingsLogic::accept() {
    if (!check())
        return false;
    if (!config.save(m_iniPath)) {
        m_ui.error(QStringLiteral("Nastavení e-mailu nelze uložit do souboru %1.").arg(m_iniPath));
        return false;
    }
    if (config.method == MailConfig::Method::Smtp && passwordTyped && !config.user.isEmpty())
        m_passwords.store(config, password);
    return true;
}

void MailSettingsLogic::testSend() {
    if (!check())
        return;
    const QString to = mailSender(m_context);
    if (!isSingleAddress(to)) {
        m_ui.warning(QStringLiteral("Pro zkušební e-mail zadejte e-mailovou adresu uživateli "
                                    "nebo do údajů firmy."));
        return;
    }
    std::unique_ptr<MailHandOver> made;
    MailHandOver* handOver = m_testHandOver;
    if (!handOver) {
        if (config.method == MailConfig::Method::Smtp && passwordTyped) {
            made = std::make_unique<MailSmtpHandOver>(
                config, to, [this](core::UserInteraction&) { return std::optional(password); });
        } else {
            made = makeMailHandOver(config, m_context, m_passwords);
        }
        handOver = made.get();
    }
    MailMessage message;
    message.to = to;
    message.subject = QStringLiteral("Zkušební e-mail");
    message.body = QStringLiteral("Tento e-mail ověřuje nastavení odesílání e-mailů.");
    const MailResult result = handOver->send(message, m_ui);
    switch (result.outcome) {
    case MailOutcome::Sent:
        m_ui.information(handOver->composesItself()
                             ? QStringLiteral("Zkušební e-mail byl odeslán na adresu %1.").arg(to)
                             : QStringLiteral("Zkušební e-mail na adresu %1 byl předán poštovnímu "
                                              "programu.")
                                   .arg(to));
        break;
    case MailOutcome::Failed:
        m_ui.error(result.error);
        break;
    case MailOutcome::Discarded:
        break;
    }
}

} // namespace orvento::output
