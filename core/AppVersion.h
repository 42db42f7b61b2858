#pragma once

#include <QString>

namespace orvento::core {

// The product name and the version text the program shows on the splash window, in the status
// bar and in the About window. CMake reads the version from this line for the package: keep it
// one literal "<major>.<minor>".
inline const QString kProductName = QStringLiteral("Orvento");
inline const QString kVersion = QStringLiteral("2.05");
// The desktop's name of the program: its menu entry, icon and metadata carry it, and docks match
// the windows to the entry by it.
inline const QString kApplicationId = QStringLiteral("cz.orvento.Orvento");
inline QString versionCaption() {
    return QStringLiteral("Verze ") + kVersion;
}

} // namespace orvento::core
