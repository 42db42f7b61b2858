#pragma once

#include "output/MailConfig.h"
#include "output/ReportData.h"

#include <QString>
#include <QStringList>

namespace orvento::core {
class UserInteraction;
}

namespace orvento::output {

class MailHandOver;
class MailPasswords;

// The logic of "Nastavení e-mailu": how this workstation sends e-mail (Tovaro.ini, [MAIL]), the
// mail server's password into the password store, and a test message to the sender.
class MailSettingsLogic {
public:
    MailSettingsLogic(const ReportContext& context, core::UserInteraction& ui,
                      MailPasswords& passwords, QString iniPath);

    static QString caption() { return QStringLiteral("Nastavení e-mailu"); }
    // The right to change the workstation's settings; false after the message.
    static bool mayOpen(const core::CurrentUser& user, core::UserInteraction& ui);
    static QStringList methodNames();
    static QStringList securityNames();

    MailConfig config;
    // Typed into the password field; only a typed one is stored.
    QString password;
    bool passwordTyped = false;

    // "OK": the values checked, Tovaro.ini written, a typed password stored. False after the
    // message when the dialog must stay open.
    bool accept();
    // "Odeslat zkušební e-mail": a message to the sender's own address through the way set in
    // the dialog (not yet saved); the outcome is told.
    void testSend();
    // The hand-over a test send uses (tests replace it).
    void setHandOverForTest(MailHandOver* handOver) { m_testHandOver = handOver; }

private:
    bool check();

    ReportContext m_context;
    core::UserInteraction& m_ui;
    MailPasswords& m_passwords;
    QString m_iniPath;
    MailHandOver* m_testHandOver = nullptr;
};

} // namespace orvento::output
