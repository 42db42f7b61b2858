#include "backup/BackupSession.h"

#include "core/AppContext.h"
#include "core/ProgramState.h"
#include "core/StartUp.h"
#include "core/UserInteraction.h"
#include "services/AccessRights.h"

namespace orvento::backup {

QString othersRunningMessage() {
    return QStringLiteral("Zálohování nyní nelze spustit - na některé další stanici v síti je "
                          "program stále spuštěný. Ukončete na všech stanicích tento program a "
                          "zkuste to znovu.");
}

QString restoredMessage() {
    return QStringLiteral("Dokončeno - změny se projeví až po opětovném spuštění programu.\n\n"
                          "Program se proto nyní ukončí.");
}

BackupSession::BackupSession(core::AppContext& context)
    : m_context(context) {}

BackupSession::~BackupSession() {
    if (m_started)
        finish(false, nullptr);
}

BackupSession::Start BackupSession::begin(core::BackupPage page) {
    core::ProgramState& state = core::programState();
    core::UserInteraction& ui = m_context.ui();
    const bool granted =
        page == core::BackupPage::Create ? state.user.vytvoreniZalohy : state.user.obnoveniZalohy;
    if (!services::checkRight(granted, ui))
        return Start::NoRight;
    state.cancelRequested = false;
    switch (m_operation.begin(ui)) {
    case services::ExclusiveOperation::Start::OthersRunning:
        ui.warning(othersRunningMessage());
        return Start::OthersRunning;
    case services::ExclusiveOperation::Start::LockFailed:
        return Start::LockFailed;
    case services::ExclusiveOperation::Start::Started:
        break;
    }
    m_started = true;
    return Start::Started;
}

void BackupSession::finish(bool restored, const BackupChoices* remember) {
    if (!m_started)
        return;
    m_started = false;
    m_operation.end();
    if (restored) {
        m_context.ui().information(restoredMessage());
        m_context.startUp().writeConfiguration();
        return;
    }
    services::reopenConnections();
    if (remember)
        remember->save();
}

} // namespace orvento::backup
