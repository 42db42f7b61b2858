#include "backup/BackupDialogLogic.h"

#include "backup/BackupCreation.h"
#include "backup/BackupSession.h"
#include "core/AppContext.h"
#include "core/ProgramState.h"
#include "core/UserInteraction.h"

#include <QDir>

namespace orvento::backup {

BackupDialogLogic::BackupDialogLogic(core::AppContext& context, core::BackupPage page,
                                     BackupChoices choices)
    : m_context(context)
    , m_page(page)
    , m_choices(std::move(choices)) {
    if (m_page == core::BackupPage::Restore)
        reloadList();
}

QString BackupDialogLogic::firmName() const {
    return core::programState().settings.nazev;
}

void BackupDialogLogic::setStandardFolder(bool on) {
    if (m_choices.standardFolder == on)
        return;
    m_choices.standardFolder = on;
    if (m_page == core::BackupPage::Restore)
        reloadList();
}

QString BackupDialogLogic::folder() const {
    return m_choices.folder();
}

void BackupDialogLogic::setOwnFolder(const QString& folder) {
    if (m_choices.standardFolder || m_choices.ownFolder == folder)
        return;
    m_choices.ownFolder = folder;
    if (m_page == core::BackupPage::Restore)
        reloadList();
}

bool BackupDialogLogic::browseFolder() {
    if (!folderEditable())
        return false;
    const auto chosen =
        m_context.ui().chooseFolder(QStringLiteral("Složka pro zálohování:"), folder());
    if (!chosen)
        return false;
    setOwnFolder(QDir::toNativeSeparators(*chosen));
    return true;
}

bool BackupDialogLogic::createBackup() {
    m_busy = true;
    BackupCreation creation(m_context.store(), m_context.ui());
    const BackupResult result = creation.create({folder(), m_choices.sharedData});
    m_busy = false;
    return result != BackupResult::NotBegun;
}

void BackupDialogLogic::reloadList() {
    m_rows = listBackups(folder(), m_context.ui());
}

bool BackupDialogLogic::deleteRow(int row) {
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return false;
    if (!deleteBackup(m_rows[static_cast<size_t>(row)], m_context.ui()))
        return false;
    m_rows.erase(m_rows.begin() + row);
    return true;
}

RestoreOffer BackupDialogLogic::offerFor(int row) const {
    RestoreOffer offer;
    offer.activeFirm = firmName();
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return offer;
    const BackupListRow& chosen = m_rows[static_cast<size_t>(row)];
    offer.archiveFirm = chosen.agendaName;
    offer.sharedDataInside = chosen.global;
    offer.templatesInside = chosen.frm;
    return offer;
}

RestoreStep BackupDialogLogic::restore(int row, const RestoreChoice& choice) {
    core::UserInteraction& ui = m_context.ui();
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return RestoreStep::Declined;
    if (!choice.any()) {
        ui.information(QStringLiteral("Musíte vybrat, která data chcete obnovit."));
        return RestoreStep::NothingChosen;
    }
    if (ui.ask(QStringLiteral("Varování: vybraná stávající data budou nenávratně přepsána -  "
                              "opravdu chcete pokračovat ?"),
               core::Buttons::YesNo, core::Answer::No) != core::Answer::Yes)
        return RestoreStep::Declined;
    const core::ProgramState& state = core::programState();
    BackupRestore restoring(m_context.store(), ui);
    m_restored = restoring.restore(
        QDir::fromNativeSeparators(m_rows[static_cast<size_t>(row)].souborPlny), choice,
        m_context.store().resolved(state.agendaId()), state.folders.print);
    return m_restored ? RestoreStep::Restored : RestoreStep::Refused;
}

core::BackupOutcome runBackupDialog(core::AppContext& context, core::BackupPage page,
                                    const std::function<void(BackupDialogLogic&)>& showDialog) {
    const BackupChoices remembered = BackupChoices::load();
    BackupSession session(context);
    if (session.begin(page) != BackupSession::Start::Started)
        return core::BackupOutcome::Stay;
    BackupDialogLogic logic(context, page, remembered);
    showDialog(logic);
    session.finish(logic.restored(), &logic.choices());
    return logic.restored() ? core::BackupOutcome::EndProgram : core::BackupOutcome::Stay;
}

} // namespace orvento::backup
