#include "ui/FileTypeIcons.h"

#include <QFileInfo>

namespace orvento::ui {

QFileIconProvider& FileTypeIcons::provider() {
    if (!m_provider)
        m_provider.emplace();
    return *m_provider;
}

QIcon FileTypeIcons::of(const QString& path) {
    const QFileInfo file(path);
    if (path.isEmpty() || !file.exists())
        return {};
    return provider().icon(file);
}

QIcon FileTypeIcons::plainFile() {
    return provider().icon(QFileIconProvider::File);
}

} // namespace orvento::ui
