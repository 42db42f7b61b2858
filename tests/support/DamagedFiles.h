#pragma once

#include <QFile>
#include <QRandomGenerator>
#include <QString>

#include <gtest/gtest.h>

namespace orvento::testsupport {

enum class Damage { Truncated, RandomBytes };

// Cuts a database file to half its length, or writes random bytes of its length over it.
inline void damageFile(const QString& path, Damage how) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite)) << path.toStdString();
    const qint64 size = file.size();
    ASSERT_GT(size, 8192);
    if (how == Damage::Truncated) {
        ASSERT_TRUE(file.resize(size / 2));
        return;
    }
    QByteArray bytes(static_cast<qsizetype>(size), Qt::Uninitialized);
    QRandomGenerator generator(21);
    for (char& byte : bytes)
        byte = static_cast<char>(generator.bounded(256));
    ASSERT_TRUE(file.seek(0));
    ASSERT_EQ(file.write(bytes), size);
}

} // namespace orvento::testsupport
