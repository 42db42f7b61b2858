#include "core/PostgresCatalog.h"

#include <QCryptographicHash>
#include <QtEndian>

namespace orvento::core::postgres {

QString quotedIdentifier(const QString& name) {
    QString inner = name;
    inner.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + inner + QLatin1Char('"');
}

QString searchPathFor(const QString& schema) {
    return quotedIdentifier(schema) + QStringLiteral(", ") +
           quotedIdentifier(QString::fromLatin1(kCatalogSchema));
}

LockKey lockKey(LockPurpose purpose, const QString& name, const QString& table, qint64 id) {
    // A digest, not qHash: every workstation and every program version must agree on the keys.
    const QString text = QString::number(static_cast<int>(purpose)) + QLatin1Char('~') +
                         name.toLower() + QLatin1Char('~') + table.toLower();
    const QByteArray digest = QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256);
    LockKey key;
    key.group = qFromBigEndian<quint32>(digest.constData());
    key.item = static_cast<quint32>(id);
    return key;
}

} // namespace orvento::core::postgres
