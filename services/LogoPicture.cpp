#include "services/LogoPicture.h"

#include <QBuffer>
#include <QDir>
#include <QImageReader>

namespace orvento::services {

namespace {

// A logo is printed a few centimetres wide; anything larger than this is a mistake (a photo
// from a camera) that would only swell the database.
constexpr int kMaxLogoSide = 4000;

bool acceptedFormat(const QByteArray& format) {
    return format == "bmp" || format == "png" || format == "jpeg" || format == "jpg";
}

} // namespace

QString logoFileFilter() {
    return QStringLiteral("Obrázky (*.bmp *.png *.jpg *.jpeg);;Bitmapy (*.bmp);;Všechny soubory "
                          "(*)");
}

std::optional<QByteArray> logoFromFile(const QString& path, QString* reason) {
    const QString shown = QDir::toNativeSeparators(path);
    auto fail = [&](const QString& text) -> std::optional<QByteArray> {
        if (reason)
            *reason = text;
        return std::nullopt;
    };
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    if (!acceptedFormat(reader.format()))
        return fail(
            QStringLiteral("Soubor %1 není obrázek ve formátu BMP, PNG nebo JPEG.").arg(shown));
    const QSize size = reader.size();
    if (size.width() > kMaxLogoSide || size.height() > kMaxLogoSide)
        return fail(QStringLiteral("Obrázek %1 je příliš velký (%2 × %3 bodů), logo může mít "
                                   "nejvýše %4 bodů na každé straně.")
                        .arg(shown)
                        .arg(size.width())
                        .arg(size.height())
                        .arg(kMaxLogoSide));
    const QImage image = reader.read();
    if (image.isNull())
        return fail(
            QStringLiteral("Obrázek %1 se nepodařilo načíst: %2").arg(shown, reader.errorString()));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return fail(QStringLiteral("Obrázek %1 se nepodařilo převést.").arg(shown));
    return png;
}

QImage logoImage(const QByteArray& data) {
    if (data.isEmpty())
        return {};
    return QImage::fromData(data);
}

} // namespace orvento::services
