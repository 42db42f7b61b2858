#pragma once

#include <QImage>
#include <QString>

namespace orvento::catalogue {

// Reads an item's picture: JPEG through libjpeg, other kinds (BMP, PNG) through Qt's readers. A
// file that is not a picture, or a JPEG cut short, gives a null image; it never ends the
// program.
QImage loadPicture(const QString& path);

// The same for JPEG data already in memory.
QImage decodeJpeg(const QByteArray& data);

// A picture as baseline JPEG data at `quality` (1..100); empty when it cannot be encoded.
QByteArray encodeJpeg(const QImage& image, int quality);

} // namespace orvento::catalogue
