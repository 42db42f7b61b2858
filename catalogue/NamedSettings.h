#pragma once

#include "catalogue/CardOutcome.h"
#include "core/RecordMapping.h"

#include <QString>

#include <optional>
#include <vector>

namespace orvento::core {
class Database;
class UserInteraction;
} // namespace orvento::core

namespace orvento::catalogue {

// The modules that keep named settings in `Filtry`; the numbers are stored.
namespace SettingModule {
inline constexpr int PriceListOutput = 1;
}

inline constexpr int kSettingNameLength = 50;

// One named setting (`Filtry`): whose it is, its name, the profile key of the user who saved it
// and the text the owning module reads.
struct NamedSetting {
    qint64 ID = -1;
    int IDModulu = 0;
    QString Nazev;
    QString Konfigurace;
    QString Hodnota;
};

const core::RecordMapping<NamedSetting>& namedSettingMapping();

// The settings of one module, of every user, in name order; nothing when they cannot be read.
std::optional<std::vector<NamedSetting>> readNamedSettings(core::Database& db, int module);
// For the owning module: a new row, its ID, or nothing when the insert failed.
std::optional<qint64> insertNamedSetting(core::Database& db, const NamedSetting& setting);

// The chooser of named settings (frmVyberFiltru, "Výběr nastavení") over one module's rows.
class NamedSettingChooser {
public:
    NamedSettingChooser(core::Database& agenda, core::UserInteraction& ui, int module);

    static QString caption() { return QStringLiteral("Výběr nastavení"); }
    static QString helpTopic() { return QStringLiteral("pgVyberFiltru.htm"); }

    bool reload();
    const std::vector<NamedSetting>& rows() const { return m_rows; }
    bool hasRows() const { return !m_rows.empty(); }
    std::optional<size_t> currentIndex() const { return m_current; }
    void setCurrentIndex(size_t index);
    const NamedSetting* current() const;

    // "Opravit název" confirmed in the name dialog: the current row renamed. A row deleted
    // elsewhere meanwhile gives the save failure.
    CardOutcome rename(const QString& typed);
    // "Vyjmout": after the question, the current row, then the neighbour becomes current.
    bool removeCurrent();

private:
    bool locate(qint64 id);
    bool refreshAndRelocate();

    core::Database& m_db;
    core::UserInteraction& m_ui;
    int m_module;
    std::vector<NamedSetting> m_rows;
    std::optional<size_t> m_current;
};

// The name dialog (frmVyberFiltruDetail, "Nastavení"): the typed name, or nothing after the
// message when it is empty (the dialog stays open).
std::optional<QString> checkSettingName(const QString& typed, core::UserInteraction& ui);

QString settingNameMissingMessage();
QString settingDeleteQuestion();

} // namespace orvento::catalogue
