#include "output/PriceListSettings.h"

#include <QHash>
#include <QStringList>

namespace orvento::output {

namespace {

const QString kTrue = QStringLiteral("-1");
const QString kFalse = QStringLiteral("0");

QString flag(bool on) {
    return on ? kTrue : kFalse;
}

bool isOn(const QString& value) {
    const QString v = value.trimmed();
    return v == kTrue || v == QLatin1String("1") ||
           v.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
}

// A value is one line: a line break typed into a heading would split it into a key of its own.
QString oneLine(const QString& text) {
    QString v = text;
    v.replace(QLatin1String("\r\n"), QLatin1String(" "));
    v.replace(QLatin1Char('\r'), QLatin1Char(' '));
    v.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return v;
}

template <typename E> E choiceOf(const QString& value, E fallback, int last) {
    bool ok = false;
    const int n = value.trimmed().toInt(&ok);
    return ok && n >= 1 && n <= last ? static_cast<E>(n) : fallback;
}

std::vector<qint64> idList(const QHash<QString, QString>& values, const QString& key,
                           const QString& countKey) {
    std::vector<qint64> ids;
    bool ok = false;
    const int count = values.value(countKey).trimmed().toInt(&ok);
    for (int n = 1; ok && n <= count; ++n) {
        bool idOk = false;
        const qint64 id = values.value(key + QString::number(n)).trimmed().toLongLong(&idOk);
        if (idOk)
            ids.push_back(id);
    }
    return ids;
}

} // namespace

QString settingsText(const PriceListSettings& s) {
    QStringList lines;
    const auto put = [&lines](const QString& key, const QString& value) {
        lines << key + QLatin1Char('=') + oneLine(value);
    };
    put(QStringLiteral("VyberListu"), QString::number(static_cast<int>(s.sheets)));
    for (size_t n = 0; n < s.checkedSheets.size(); ++n)
        put(QStringLiteral("List%1").arg(n + 1), QString::number(s.checkedSheets[n]));
    put(QStringLiteral("OznacListu"), QString::number(s.checkedSheets.size()));
    put(QStringLiteral("VyberSkupin"), QString::number(static_cast<int>(s.groups)));
    for (size_t m = 0; m < s.checkedGroups.size(); ++m)
        put(QStringLiteral("Skupina%1").arg(m + 1), QString::number(s.checkedGroups[m]));
    put(QStringLiteral("OznacSkupin"), QString::number(s.checkedGroups.size()));
    put(QStringLiteral("Dealersky"), flag(s.dealer));
    put(QStringLiteral("TisknoutZPC"), flag(s.basicWhenNoLevel));
    put(QStringLiteral("VlastniNadpis"), flag(s.ownHeading));
    put(QStringLiteral("VlastniNadpisText"), s.ownHeadingText);
    for (int k = 0; k < kPriceColumns; ++k) {
        const PriceColumn& c = s.columns[static_cast<size_t>(k)];
        put(QStringLiteral("Cena%1").arg(k + 1), c.source);
        put(QStringLiteral("CenaSDPH%1").arg(k + 1), flag(c.withVat));
        put(QStringLiteral("Nadpis%1").arg(k + 1), c.heading);
    }
    put(QStringLiteral("NetisknoutNazev"), flag(s.noSheetName));
    return lines.join(QLatin1String("\r\n"));
}

PriceListSettings parseSettings(const QString& text) {
    QHash<QString, QString> values;
    QString normalised = text;
    normalised.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    normalised.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    for (const QString& line : normalised.split(QLatin1Char('\n'))) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        values.insert(line.left(eq).trimmed(), line.mid(eq + 1));
    }
    PriceListSettings s;
    s.sheets = choiceOf(values.value(QStringLiteral("VyberListu")), SheetChoice::Current,
                        static_cast<int>(SheetChoice::Selected));
    s.checkedSheets = idList(values, QStringLiteral("List"), QStringLiteral("OznacListu"));
    s.groups = choiceOf(values.value(QStringLiteral("VyberSkupin")), GroupChoice::All,
                        static_cast<int>(GroupChoice::Selected));
    s.checkedGroups = idList(values, QStringLiteral("Skupina"), QStringLiteral("OznacSkupin"));
    s.dealer = isOn(values.value(QStringLiteral("Dealersky")));
    s.basicWhenNoLevel = isOn(values.value(QStringLiteral("TisknoutZPC")));
    s.ownHeading = isOn(values.value(QStringLiteral("VlastniNadpis")));
    s.ownHeadingText =
        values.value(QStringLiteral("VlastniNadpisText")).left(kPriceListHeadingLength);
    for (int k = 0; k < kPriceColumns; ++k) {
        PriceColumn& c = s.columns[static_cast<size_t>(k)];
        const QString source = values.value(QStringLiteral("Cena%1").arg(k + 1)).trimmed();
        c.source = source.isEmpty() ? PriceColumn::noSource() : source;
        c.withVat = isOn(values.value(QStringLiteral("CenaSDPH%1").arg(k + 1)));
        c.heading = values.value(QStringLiteral("Nadpis%1").arg(k + 1)).left(kColumnHeadingLength);
    }
    s.noSheetName = isOn(values.value(QStringLiteral("NetisknoutNazev")));
    return s;
}

} // namespace orvento::output
