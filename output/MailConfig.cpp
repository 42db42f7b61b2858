#include "output/MailConfig.h"

#include "core/IniFile.h"

namespace orvento::output {

namespace {

const QString kSection = QStringLiteral("MAIL");

template <typename E, std::size_t N>
E fromName(const QString& text, const std::pair<E, const char*> (&names)[N], E fallback) {
    for (const auto& [value, name] : names)
        if (text.trimmed().compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return value;
    return fallback;
}

template <typename E, std::size_t N>
QString toName(E value, const std::pair<E, const char*> (&names)[N]) {
    for (const auto& [v, name] : names)
        if (v == value)
            return QLatin1String(name);
    return QLatin1String(names[0].second);
}

using Method = MailConfig::Method;
using Security = MailConfig::Security;
constexpr std::pair<Method, const char*> kMethods[] = {
    {Method::Desktop, "desktop"}, {Method::Command, "command"}, {Method::Smtp, "smtp"}};
constexpr std::pair<Security, const char*> kSecurities[] = {
    {Security::StartTls, "starttls"}, {Security::Tls, "tls"}, {Security::None, "none"}};

int positive(const QString& text, int fallback) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok && value > 0 ? value : fallback;
}

} // namespace

MailConfig MailConfig::load(const QString& iniPath) {
    const core::IniFile ini = core::IniFile::load(iniPath);
    MailConfig c;
    c.method = fromName(ini.value(kSection, QStringLiteral("Method")), kMethods, Method::Desktop);
    c.command = ini.value(kSection, QStringLiteral("Command")).trimmed();
    c.server = ini.value(kSection, QStringLiteral("Server")).trimmed();
    c.port = positive(ini.value(kSection, QStringLiteral("Port")), kDefaultPort);
    c.security =
        fromName(ini.value(kSection, QStringLiteral("Security")), kSecurities, Security::StartTls);
    c.user = ini.value(kSection, QStringLiteral("User")).trimmed();
    c.caFile = ini.value(kSection, QStringLiteral("CaFile")).trimmed();
    c.timeoutSeconds =
        positive(ini.value(kSection, QStringLiteral("Timeout")), kDefaultTimeoutSeconds);
    return c;
}

bool MailConfig::save(const QString& iniPath) const {
    core::IniFile ini = core::IniFile::load(iniPath);
    ini.setValue(kSection, QStringLiteral("Method"), methodName(method));
    ini.setValue(kSection, QStringLiteral("Command"), command);
    ini.setValue(kSection, QStringLiteral("Server"), server);
    ini.setValue(kSection, QStringLiteral("Port"), QString::number(port));
    ini.setValue(kSection, QStringLiteral("Security"), securityName(security));
    ini.setValue(kSection, QStringLiteral("User"), user);
    ini.setValue(kSection, QStringLiteral("CaFile"), caFile);
    ini.setValue(kSection, QStringLiteral("Timeout"), QString::number(timeoutSeconds));
    return ini.save(iniPath);
}

QString MailConfig::methodName(Method method) {
    return toName(method, kMethods);
}

QString MailConfig::securityName(Security security) {
    return toName(security, kSecurities);
}

QString MailConfig::passwordKey() const {
    return QStringLiteral("%1@%2:%3").arg(user, server).arg(port);
}

} // namespace orvento::output
