#include "services/ProfileSession.h"

#include "services/ProfileStore.h"

#include "core/Database.h"
#include "core/ProgramState.h"

#include <utility>

namespace orvento::services {

ProfileSession::ProfileSession()
    : m_collectors(std::make_shared<Registration::Collectors>()) {
    for (const GridId id : kAllGrids)
        grid(id).layout = buildGridLayout(id, QString(), gridDefinition(id).defaultSortField);
}

ProfileSession::Grid& ProfileSession::grid(GridId id) {
    return m_grids[static_cast<size_t>(id) - 1];
}

const ProfileSession::Grid& ProfileSession::grid(GridId id) const {
    return m_grids[static_cast<size_t>(id) - 1];
}

void ProfileSession::loadGridLayouts() {
    for (const GridId id : kAllGrids) {
        const GridDefinition& def = gridDefinition(id);
        QString sort;
        if (def.sortValueNumber > 0) {
            sort = profile::loadValue(def.sortValueNumber).trimmed();
            if (sort.isEmpty())
                sort = def.defaultSortField;
        }
        Grid& g = grid(id);
        g.layout = buildGridLayout(id, profile::loadMemo(layoutMemoNumber(id)), sort);
        g.loaded = true;
    }
}

bool ProfileSession::saveGridLayouts() {
    collect();
    core::Transaction unit(core::programState().db->agenda);
    for (const GridId id : kAllGrids) {
        const Grid& g = grid(id);
        if (!g.loaded)
            continue;
        if (!profile::saveMemo(layoutMemoNumber(id), layoutText(id, savedColumns(g.layout))))
            return false;
        if (const int number = gridDefinition(id).sortValueNumber;
            number > 0 && !profile::saveValue(number, g.layout.sortField))
            return false;
    }
    return unit.commit();
}

const GridLayout& ProfileSession::gridLayout(GridId id) const {
    return grid(id).layout;
}

void ProfileSession::rememberColumns(GridId id, const std::vector<SavedColumn>& columns) {
    Grid& g = grid(id);
    g.layout = buildGridLayout(id, layoutText(id, columns), g.layout.sortField);
}

QString ProfileSession::sortField(GridId id) const {
    return grid(id).layout.sortField;
}

void ProfileSession::setSortField(GridId id, const QString& field) {
    Grid& g = grid(id);
    g.layout = buildGridLayout(id, layoutText(id, savedColumns(g.layout)), field);
}

void ProfileSession::loadWindowPlacements() {
    for (const WindowId w : kAllWindows)
        m_placements[static_cast<size_t>(w)] = loadWindowPlacement(w);
    m_placementsLoaded = true;
}

bool ProfileSession::saveWindowPlacements() {
    collect();
    if (!m_placementsLoaded)
        return true;
    core::Transaction unit(core::programState().db->global);
    for (const WindowId w : kAllWindows)
        if (!saveWindowPlacement(w, m_placements[static_cast<size_t>(w)]))
            return false;
    return unit.commit();
}

const WindowPlacement& ProfileSession::placement(WindowId window) const {
    return m_placements[static_cast<size_t>(window)];
}

void ProfileSession::rememberPlacement(WindowId window, const WindowPlacement& placement) {
    m_placements[static_cast<size_t>(window)] = placement;
}

ProfileSession::Registration ProfileSession::addCollector(std::function<void()> collect) {
    const int key = m_nextKey++;
    (*m_collectors)[key] = std::move(collect);
    return Registration(m_collectors, key);
}

void ProfileSession::collect() {
    // A collector may end its own registration; work on a copy.
    const Registration::Collectors current = *m_collectors;
    for (const auto& [key, collector] : current)
        if (collector)
            collector();
}

ProfileSession::Registration::Registration(std::weak_ptr<Collectors> collectors, int key)
    : m_collectors(std::move(collectors))
    , m_key(key) {}

ProfileSession::Registration::~Registration() {
    release();
}

ProfileSession::Registration::Registration(Registration&& other) noexcept
    : m_collectors(std::move(other.m_collectors))
    , m_key(std::exchange(other.m_key, 0)) {}

ProfileSession::Registration&
ProfileSession::Registration::operator=(Registration&& other) noexcept {
    if (this != &other) {
        release();
        m_collectors = std::move(other.m_collectors);
        m_key = std::exchange(other.m_key, 0);
    }
    return *this;
}

void ProfileSession::Registration::release() {
    if (const auto collectors = m_collectors.lock())
        collectors->erase(m_key);
    m_collectors.reset();
}

} // namespace orvento::services
