#pragma once

#include "core/AgendaSettings.h"
#include "core/OfferSeries.h"

#include <QString>

#include <optional>

namespace orvento::core {
class AppContext;
class UserInteraction;
} // namespace orvento::core

namespace orvento::services {

// What the settings dialog does: it loads the open agenda's settings (so the running program
// takes over what another workstation saved, also when the dialog is then cancelled), holds a
// working copy that the window edits, checks it on OK and saves it. Fields on pages the user may
// not see keep their loaded values and are saved with them. The save is one unit: everything is
// written in one transaction and becomes the program's only after the commit; a failed save is
// reported and leaves the database, the program and the dialog as they were.
class SettingsDialogLogic {
public:
    enum class Page { Firma, Globalni, Profil };

    explicit SettingsDialogLogic(core::AppContext& context);

    // True when the user may see at least one page; otherwise the no-rights message.
    bool mayOpen() const;
    // Loads the settings into the program and the working copy. False when they cannot be read.
    bool load();

    bool pageVisible(Page page) const;

    core::AgendaSettings& values() { return m_values; }
    const core::AgendaSettings& values() const { return m_values; }
    core::OfferSeries& series() { return m_series; }
    const core::OfferSeries& series() const { return m_series; }

    // "Změnit": after the warning question the pictures folder may be edited (and "Změnit" is
    // disabled for the rest of the dialog). True when the person answered Yes.
    bool unlockPicturesFolder();
    bool picturesFolderUnlocked() const { return m_picturesUnlocked; }
    // The folder as the field shows it: without its trailing separator once unlocked.
    QString picturesFolderShown() const;
    // The folder browser of the unlocked field; the chosen folder becomes the working value.
    bool browsePicturesFolder();
    void setPicturesFolder(const QString& folder);

    // The logo menu. Loading keeps the old logo when the file is not a usable picture.
    bool loadLogoFromFile();
    void clearLogo();

    // The template chooser of the profile page ("..."): always there.
    bool templateChooserAvailable() const { return true; }
    // "...": the template list to choose from; the chosen template's abbreviation becomes the
    // working value and is given back. Nothing (the value unchanged) without a choice.
    std::optional<QString> chooseTemplate();

    // OK: the checks in their order (each keeps the dialog open after its message), then the
    // save. True when the dialog may close: false after a check's message or a failed save.
    bool accept();

private:
    bool check();
    bool save();

    core::AppContext& m_context;
    core::UserInteraction& m_ui;
    core::AgendaSettings m_values;
    core::OfferSeries m_series;
    bool m_picturesUnlocked = false;
};

} // namespace orvento::services
