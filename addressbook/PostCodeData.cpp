#include "addressbook/PostCodeData.h"

#include "addressbook/PostCodeList.h"
#include "core/Database.h"

#include <QFile>
#include <QRegularExpression>
#include <QTextStream>

namespace orvento::addressbook {

bool loadPostCodes(core::Database& global, const QString& csvPath, QString* error) {
    QFile file(csvPath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Utf8);
    in.readLine(); // the header
    static const QRegularExpression code(QStringLiteral("^\\d{5}$"));
    core::Transaction unit(global);
    core::Statement insert(global,
                           QStringLiteral("INSERT INTO Mista (PSC, Misto) VALUES (:PSC, :Misto)"));
    int lineNumber = 1;
    while (!in.atEnd()) {
        const QString line = in.readLine();
        ++lineNumber;
        if (line.trimmed().isEmpty())
            continue;
        const qsizetype comma = line.lastIndexOf(QLatin1Char(','));
        const QString place = line.left(comma).trimmed();
        const QString psc = normalisedPostCode(line.mid(comma + 1));
        if (comma <= 0 || place.isEmpty() || !code.match(psc).hasMatch()) {
            if (error)
                *error = QStringLiteral("%1: řádek %2").arg(csvPath).arg(lineNumber);
            return false;
        }
        if (!insert.exec({{QStringLiteral("PSC"), psc}, {QStringLiteral("Misto"), place}})) {
            if (error)
                *error = insert.lastError();
            return false;
        }
    }
    return unit.commit();
}

} // namespace orvento::addressbook
