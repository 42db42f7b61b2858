#include "services/SettingsDialogLogic.h"

#include "core/PathUtil.h"
#include "core/ProgramState.h"
#include "core/UserInteraction.h"
#include "services/AccessRights.h"
#include "services/AgendaSettingsLoading.h"
#include "services/LogoPicture.h"

#include <QDir>

namespace orvento::services {

SettingsDialogLogic::SettingsDialogLogic(core::UserInteraction& ui)
    : m_ui(ui) {}

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
    if (!loadOpenAgendaSettings(m_ui))
        return false;
    core::ProgramState& state = core::programState();
    m_values = state.settings;
    m_series = core::loadOfferSeries(state.db->agenda).value_or(core::OfferSeries{});
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
    save();
    return true;
}

void SettingsDialogLogic::save() {
    core::ProgramState& state = core::programState();
    core::Database& db = state.db->agenda;
    m_values.slozkaObrazku = core::withTrailingSlash(m_values.slozkaObrazku);
    m_series = m_series.normalised();
    state.settings = m_values;
    state.agendaName = m_values.nazev;

    core::saveSettingRows(db, m_values, state.folders.data, m_ui);
    saveProfileOptions(m_values.profil);
    applyPurchasePriceDisplay(m_values.profil);
    core::saveLogo(db, m_values.logo, m_ui);
    core::saveOfferSeries(db, m_series, m_ui);
}

} // namespace orvento::services
