#pragma once

#include "services/GridLayouts.h"
#include "services/WindowPositions.h"

#include <array>
#include <functional>
#include <map>
#include <memory>

namespace orvento::services {

// What the logged-in user's profile says about the windows during one run: the column layouts
// and sort fields of the five grids (per agenda, loaded when an agenda opens) and the placements
// of the four main windows (loaded at start-up). Windows read them when they open and hand back
// their current state; everything is written when the program closes.
class ProfileSession {
public:
    ProfileSession();

    // The open agenda's layouts and sort fields of the current profile.
    void loadGridLayouts();
    // Writes the layouts and sort fields in one unit of work; false when it was rolled back.
    bool saveGridLayouts();
    const GridLayout& gridLayout(GridId id) const;
    // The columns as the grid now shows them, in order with their widths.
    void rememberColumns(GridId id, const std::vector<SavedColumn>& columns);
    // The remembered sort field, or empty when there is none.
    QString sortField(GridId id) const;
    void setSortField(GridId id, const QString& field);

    void loadWindowPlacements();
    // Writes the placements in one unit of work; false when it was rolled back.
    bool saveWindowPlacements();
    const WindowPlacement& placement(WindowId window) const;
    void rememberPlacement(WindowId window, const WindowPlacement& placement);

    // A live window or grid registers how to hand in its current state; that is asked for just
    // before saving. The registration ends with the returned object, which may safely outlive
    // the session.
    class Registration {
    public:
        Registration() = default;
        ~Registration();
        Registration(Registration&& other) noexcept;
        Registration& operator=(Registration&& other) noexcept;
        Registration(const Registration&) = delete;
        Registration& operator=(const Registration&) = delete;

    private:
        friend class ProfileSession;
        using Collectors = std::map<int, std::function<void()>>;
        Registration(std::weak_ptr<Collectors> collectors, int key);
        void release();
        std::weak_ptr<Collectors> m_collectors;
        int m_key = 0;
    };
    [[nodiscard]] Registration addCollector(std::function<void()> collect);
    void collect();

private:
    struct Grid {
        GridLayout layout;
        bool loaded = false;
    };
    Grid& grid(GridId id);
    const Grid& grid(GridId id) const;

    std::array<Grid, 5> m_grids;
    std::array<WindowPlacement, 4> m_placements{};
    bool m_placementsLoaded = false;
    std::shared_ptr<Registration::Collectors> m_collectors;
    int m_nextKey = 1;
};

} // namespace orvento::services
