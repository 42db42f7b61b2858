#include "output/MailPasswords.h"
#include "output/MailSettingsLogic.h"

#include "core/AgendaSettings.h"
#include "core/CurrentUser.h"
#include "core/Database.h"
#include "core/RunSecrets.h"
#include "support/ScriptedInteraction.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace orvento;
using output::MailConfig;
using testsupport::ScriptedInteraction;

namespace {

QString read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

} // namespace

// The workstation's settings go to [MAIL] beside what Tovaro.ini already holds, never with the
// password; without a password store the typed password serves the whole run and a refused
// login makes the next send ask again.
TEST(MailSettingsTest, SettingsInTheIniFilePasswordOnlyInMemory) {
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("Tovaro.ini"));
    {
        QFile f(ini);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[CONFIG]\r\nDataPath=/srv/data/\r\n");
    }
    const MailConfig defaults = MailConfig::load(ini);
    EXPECT_EQ(defaults.method, MailConfig::Method::Desktop);
    EXPECT_EQ(defaults.port, 587);
    EXPECT_EQ(defaults.security, MailConfig::Security::StartTls);

    core::AgendaSettings settings;
    core::CurrentUser user;
    core::Database agenda(QStringLiteral("mail-settings-test"));
    const output::ReportContext context{settings, user, agenda, nullptr};
    core::RunSecrets run;
    output::MailPasswords passwords(run);
    passwords.setStoreEnabled(false);
    ScriptedInteraction ui;
    output::MailSettingsLogic logic(context, ui, passwords, ini);
    logic.config.method = MailConfig::Method::Smtp;
    EXPECT_FALSE(logic.accept());
    EXPECT_TRUE(
        ui.saw(ScriptedInteraction::Kind::Warning, QStringLiteral("Zadejte poštovní server.")));
    logic.config.server = QStringLiteral(" smtp.firma.cz ");
    logic.config.user = QStringLiteral("obchod");
    logic.config.security = MailConfig::Security::Tls;
    logic.password = QStringLiteral("Žluťoučké-heslo");
    logic.passwordTyped = true;
    ASSERT_TRUE(logic.accept());

    const QString text = read(ini);
    EXPECT_TRUE(text.contains(QStringLiteral("DataPath=/srv/data/")));
    EXPECT_FALSE(text.contains(logic.password));
    const MailConfig stored = MailConfig::load(ini);
    EXPECT_EQ(stored.method, MailConfig::Method::Smtp);
    EXPECT_EQ(stored.server, QStringLiteral("smtp.firma.cz"));
    EXPECT_EQ(stored.security, MailConfig::Security::Tls);
    EXPECT_EQ(passwords.password(stored, ui), logic.password); // nothing asked

    passwords.forget(stored);
    ui.typePassword(QStringLiteral("nové"));
    EXPECT_EQ(passwords.password(stored, ui), QStringLiteral("nové"));
    EXPECT_EQ(passwords.password(stored, ui), QStringLiteral("nové"));
    ui.typePassword(std::nullopt);
    passwords.forget(stored);
    EXPECT_EQ(passwords.password(stored, ui), std::nullopt);

    user.globalniNastaveni = false;
    EXPECT_FALSE(output::MailSettingsLogic::mayOpen(user, ui));
}
