#include "dastrel/ReportTemplate.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>

#include <kainjow/mustache.hpp>

namespace orvento::dastrel {

QPageLayout ReportTemplate::pageLayout() const {
    return QPageLayout(QPageSize(pageSize), orientation, marginsMm, QPageLayout::Millimeter);
}

namespace {

std::optional<QPageSize::PageSizeId> pageSizeNamed(const QString& name) {
    const QString n = name.trimmed().toUpper();
    if (n == QLatin1String("A4"))
        return QPageSize::A4;
    if (n == QLatin1String("A5"))
        return QPageSize::A5;
    if (n == QLatin1String("A3"))
        return QPageSize::A3;
    if (n == QLatin1String("LETTER"))
        return QPageSize::Letter;
    return std::nullopt;
}

std::optional<bool> yesNo(const QString& value) {
    const QString v = value.trimmed().toLower();
    if (v == QLatin1String("yes") || v == QLatin1String("ano") || v == QLatin1String("1"))
        return true;
    if (v == QLatin1String("no") || v == QLatin1String("ne") || v == QLatin1String("0"))
        return false;
    return std::nullopt;
}

// Applies one "key = value" line of the page part; an empty text when it was understood.
QString applySetting(ReportTemplate& t, const QString& key, const QString& value) {
    const QString k = key.trimmed().toLower();
    if (k == QLatin1String("size")) {
        const auto size = pageSizeNamed(value);
        if (!size)
            return QStringLiteral("neznámý formát stránky \"%1\"").arg(value.trimmed());
        t.pageSize = *size;
    } else if (k == QLatin1String("orientation")) {
        const QString v = value.trimmed().toLower();
        if (v == QLatin1String("portrait"))
            t.orientation = QPageLayout::Portrait;
        else if (v == QLatin1String("landscape"))
            t.orientation = QPageLayout::Landscape;
        else
            return QStringLiteral("orientace musí být portrait nebo landscape");
    } else if (k == QLatin1String("margins")) {
        const QStringList parts =
            value.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        std::array<double, 4> mm{};
        bool ok = parts.size() == 4;
        for (int i = 0; ok && i < 4; ++i) {
            mm[static_cast<std::size_t>(i)] = parts[i].toDouble(&ok);
            ok = ok && mm[static_cast<std::size_t>(i)] >= 0.0 &&
                 mm[static_cast<std::size_t>(i)] <= 80.0;
        }
        if (!ok)
            return QStringLiteral("okraje jsou čtyři čísla v mm (vlevo nahoře vpravo dole)");
        t.marginsMm = QMarginsF(mm[0], mm[1], mm[2], mm[3]);
    } else if (k == QLatin1String("font")) {
        if (value.trimmed().isEmpty())
            return QStringLiteral("chybí název písma");
        t.fontFamily = value.trimmed();
    } else if (k == QLatin1String("font-size")) {
        bool ok = false;
        const double size = value.trimmed().toDouble(&ok);
        if (!ok || size < 4.0 || size > 72.0)
            return QStringLiteral("velikost písma musí být číslo od 4 do 72");
        t.fontSize = size;
    } else if (k == QLatin1String("header-on-first-page")) {
        const auto v = yesNo(value);
        if (!v)
            return QStringLiteral("header-on-first-page musí být yes nebo no");
        t.headerOnFirstPage = *v;
    } else {
        return QStringLiteral("neznámé nastavení stránky \"%1\"").arg(key.trimmed());
    }
    return QString();
}

QString checkMustache(const QString& part, const QString& text) {
    const kainjow::mustache::mustache m(text.toStdString());
    if (m.is_valid())
        return QString();
    return QStringLiteral("chyba ve značkách části [%1]: %2")
        .arg(part, QString::fromStdString(m.error_message()));
}

} // namespace

std::optional<ReportTemplate> parseTemplate(const QString& text, QString* error) {
    static const QRegularExpression partLine(
        QStringLiteral("^\\[(page|style|header|body|footer)\\]\\s*$"));
    ReportTemplate t;
    QString part;
    bool hasBody = false;
    const auto failAt = [error](int line, const QString& why) {
        if (error)
            *error = QStringLiteral("řádek %1: %2").arg(line).arg(why);
        return std::nullopt;
    };
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const auto match = partLine.match(line);
        if (match.hasMatch()) {
            part = match.captured(1);
            hasBody = hasBody || part == QLatin1String("body");
            continue;
        }
        if (part.isEmpty()) {
            // Before the first part only comments and empty lines.
            if (!line.trimmed().isEmpty() && !line.trimmed().startsWith(QLatin1Char('#')))
                return failAt(i + 1, QStringLiteral("šablona musí začínat částí [page] nebo "
                                                    "[body]"));
            continue;
        }
        if (part == QLatin1String("page")) {
            const QString trimmed = line.trimmed();
            if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')))
                continue;
            const qsizetype eq = trimmed.indexOf(QLatin1Char('='));
            if (eq < 0)
                return failAt(i + 1, QStringLiteral("v části [page] chybí \"=\""));
            const QString why = applySetting(t, trimmed.left(eq), trimmed.mid(eq + 1));
            if (!why.isEmpty())
                return failAt(i + 1, why);
            continue;
        }
        QString& target = part == QLatin1String("style")    ? t.style
                          : part == QLatin1String("header") ? t.header
                          : part == QLatin1String("footer") ? t.footer
                                                            : t.body;
        target += line;
        target += QLatin1Char('\n');
    }
    if (!hasBody) {
        if (error)
            *error = QStringLiteral("šablona nemá část [body]");
        return std::nullopt;
    }
    for (const auto& [name, content] :
         {std::pair{QStringLiteral("header"), t.header}, std::pair{QStringLiteral("body"), t.body},
          std::pair{QStringLiteral("footer"), t.footer}}) {
        const QString why = checkMustache(name, content);
        if (!why.isEmpty()) {
            if (error)
                *error = why;
            return std::nullopt;
        }
    }
    return t;
}

std::optional<ReportTemplate> loadTemplate(const QString& path, QString* error) {
    QFile file(path);
    if (!file.exists()) {
        if (error)
            *error = QStringLiteral("Šablona sestavy %1 nebyla nalezena.").arg(path);
        return std::nullopt;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Šablonu sestavy %1 nelze otevřít: %2")
                         .arg(path, file.errorString());
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    QString why;
    std::optional<ReportTemplate> t;
    if (utf8.hasError() || bytes.contains('\0'))
        why = QStringLiteral("soubor není text v kódování UTF-8");
    else
        t = parseTemplate(text, &why);
    if (!t && error)
        *error = QStringLiteral("Šablona sestavy %1 je poškozená: %2.").arg(path, why);
    return t;
}

} // namespace orvento::dastrel
