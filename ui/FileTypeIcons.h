#pragma once

#include <QFileIconProvider>
#include <QIcon>
#include <QString>

#include <optional>

namespace orvento::ui {

// The small icons of file types as the system shows them, for the grids of linked documents.
// The system is asked only once an icon is wanted.
class FileTypeIcons {
public:
    // The icon of the file's type; none when the file is missing.
    QIcon of(const QString& path);
    // The plain icon of a file of no particular type.
    QIcon plainFile();

private:
    QFileIconProvider& provider();

    std::optional<QFileIconProvider> m_provider;
};

} // namespace orvento::ui
