#pragma once

#include <QString>
#include <QVariant>

#include <optional>
#include <vector>

namespace orvento::services {

// The program's in-memory table and its text form, in which grid layouts and the snapshots of
// the action history are stored. The text is independent of the regional settings: numbers with
// a decimal point, dates as dd/mm/yyyy, booleans as True/False.
enum class MemFieldType { String, Memo, Integer, Float, Boolean, Date, DateTime };

struct MemField {
    QString name;
    MemFieldType type = MemFieldType::String;
    int size = 0;
    QString displayName; // the name when empty
    QString editMask;
    int displayWidth = 0;
    bool required = false;
    bool readOnly = false;
    QString defaultExpression;

    QString shownName() const { return displayName.isEmpty() ? name : displayName; }
};

// Values are held by field type: QString, qlonglong, double, bool, QDate, QDateTime; an invalid
// QVariant is NULL.
struct MemTable {
    std::vector<MemField> fields;
    std::vector<std::vector<QVariant>> rows;

    // The field's position (names compared ignoring case), or -1.
    int fieldIndex(const QString& name) const;
    void addField(const QString& name, MemFieldType type, int size = 0);
    // A row of NULLs, returned for filling.
    std::vector<QVariant>& appendRow();
};

// The text form: the version line, the field definitions (when asked for), the line of display
// names and a line per row; every line ends with CR LF.
QString writeMemTable(const MemTable& table, bool withDefinitions);

// Reads either form back. Without field definitions every field is a string named by the
// header. Nothing when the text is not a table (a damaged memo, a value that does not convert,
// a row of the wrong length).
std::optional<MemTable> readMemTable(const QString& text);

} // namespace orvento::services
