#pragma once

#include <QString>

#include <optional>

namespace orvento::services {

// The windows whose position and size each profile remembers (in the global database, so the
// same in every agenda).
enum class WindowId { OfferCard = 0, OfferList = 1, AddressBook = 2, Catalogue = 3 };
inline constexpr WindowId kAllWindows[] = {WindowId::OfferCard, WindowId::OfferList,
                                           WindowId::AddressBook, WindowId::Catalogue};

// Where a window goes; a missing number leaves the window's own design value.
struct WindowPlacement {
    std::optional<int> left;
    std::optional<int> top;
    std::optional<int> height;
    std::optional<int> width;
    bool maximised = true;

    bool operator==(const WindowPlacement&) const = default;
};

// The geometry each window is designed with: what a window that was never opened (or whose
// stored values are unreadable) is saved with, so the profile always holds all five values of
// all four windows.
WindowPlacement designPlacement(WindowId window);

// Reads the placement of the logged-in user's profile: a missing or non-numeric value is left
// out; the window is maximised unless its "Max" value reads false.
WindowPlacement loadWindowPlacement(WindowId window);
// Writes all five values: the known numbers, the design geometry for the unknown ones, and "Max"
// (-1 or 0). False when one of them could not be written; the caller tells it.
bool saveWindowPlacement(WindowId window, const WindowPlacement& placement);

} // namespace orvento::services
