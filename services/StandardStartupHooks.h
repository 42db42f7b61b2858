#pragma once

#include "core/StartupHooks.h"
#include "services/Login.h"
#include "services/ProfileSession.h"

#include <functional>

namespace orvento::core {
class UserInteraction;
}

namespace orvento::services {

// The start-up steps that the shared services carry out: the exclusive-operation test, the change
// stamps of a newly opened agenda, and the firm name for the status bar. The data folder dialog is
// handed in, so the program shows its window and tests answer for it.
class StandardStartupHooks : public core::StartupHooks {
public:
    using FolderChooser =
        std::function<std::optional<core::DataFolderChoice>(const QString& proposedLocal)>;

    StandardStartupHooks(core::UserInteraction& ui, FolderChooser chooser);

    std::optional<core::DataFolderChoice> chooseDataFolder(const QString& proposedLocal) override;
    bool checkNoExclusiveOperation() override;
    bool checkGlobalSchema() override;
    void agendaConnected(bool firstOpener) override;
    bool checkAgendaSchema() override;
    bool loadSettings() override;

    // The agenda list shown when the last agenda is gone (a window, so the program hands it in):
    // true when the person opened an agenda there.
    void setAgendaListChooser(std::function<bool()> showList) {
        m_agendaList = std::move(showList);
    }
    bool openAgendaFromList() override;

    // The login with the password prompt handed in (the splash window in its login state), and
    // the profile's window placements and grid layouts, loaded and saved at their places.
    void setPasswordPrompt(PasswordPrompt prompt) { m_passwordPrompt = std::move(prompt); }
    bool login() override;
    void loadWindowPositions() override;
    void loadProfile() override;
    void saveProfile() override;
    void saveWindowPositions() override;
    // What the windows of this run read their layouts and placements from.
    ProfileSession& profile() { return m_profile; }

protected:
    core::UserInteraction& m_ui;

private:
    FolderChooser m_chooser;
    PasswordPrompt m_passwordPrompt;
    ProfileSession m_profile;
    std::function<bool()> m_agendaList;
};

} // namespace orvento::services
