#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <optional>

namespace orvento::services {

// The firm's logo is kept as PNG data: whatever picture the user loads (BMP, PNG or JPEG), every
// workstation and the report runner read the same lossless form.

// The file dialog filter of "Načíst ze souboru".
QString logoFileFilter();

// Reads a picture file and gives its PNG form; nothing (with the reason in Czech) when the file
// cannot be read or is not a picture in one of the accepted formats.
std::optional<QByteArray> logoFromFile(const QString& path, QString* reason = nullptr);

// The stored logo as a picture; a null image when there is none or it cannot be read.
QImage logoImage(const QByteArray& data);

} // namespace orvento::services
