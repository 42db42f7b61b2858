#pragma once

#include <QString>

namespace orvento::core {

// The product name and the version text the program shows on the splash window, in the status
// bar and in the About window.
inline const QString kProductName = QStringLiteral("Orvento");
inline const QString kVersion = QStringLiteral("2.05");
inline QString versionCaption() {
    return QStringLiteral("Verze ") + kVersion;
}

} // namespace orvento::core
