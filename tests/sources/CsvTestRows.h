#pragma once

#include "core/sources/ImportSource.h"
#include "support/QtPrinting.h"

#include <QFile>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <vector>

// Small helpers shared by the text and dBase reader tests.
namespace orvento::testsupport {

inline void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// Every row of the table as the texts of its cells; fails the test on a read error.
inline std::vector<QStringList> readAllTexts(core::sources::SourceTable& table) {
    std::vector<QStringList> rows;
    core::sources::Row row;
    while (table.next(row)) {
        EXPECT_EQ(static_cast<qsizetype>(row.size()), table.columns().size());
        QStringList texts;
        for (const auto& cell : row)
            texts.push_back(cell.toText());
        rows.push_back(texts);
    }
    EXPECT_EQ(table.error(), QString());
    return rows;
}

} // namespace orvento::testsupport
