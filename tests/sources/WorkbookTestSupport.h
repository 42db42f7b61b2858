#pragma once

#include "core/sources/ImportSource.h"

#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

// What the workbook tests share: sample files made by outside writers, and a table read whole.
namespace orvento::testsupport::workbooks {

using core::sources::Cell;
using core::sources::Row;

// Runs a script by the system's Python, which has the sample writers; fails the test when the
// script does not end well.
inline void runPython(const QString& script, const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(ORVENTO_SYSTEM_PYTHON),
                  QStringList{QStringLiteral("-c"), script} + arguments);
    ASSERT_TRUE(process.waitForFinished(60000));
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
}

struct TableRead {
    QStringList columns;
    qint64 rowCount = 0;
    std::vector<Row> rows;
    QString error;
};

inline TableRead readTable(core::sources::ImportSource& source, const QString& name) {
    TableRead read;
    QString error;
    auto table = source.openTable(name, error);
    if (!table) {
        read.error = error;
        return read;
    }
    read.columns = table->columns();
    read.rowCount = table->rowCount();
    Row row;
    while (table->next(row)) {
        EXPECT_EQ(row.size(), static_cast<std::size_t>(read.columns.size()));
        read.rows.push_back(row);
    }
    read.error = table->error();
    return read;
}

inline QString text(const Row& row, std::size_t column) {
    return column < row.size() ? row[column].toText() : QStringLiteral("<none>");
}

// Cuts a file to the given share of its length.
inline void cutFile(const QString& path, double share) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.resize(static_cast<qint64>(static_cast<double>(file.size()) * share)));
}

} // namespace orvento::testsupport::workbooks
