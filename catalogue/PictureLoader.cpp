#include "catalogue/PictureLoader.h"

#include <QFile>
#include <QImageReader>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

namespace orvento::catalogue {

namespace {

// libjpeg ends the process on a fatal error unless the error handler jumps out; a data error
// that it only warns about (the file ends early) also counts as a failure here.
struct ErrorHandler {
    jpeg_error_mgr base;
    std::jmp_buf escape;
    bool truncated;
};

[[noreturn]] void onFatal(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorHandler*>(info->err)->escape, 1);
}

void onMessage(j_common_ptr info, int level) {
    auto* handler = reinterpret_cast<ErrorHandler*>(info->err);
    if (level < 0 && handler->base.msg_code == JWRN_JPEG_EOF)
        handler->truncated = true;
}

// Everything that may be skipped by the jump lives in the caller, so no destructor is lost.
bool decodeInto(jpeg_decompress_struct& info, ErrorHandler& handler, const QByteArray& data,
                QImage& image, std::vector<JSAMPLE>& row) {
    info.err = jpeg_std_error(&handler.base);
    handler.base.error_exit = onFatal;
    handler.base.emit_message = onMessage;
    handler.truncated = false;
    if (setjmp(handler.escape) != 0)
        return false;
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK)
        return false;
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(&info);
    image = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                   cmyk ? QImage::Format_RGB32 : QImage::Format_RGB888);
    if (image.isNull())
        return false;
    row.resize(static_cast<size_t>(info.output_width) *
               static_cast<size_t>(info.output_components));
    while (info.output_scanline < info.output_height) {
        JSAMPROW rows[1] = {row.data()};
        const int line = static_cast<int>(info.output_scanline);
        jpeg_read_scanlines(&info, rows, 1);
        uchar* target = image.scanLine(line);
        if (!cmyk) {
            std::copy(row.begin(), row.end(), target);
            continue;
        }
        // Adobe writes CMYK inverted.
        auto* pixels = reinterpret_cast<QRgb*>(target);
        for (JDIMENSION x = 0; x < info.output_width; ++x) {
            const JSAMPLE* p = &row[x * 4];
            pixels[x] = qRgb(p[0] * p[3] / 255, p[1] * p[3] / 255, p[2] * p[3] / 255);
        }
    }
    jpeg_finish_decompress(&info);
    return !handler.truncated;
}

// As decodeInto: nothing with a destructor may live between the jump and its target.
bool encodeInto(jpeg_compress_struct& info, ErrorHandler& handler, const QImage& rgb,
                unsigned char** buffer, unsigned long* size, int quality) {
    info.err = jpeg_std_error(&handler.base);
    handler.base.error_exit = onFatal;
    if (setjmp(handler.escape) != 0)
        return false;
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, buffer, size);
    info.image_width = static_cast<JDIMENSION>(rgb.width());
    info.image_height = static_cast<JDIMENSION>(rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, std::clamp(quality, 1, 100), TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        // libjpeg only reads the rows it is given.
        JSAMPROW rows[1] = {
            const_cast<JSAMPLE*>(rgb.constScanLine(static_cast<int>(info.next_scanline)))};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    return true;
}

} // namespace

QByteArray encodeJpeg(const QImage& image, int quality) {
    if (image.isNull())
        return {};
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    jpeg_compress_struct info{};
    ErrorHandler handler{};
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const bool ok = encodeInto(info, handler, rgb, &buffer, &size, quality);
    jpeg_destroy_compress(&info);
    QByteArray data;
    if (ok && buffer != nullptr)
        data = QByteArray(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
    std::free(buffer); // allocated by libjpeg's memory destination
    return data;
}

QImage decodeJpeg(const QByteArray& data) {
    if (data.isEmpty())
        return {};
    jpeg_decompress_struct info{};
    ErrorHandler handler{};
    QImage image;
    std::vector<JSAMPLE> row;
    const bool ok = decodeInto(info, handler, data, image, row);
    jpeg_destroy_decompress(&info);
    return ok ? image : QImage();
}

QImage loadPicture(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = file.readAll();
    if (data.startsWith("\xFF\xD8"))
        return decodeJpeg(data);
    QImage image;
    image.loadFromData(data);
    return image;
}

} // namespace orvento::catalogue
