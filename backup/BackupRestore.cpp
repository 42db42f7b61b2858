#include "backup/BackupRestore.h"

#include "backup/BackupArchive.h"
#include "backup/BackupCreation.h"
#include "backup/BackupInfo.h"
#include "core/PathUtil.h"
#include "core/ProgressScope.h"
#include "core/SchemaUpgrade.h"
#include "core/UserInteraction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

namespace orvento::backup {

namespace {

constexpr int kPercent = 100;
// Where an Access database names its engine in its first page.
constexpr qsizetype kJetMarkOffset = 4;
constexpr qsizetype kJetHeaderBytes = 32;

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QString unchangedNote() {
    return QStringLiteral("Stávající data zůstala beze změny.");
}

QString waitText(const QString& part) {
    return QStringLiteral("Probíhá obnova ze záložní kopie [%1]\nprosím čekejte...").arg(part);
}

// A database of the Windows program (Access): the archive comes from there.
bool isAccessDatabase(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(kJetHeaderBytes).mid(kJetMarkOffset);
    return head.startsWith("Standard Jet DB") || head.startsWith("Standard ACE DB");
}

bool moveOver(const QString& from, const QString& to) {
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

// One restore's state: the archive, its private folder and the messages about a refusal.
class RestoreRun {
public:
    RestoreRun(core::DataStore& store, core::UserInteraction& ui, const QString& archivePath)
        : m_store(store)
        , m_ui(ui)
        , m_path(archivePath) {}

    bool refuse(const QString& why) {
        m_progress.reset();
        m_ui.error(why + QStringLiteral("\n\n") + unchangedNote());
        return false;
    }

    bool openArchive(BackupInfo& info) {
        QString error;
        if (!m_archive.open(m_path, error))
            return refuse(QStringLiteral("Soubor %1 nelze otevřít jako záložní soubor: %2")
                              .arg(shown(m_path), error));
        for (const QString& name : m_archive.entryNames()) {
            if (!isBareName(name))
                return refuse(
                    QStringLiteral("Záložní soubor %1 obsahuje nepřípustný název souboru \"%2\".")
                        .arg(shown(m_path), name));
        }
        const auto text = m_archive.read(infoEntryName(), kInfoEntryLimit);
        if (text)
            info = BackupInfo::fromText(*text);
        if (!text || !info.listable())
            return refuse(QStringLiteral("Soubor %1 není záložním souborem tohoto programu.")
                              .arg(shown(m_path)));
        return true;
    }

    bool makeStaging() {
        m_staging = std::make_unique<QTemporaryDir>(m_store.stagingLocation() +
                                                    QStringLiteral("~obnova-XXXXXX"));
        if (!m_staging->isValid() ||
            !QFile::setPermissions(m_staging->path(),
                                   QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
            return refuse(QStringLiteral("V datové složce %1 nelze vytvořit pracovní složku.")
                              .arg(shown(m_store.stagingLocation())));
        m_progress = std::make_unique<core::ProgressScope>(m_ui, waitText(QStringLiteral("firma")),
                                                           kPercent);
        return true;
    }

    QString stagedPath(const QString& name) const { return m_staging->filePath(name); }

    bool extract(const QString& entry, const QString& target) {
        QString error;
        switch (m_archive.extract(entry, target, m_progress.get(), error)) {
        case ArchiveReader::Extract::Done:
            return true;
        case ArchiveReader::Extract::Missing:
            return refuse(QStringLiteral("Záložní soubor %1 neobsahuje soubor %2.")
                              .arg(shown(m_path), entry));
        case ArchiveReader::Extract::NoSpace:
            return refuse(QStringLiteral("Na disku datové složky není dost místa pro rozbalení "
                                         "souboru %2 ze záložního souboru %1.")
                              .arg(shown(m_path), entry));
        case ArchiveReader::Extract::LongerThanDeclared:
            return refuse(QStringLiteral("Soubor %2 v záložním souboru %1 je delší, než archiv "
                                         "uvádí - záložní soubor je poškozený.")
                              .arg(shown(m_path), entry));
        case ArchiveReader::Extract::Cancelled:
            return refuse(QStringLiteral("Obnova ze záložní kopie byla přerušena."));
        case ArchiveReader::Extract::WriteFailed:
        case ArchiveReader::Extract::Failed:
            break;
        }
        return refuse(QStringLiteral("Soubor %2 ze záložního souboru %1 nelze rozbalit: %3")
                          .arg(shown(m_path), entry, error));
    }

    // Extracts a database and has the store check it.
    bool stageDatabase(core::DatabaseKind kind, const QString& entry, const QString& agenda,
                       const QString& target) {
        if (!extract(entry, target))
            return false;
        if (isAccessDatabase(target))
            return refuse(QStringLiteral("Záložní soubor %1 pochází z programu pro Windows (soubor "
                                         "%2 je databáze Access) - tento program jej obnovit "
                                         "nemůže.")
                              .arg(shown(m_path), entry));
        const core::DataStore::CopyCheck check = m_store.checkCopy(kind, target);
        using Problem = core::DataStore::CopyCheck::Problem;
        switch (check.problem) {
        case Problem::None:
            return true;
        case Problem::Newer:
            return refuse(core::newerDatabaseMessage(kind, agenda, check.storedVersion));
        case Problem::WrongKind:
            return refuse((kind == core::DatabaseKind::Global
                               ? QStringLiteral("Soubor %2 v záložním souboru %1 není hlavní "
                                                "databází programu.")
                               : QStringLiteral("Soubor %2 v záložním souboru %1 není databází "
                                                "firmy."))
                              .arg(shown(m_path), entry));
        case Problem::Damaged:
            return refuse(QStringLiteral("Soubor %2 v záložním souboru %1 je poškozený:\n%3")
                              .arg(shown(m_path), entry, check.detail));
        case Problem::Other:
            break;
        }
        return refuse(QStringLiteral("Soubor %2 ze záložního souboru %1 nelze otevřít: %3")
                          .arg(shown(m_path), entry, check.detail));
    }

    bool stageTemplates(std::vector<QString>& names) {
        const QString folder = stagedPath(QStringLiteral("PRINT"));
        if (!QDir().mkpath(folder))
            return refuse(QStringLiteral("V datové složce nelze vytvořit pracovní složku."));
        for (const QString& name : m_archive.entryNames()) {
            if (!isPackedTemplate(name))
                continue;
            if (!extract(name, folder + QLatin1Char('/') + name))
                return false;
            names.push_back(name);
        }
        return true;
    }

    core::ProgressScope& progress() { return *m_progress; }
    void endProgress() { m_progress.reset(); }

private:
    core::DataStore& m_store;
    core::UserInteraction& m_ui;
    QString m_path;
    ArchiveReader m_archive;
    std::unique_ptr<QTemporaryDir> m_staging;
    std::unique_ptr<core::ProgressScope> m_progress;
};

} // namespace

BackupRestore::BackupRestore(core::DataStore& store, core::UserInteraction& ui)
    : m_store(store)
    , m_ui(ui) {}

bool BackupRestore::restore(const QString& archivePath, const RestoreChoice& choice,
                            const core::DatabaseId& agenda, const QString& printFolder) {
    if (!choice.any())
        return false;
    RestoreRun run(m_store, m_ui, archivePath);
    BackupInfo info;
    if (!run.openArchive(info))
        return false;
    if ((choice.global && !info.global) || (choice.templates && !info.frm))
        return run.refuse(
            QStringLiteral("Záložní soubor %1 neobsahuje společná data.").arg(shown(archivePath)));
    if (!run.makeStaging())
        return false;

    // Everything chosen is extracted and checked before any live file is touched.
    const QString stagedAgenda = run.stagedPath(QStringLiteral("agenda.MDB"));
    const QString stagedGlobal = run.stagedPath(QStringLiteral("global.MDB"));
    const QString globalEntry = m_store.label(core::DatabaseId::global());
    if (choice.agenda && !run.stageDatabase(core::DatabaseKind::Agenda, info.agendaFile,
                                            agenda.agenda, stagedAgenda))
        return false;
    if (choice.global) {
        run.progress().setText(waitText(QStringLiteral("globální databáze")));
        if (!run.stageDatabase(core::DatabaseKind::Global, globalEntry, QString(), stagedGlobal))
            return false;
    }
    std::vector<QString> templates;
    if (choice.templates) {
        run.progress().setText(waitText(QStringLiteral("upravené formuláře")));
        if (!run.stageTemplates(templates))
            return false;
    }
    if (run.progress().cancelled())
        return run.refuse(QStringLiteral("Obnova ze záložní kopie byla přerušena."));

    // From here on the parts go in place; the first cannot fail half-way.
    bool placed = false;
    if (choice.agenda) {
        run.progress().setText(waitText(QStringLiteral("firma - dokončení")));
        if (!m_store.putInPlace(agenda, stagedAgenda))
            return run.refuse(
                QStringLiteral("Chyba : nelze přepsat soubor %1").arg(m_store.location(agenda)));
        placed = true;
    }
    if (choice.global) {
        run.progress().setText(waitText(QStringLiteral("globální databáze")));
        if (!m_store.putInPlace(core::DatabaseId::global(), stagedGlobal)) {
            run.endProgress();
            const QString text = QStringLiteral("Fatální chyba: nelze přepsat soubor %1")
                                     .arg(m_store.location(core::DatabaseId::global()));
            m_ui.error(placed ? text + QStringLiteral("\n\nDatabáze firmy již byla obnovena.")
                              : text + QStringLiteral("\n\n") + unchangedNote());
            return placed;
        }
        placed = true;
    }
    if (choice.templates) {
        run.progress().setText(waitText(QStringLiteral("upravené formuláře")));
        QDir().mkpath(printFolder);
        QStringList failed;
        for (const QString& name : templates) {
            const QString from = run.stagedPath(QStringLiteral("PRINT/") + name);
            if (!moveOver(from, core::resolveInFolder(core::withTrailingSlash(printFolder), name)))
                failed << name;
        }
        placed =
            placed || failed.size() < static_cast<qsizetype>(templates.size()) || templates.empty();
        if (!failed.isEmpty()) {
            run.endProgress();
            m_ui.error(QStringLiteral("Tyto tiskové formuláře se nepodařilo obnovit do složky "
                                      "%1:\n%2")
                           .arg(shown(printFolder), failed.join(QLatin1Char('\n'))));
        }
    }
    return placed;
}

} // namespace orvento::backup
