#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

namespace orvento::core::sources {

// Splits a text into records of fields, forward once. A record ends at CR LF, LF or CR; a field
// in double quotes may hold separators, line breaks and doubled quotes. Empty lines hold no
// record. Text after a closing quote, up to the separator, still belongs to the field.
class CsvParser {
public:
    CsvParser(QString text, QChar separator);

    // Calls onField(fieldIndex, QString) for each field of the next record; false at the end.
    template <typename OnField> bool read(OnField&& onField);
    // Passes over the next record without building its fields; false at the end.
    bool skip();
    // Back to the first record.
    void rewind() { m_position = 0; }

private:
    // One field's pieces as they stand in the text: the body (inside the quotes when quoted,
    // doubled quotes still doubled) and what follows a closing quote.
    struct RawField {
        QStringView body;
        QStringView tail;
        bool hasDoubledQuotes = false;
    };

    // Moves over blank lines; false when nothing but them is left.
    bool startRecord();
    RawField nextField();
    // After a field: true when another field of the same record follows.
    bool moveOverSeparator();
    static QString fieldText(const RawField& field);

    QString m_text;
    QChar m_separator;
    qsizetype m_position = 0;
};

template <typename OnField> bool CsvParser::read(OnField&& onField) {
    if (!startRecord())
        return false;
    for (int index = 0;; ++index) {
        const RawField field = nextField();
        onField(index, fieldText(field));
        if (!moveOverSeparator())
            return true;
    }
}

} // namespace orvento::core::sources
