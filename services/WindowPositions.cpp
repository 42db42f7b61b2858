#include "services/WindowPositions.h"

#include "services/ProfileStore.h"
#include "services/ProfileValues.h"

namespace orvento::services {

namespace {

// Each window has five consecutive window values: left, top, height, width, maximised.
enum Part { Left = 1, Top = 2, Height = 3, Width = 4, Max = 5 };

int valueNumber(WindowId window, Part part) {
    return static_cast<int>(window) * profile::kValuesPerWindow + part;
}

std::optional<int> loadNumber(WindowId window, Part part) {
    return profile::parseInt(profile::loadWindowValue(valueNumber(window, part)));
}

bool saveNumber(WindowId window, Part part, int value) {
    return profile::saveWindowValue(valueNumber(window, part), QString::number(value));
}

} // namespace

WindowPlacement designPlacement(WindowId window) {
    switch (window) {
    case WindowId::OfferCard:
        return {40, 30, 640, 960, true};
    case WindowId::OfferList:
        return {20, 20, 600, 900, true};
    case WindowId::AddressBook:
        return {30, 25, 600, 900, true};
    case WindowId::Catalogue:
        return {10, 10, 660, 1000, true};
    }
    return {};
}

WindowPlacement loadWindowPlacement(WindowId window) {
    WindowPlacement p;
    p.left = loadNumber(window, Left);
    p.top = loadNumber(window, Top);
    p.height = loadNumber(window, Height);
    p.width = loadNumber(window, Width);
    p.maximised =
        profile::parseBool(profile::loadWindowValue(valueNumber(window, Max))).value_or(true);
    return p;
}

bool saveWindowPlacement(WindowId window, const WindowPlacement& placement) {
    const WindowPlacement design = designPlacement(window);
    return saveNumber(window, Left, placement.left.value_or(*design.left)) &&
           saveNumber(window, Top, placement.top.value_or(*design.top)) &&
           saveNumber(window, Height, placement.height.value_or(*design.height)) &&
           saveNumber(window, Width, placement.width.value_or(*design.width)) &&
           profile::saveWindowValue(valueNumber(window, Max),
                                    profile::formatBool(placement.maximised));
}

} // namespace orvento::services
