#pragma once

#include <QString>

#include <vector>

namespace orvento::core {

// A small INI file as Windows programs write it: [SECTION] headers, key=value lines, section and
// key names compared without regard to case. Lines it does not understand are kept as they are,
// so rewriting a file never loses what a person wrote into it.
class IniFile {
public:
    // A missing or unreadable file gives an empty one.
    static IniFile load(const QString& path);
    // The same from a text already in memory (an entry read from an archive).
    static IniFile fromText(const QString& content);

    QString value(const QString& section, const QString& key,
                  const QString& fallback = QString()) const;
    // Whether the section has the key at all (an empty value counts).
    bool contains(const QString& section, const QString& key) const {
        return find(section, key) >= 0;
    }
    // Any non-zero number reads as true; anything else that is not a number gives the fallback.
    bool boolValue(const QString& section, const QString& key, bool fallback) const;
    void setValue(const QString& section, const QString& key, const QString& value);
    void setBool(const QString& section, const QString& key, bool value);

    // Writes the whole file at once, so that a failure leaves the old file intact.
    bool save(const QString& path) const;
    QString toText() const;

private:
    struct Line {
        QString section; // the section this line belongs to
        QString key;     // empty for headers, comments and lines that are not key=value
        QString raw;
    };
    int find(const QString& section, const QString& key) const;

    std::vector<Line> m_lines;
};

} // namespace orvento::core
