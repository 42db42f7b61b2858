#include "catalogue/NamedSettings.h"

#include "core/CzechCollation.h"
#include "core/Database.h"
#include "core/UserInteraction.h"
#include "services/RecordRefresh.h"

#include <algorithm>

namespace orvento::catalogue {

const core::RecordMapping<NamedSetting>& namedSettingMapping() {
    static const core::RecordMapping<NamedSetting> mapping = [] {
        core::RecordMapping<NamedSetting> m(QStringLiteral("Filtry"));
        m.member("IDModulu", &NamedSetting::IDModulu)
            .member("Nazev", &NamedSetting::Nazev)
            .member("Konfigurace", &NamedSetting::Konfigurace)
            .member("Hodnota", &NamedSetting::Hodnota);
        return m;
    }();
    return mapping;
}

std::optional<std::vector<NamedSetting>> readNamedSettings(core::Database& db, int module) {
    QSqlQuery q = db.select(QStringLiteral("SELECT * FROM Filtry WHERE IDModulu = :IDModulu"),
                            {{QStringLiteral("IDModulu"), module}});
    if (!q.isActive())
        return std::nullopt;
    std::vector<NamedSetting> rows;
    while (q.next()) {
        NamedSetting r = namedSettingMapping().read(q.record());
        r.ID = q.value(QStringLiteral("ID")).toLongLong();
        rows.push_back(std::move(r));
    }
    std::stable_sort(rows.begin(), rows.end(), [](const NamedSetting& a, const NamedSetting& b) {
        return core::compareCzech(a.Nazev, b.Nazev) < 0;
    });
    return rows;
}

std::optional<qint64> insertNamedSetting(core::Database& db, const NamedSetting& setting) {
    if (!namedSettingMapping().insert(db, setting))
        return std::nullopt;
    return db.newRowId();
}

QString settingNameMissingMessage() {
    return QStringLiteral("Musíte zadat název.");
}

QString settingDeleteQuestion() {
    return QStringLiteral("Opravdu chcete vyjmout tento záznam ?");
}

std::optional<QString> checkSettingName(const QString& typed, core::UserInteraction& ui) {
    const QString name = typed.trimmed().left(kSettingNameLength);
    if (name.isEmpty()) {
        ui.information(settingNameMissingMessage());
        return std::nullopt;
    }
    return name;
}

NamedSettingChooser::NamedSettingChooser(core::Database& agenda, core::UserInteraction& ui,
                                         int module)
    : m_db(agenda)
    , m_ui(ui)
    , m_module(module) {}

bool NamedSettingChooser::reload() {
    const std::optional<qint64> keep =
        current() ? std::optional<qint64>(current()->ID) : std::nullopt;
    auto rows = readNamedSettings(m_db, m_module);
    if (!rows)
        return false;
    m_rows = std::move(*rows);
    m_current.reset();
    if (!m_rows.empty() && !(keep && locate(*keep)))
        m_current = 0;
    return true;
}

void NamedSettingChooser::setCurrentIndex(size_t index) {
    if (index < m_rows.size())
        m_current = index;
}

const NamedSetting* NamedSettingChooser::current() const {
    return m_current && *m_current < m_rows.size() ? &m_rows[*m_current] : nullptr;
}

bool NamedSettingChooser::locate(qint64 id) {
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].ID == id) {
            m_current = i;
            return true;
        }
    return false;
}

bool NamedSettingChooser::refreshAndRelocate() {
    const NamedSetting* row = current();
    const std::optional<qint64> id = row ? std::optional<qint64>(row->ID) : std::nullopt;
    if (!id || !reload() || !locate(*id)) {
        m_ui.warning(services::recordGoneMessage());
        return false;
    }
    return true;
}

CardOutcome NamedSettingChooser::rename(const QString& typed) {
    const NamedSetting* row = current();
    if (!row)
        return CardOutcome::SaveFailed;
    const auto name = checkSettingName(typed, m_ui);
    if (!name)
        return CardOutcome::StayOpen;
    const qint64 id = row->ID;
    bool ok = false;
    {
        // The row must still be there: an update that changes nothing is a failed save.
        core::Transaction tx(m_db);
        const auto present =
            m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM Filtry WHERE ID = :ID"),
                        {{QStringLiteral("ID"), id}});
        ok = present && present->toInt() > 0 &&
             m_db.execute(QStringLiteral("UPDATE Filtry SET Nazev = :Nazev WHERE ID = :ID"),
                          {{QStringLiteral("Nazev"), *name}, {QStringLiteral("ID"), id}}) &&
             tx.commit();
    }
    if (!ok) {
        m_ui.error(core::saveFailedMessage());
        reload();
        return CardOutcome::SaveFailed;
    }
    reload();
    locate(id);
    return CardOutcome::Saved;
}

bool NamedSettingChooser::removeCurrent() {
    if (!current() || !m_ui.question(settingDeleteQuestion()) || !refreshAndRelocate())
        return false;
    const qint64 id = current()->ID;
    qint64 neighbour = -1;
    if (m_rows.size() > 1)
        neighbour =
            *m_current + 1 < m_rows.size() ? m_rows[*m_current + 1].ID : m_rows[*m_current - 1].ID;
    const bool ok = m_db.execute(QStringLiteral("DELETE FROM Filtry WHERE ID = :ID"),
                                 {{QStringLiteral("ID"), id}});
    if (!ok)
        m_ui.error(core::saveFailedMessage());
    reload();
    if (neighbour >= 0)
        locate(neighbour);
    return ok;
}

} // namespace orvento::catalogue
