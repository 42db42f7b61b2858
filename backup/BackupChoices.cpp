#include "backup/BackupChoices.h"

#include "core/ProgramState.h"
#include "services/ProfileStore.h"
#include "services/ProfileValues.h"

#include <QDir>

namespace orvento::backup {

namespace profile = services::profile;

BackupChoices BackupChoices::load() {
    BackupChoices choices;
    choices.ownFolder = profile::loadValue(profile::value::OwnBackupFolder);
    choices.standardFolder = profile::loadBool(profile::value::BackupToStandardFolder, true);
    choices.sharedData = profile::loadBool(profile::value::BackupSharedData, false);
    return choices;
}

bool BackupChoices::save() const {
    bool ok = profile::saveBool(profile::value::BackupToStandardFolder, standardFolder);
    ok = profile::saveBool(profile::value::BackupSharedData, sharedData) && ok;
    return profile::saveValue(profile::value::OwnBackupFolder, ownFolder) && ok;
}

QString BackupChoices::folder() const {
    return standardFolder ? standardBackupFolder() : ownFolder;
}

QString standardBackupFolder() {
    const QString folder = core::programState().folders.backup;
    QDir().mkpath(folder);
    return QDir::toNativeSeparators(folder);
}

} // namespace orvento::backup
