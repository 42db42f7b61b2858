#include "core/sources/TextCodec.h"

#include <QStringDecoder>

#include <optional>

namespace orvento::core::sources {

namespace {

constexpr char utf8ByteOrderMark[] = "\xEF\xBB\xBF";
constexpr qsizetype utf8ByteOrderMarkLength = 3;
constexpr char fallbackEncoding[] = "windows-1250";

// Pure ASCII or UTF-8 without errors; the check runs the decoder once over the bytes.
std::optional<QString> decodeStrictUtf8(QByteArrayView bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

} // namespace

QString decodeUnlabelledText(QByteArrayView bytes) {
    if (bytes.startsWith(QByteArrayView(utf8ByteOrderMark, utf8ByteOrderMarkLength))) {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        return decoder(bytes.sliced(utf8ByteOrderMarkLength));
    }
    if (auto text = decodeStrictUtf8(bytes))
        return *std::move(text);
    QStringDecoder decoder(fallbackEncoding, QStringDecoder::Flag::Stateless);
    return decoder(bytes);
}

QByteArray codePageEncodingName(int codePage) {
    // Windows code pages go by "windows-NNNN", the DOS ones by IBM's names.
    constexpr int firstWindowsCodePage = 1250;
    constexpr int lastWindowsCodePage = 1258;
    constexpr int utf8CodePage = 65001;
    QByteArray name;
    if (codePage >= firstWindowsCodePage && codePage <= lastWindowsCodePage)
        name = "windows-" + QByteArray::number(codePage);
    else if (codePage == utf8CodePage)
        name = "UTF-8";
    else
        name = "IBM" + QByteArray::number(codePage);
    if (!QStringDecoder(name.constData()).isValid())
        return {};
    return name;
}

} // namespace orvento::core::sources
