#include "services/SettingsDialogLogic.h"

#include "core/AppContext.h"
#include "core/Database.h"
#include "core/Navigator.h"
#include "core/PathUtil.h"
#include "core/ProgramState.h"
#include "core/UserInteraction.h"
#include "services/AccessRights.h"
#include "services/AgendaSettingsLoading.h"
#include "services/LogoPicture.h"

#include <QDir>

namespace orvento::services {

SettingsDialogLogic::SettingsDialogLogic(core::AppContext& context)
    : m_context(context)
    , m_ui(context.ui()) {}

bool SettingsDialogLogic::mayOpen() const {
    return checkRight(
        pageVisible(Page::Firma) || pageVisible(Page::Globalni) || pageVisible(Page::Profil), m_ui);
}

bool SettingsDialogLogic::pageVisible(Page page) const {
    const core::CurrentUser& user = core::programState().user;
    switch (page) {
    case Page::Firma:
        return user.udajeFirma;
    case Page::Globalni:
        return user.globalniNastaveni;
    case Page::Profil:
        return user.uzivatelskeNastaveni;
    }
    return false;
}

bool SettingsDialogLogic::load() {
    if (!loadOpenAgendaSettings(m_context))
        return false;
    m_values = core::programState().settings;
    m_series = core::loadOfferSeries(m_context.db().agenda).value_or(core::OfferSeries{});
    m_picturesUnlocked = false;
    return true;
}

bool SettingsDialogLogic::unlockPicturesFolder() {
    if (m_picturesUnlocked)
        return true;
    if (!m_ui.question(QStringLiteral(
            "Upozornění: funkce \"změna úložiště obrázků\" je určena pouze pro zkušené uživatele, "
            "nedoporučuje se provádět její změnu.\n\nOpravdu chcete pokračovat?")))
        return false;
    m_picturesUnlocked = true;
    return true;
}

QString SettingsDialogLogic::picturesFolderShown() const {
    QString shown = QDir::toNativeSeparators(m_values.slozkaObrazku);
    if (m_picturesUnlocked && shown.size() > 1 && shown.endsWith(QDir::separator()))
        shown.chop(1);
    return shown;
}

bool SettingsDialogLogic::browsePicturesFolder() {
    if (!m_picturesUnlocked)
        return false;
    const auto folder = m_ui.chooseFolder(QStringLiteral("Vyberte složku"), m_values.slozkaObrazku);
    if (!folder)
        return false;
    setPicturesFolder(*folder);
    return true;
}

void SettingsDialogLogic::setPicturesFolder(const QString& folder) {
    m_values.slozkaObrazku = core::withTrailingSlash(folder);
}

bool SettingsDialogLogic::loadLogoFromFile() {
    const auto path =
        m_ui.chooseOpenFile(QStringLiteral("Logo (obrázek)"), QString(), logoFileFilter());
    if (!path)
        return false;
    QString reason;
    const auto logo = logoFromFile(*path, &reason);
    if (!logo) {
        m_ui.warning(reason);
        return false;
    }
    m_values.logo = *logo;
    return true;
}

void SettingsDialogLogic::clearLogo() {
    m_values.logo.clear();
}

bool SettingsDialogLogic::check() {
    if (m_values.nazev.trimmed().isEmpty()) {
        m_ui.information(QStringLiteral("Musíte vyplnit název firmy."));
        return false;
    }
    if (m_series.prefixOzn.trimmed().isEmpty()) {
        m_ui.information(QStringLiteral("Musíte vyplnit prefix číselné řady."));
        return false;
    }
    if (m_values.symbolMeny.trimmed().isEmpty()) {
        m_ui.information(QStringLiteral("Musíte vyplnit symbol domácí měny (např. Kč apod.)."));
        return false;
    }
    return true;
}

bool SettingsDialogLogic::accept() {
    if (!check())
        return false;
    return save();
}

bool SettingsDialogLogic::save() {
    core::Database& db = m_context.db().agenda;
    core::AgendaSettings values = m_values;
    values.slozkaObrazku = core::withTrailingSlash(values.slozkaObrazku);
    const core::OfferSeries series = m_series.normalised();
    // The failure is reported once the unit has been rolled back whole: nothing waits for the
    // person while it holds the write lock.
    const std::optional<QString> failure = [&]() -> std::optional<QString> {
        core::Transaction unit(db);
        if (!unit.isActive())
            return core::saveFailedMessage(QStringLiteral("Nastaveni"));
        if (!core::saveSettingRows(db, values, core::programState().folders.data))
            return core::saveFailedMessage(QStringLiteral("Nastaveni"));
        if (!saveProfileOptions(values.profil))
            return core::saveFailedMessage(QStringLiteral("Uzivatelske"));
        if (!core::saveLogo(db, values.logo))
            return core::saveFailedMessage(QStringLiteral("ImgData"));
        if (!core::saveOfferSeries(db, series))
            return core::saveFailedMessage(QStringLiteral("CisRady"));
        if (!unit.commit())
            return core::saveFailedMessage();
        return std::nullopt;
    }();
    if (failure) {
        m_ui.error(*failure);
        return false;
    }
    m_values = values;
    m_series = series;
    takeOverSettings(std::move(values), m_context.events());
    return true;
}

std::optional<QString> SettingsDialogLogic::chooseTemplate() {
    const auto pending = m_context.navigator().pickOfferTemplate();
    if (!pending->answered() || pending->result().status != core::NavigationStatus::Done ||
        pending->result().code.isEmpty())
        return std::nullopt;
    m_values.profil.vychoziSablona = pending->result().code;
    return m_values.profil.vychoziSablona;
}

} // namespace orvento::services
