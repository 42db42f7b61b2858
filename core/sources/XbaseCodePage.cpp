#include "core/sources/XbaseCodePage.h"

#include "core/sources/TextCodec.h"

#include <QRegularExpression>
#include <QStringDecoder>

#include <array>
#include <utility>

namespace orvento::core::sources {

namespace {

// Language-driver bytes and the code pages they stand for, as dBase, FoxPro and the tools
// around them write them.
constexpr std::array<std::pair<quint8, int>, 32> driverCodePages{{
    {0x01, 437},  {0x02, 850},  {0x03, 1252}, {0x08, 865},  {0x09, 437}, {0x0A, 850},  {0x0B, 437},
    {0x0D, 437},  {0x0E, 850},  {0x0F, 437},  {0x10, 850},  {0x11, 437}, {0x12, 850},  {0x1F, 852},
    {0x22, 852},  {0x23, 852},  {0x26, 866},  {0x37, 850},  {0x40, 852}, {0x57, 1252}, {0x58, 1252},
    {0x59, 1252}, {0x64, 852},  {0x65, 866},  {0x66, 865},  {0x87, 852}, {0xC8, 1250}, {0xC9, 1251},
    {0xCA, 1254}, {0xCB, 1253}, {0xCC, 1257}, {0x7D, 1255},
}};

} // namespace

QByteArray xbaseDriverEncoding(quint8 languageDriver) {
    for (const auto& [driver, codePage] : driverCodePages) {
        if (driver == languageDriver)
            return codePageEncodingName(codePage);
    }
    return {};
}

QByteArray xbaseCodePageFileEncoding(QByteArrayView text) {
    const QString name = QString::fromLatin1(text).trimmed();
    if (name.isEmpty())
        return {};
    static const QRegularExpression driverPattern(QStringLiteral("^LDID/(\\d+)$"),
                                                  QRegularExpression::CaseInsensitiveOption);
    if (const auto match = driverPattern.match(name); match.hasMatch()) {
        bool ok = false;
        const uint driver = match.captured(1).toUInt(&ok);
        constexpr uint lastDriver = 0xFF;
        return ok && driver <= lastDriver ? xbaseDriverEncoding(static_cast<quint8>(driver))
                                          : QByteArray();
    }
    // A number, alone or after a prefix such as "CP", "ANSI ", "OEM " or "windows-".
    static const QRegularExpression codePagePattern(
        QStringLiteral("^(?:CP|ANSI|OEM|IBM|WINDOWS|WIN)?[ _-]?(\\d+)$"),
        QRegularExpression::CaseInsensitiveOption);
    if (const auto match = codePagePattern.match(name); match.hasMatch())
        return codePageEncodingName(match.captured(1).toInt());
    const QByteArray own = name.toLatin1();
    return QStringDecoder(own.constData()).isValid() ? own : QByteArray();
}

} // namespace orvento::core::sources
