#pragma once

#include "output/ReportTable.h"

#include <QString>

#include <optional>
#include <vector>

namespace orvento::output {

// A DataSet XML file read back: its tables with typed values, and the relations between them.
struct DataSet {
    struct Relation {
        QString name;
        QString masterTable;
        QString masterColumn;
        QString detailTable;
        QString detailColumn;
    };

    QString name;
    std::vector<ReportTable> tables;
    std::vector<Relation> relations;

    const ReportTable* table(const QString& tableName) const;
};

// Reads a DataSet XML file. Values come back as the column types say: texts, qlonglong, bool,
// double, QDateTime (invalid for the empty date), QTime, and the picture's bytes. Nothing, with a
// Czech reason in `error`, when the file cannot be read or is not such a file.
std::optional<DataSet> readDataSet(const QString& path, QString* error);
std::optional<DataSet> readDataSetText(const QByteArray& content, QString* error);

} // namespace orvento::output
