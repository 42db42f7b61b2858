#include "catalogue/IdentifierCodes.h"

namespace orvento::catalogue {

QStringList splitIdentifiers(const QString& list) {
    QStringList codes;
    qsizetype from = list.indexOf(kIdentifierSeparator);
    while (from >= 0) {
        const qsizetype to = list.indexOf(kIdentifierSeparator, from + 1);
        if (to < 0 || to == from + 1)
            break;
        codes << list.mid(from + 1, to - from - 1);
        from = to;
    }
    return codes;
}

QString joinIdentifiers(const QStringList& codes) {
    if (codes.isEmpty())
        return {};
    QString list(kIdentifierSeparator);
    for (const QString& code : codes)
        list += code + kIdentifierSeparator;
    return list;
}

bool fitsIdentifierColumn(const QString& list) {
    return list.size() <= kIdentifierListLength;
}

bool sameIdentifier(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool holdsIdentifier(const QStringList& codes, const QString& code) {
    for (const QString& c : codes)
        if (sameIdentifier(c, code))
            return true;
    return false;
}

bool carriesIdentifier(const QString& list, const QString& code) {
    return holdsIdentifier(splitIdentifiers(list), code);
}

QString addIdentifiers(const QString& itemList, const QString& chosenList) {
    QStringList codes = splitIdentifiers(itemList.toUpper());
    for (const QString& c : splitIdentifiers(chosenList.toUpper()))
        if (!codes.contains(c))
            codes << c;
    return joinIdentifiers(codes);
}

QString removeIdentifiers(const QString& itemList, const QString& chosenList) {
    QStringList codes = splitIdentifiers(itemList.toUpper());
    for (const QString& c : splitIdentifiers(chosenList.toUpper()))
        codes.removeAll(c);
    return joinIdentifiers(codes);
}

} // namespace orvento::catalogue
