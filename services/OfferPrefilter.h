#pragma once

#include <QString>

#include <vector>

namespace orvento::core {
class Database;
}

namespace orvento::services {

// The offer pre-filter of a user: the user numbers, separated by ";", whose offers a user without
// "zobrazovat všechny nabídky" sees. Offers made while nobody was registered belong to number 0.

bool prefilterContains(const QString& list, int number);
// The list with the number appended when it is not in it yet.
QString prefilterWith(const QString& list, int number);
// The numbers of the list; parts that are not numbers are skipped.
std::vector<int> prefilterNumbers(const QString& list);

// The chooser that edits a pre-filter list (frmPrefiltrNabidky): one entry per possible author,
// checked when the author is in the list.
class PrefilterChooser {
public:
    struct Entry {
        int number = 0;
        QString name;
        bool checked = false;
    };

    static QString caption();
    static QString heading();
    static QString note();
    static QString anonymousName(); // "[uživatel bez jména]"

    // The anonymous author first, then every registered user in table order. False when the
    // users cannot be read (the anonymous entry is still there).
    bool load(core::Database& global, const QString& list);

    const std::vector<Entry>& entries() const { return m_entries; }
    void setChecked(size_t index, bool checked);
    // The checked numbers in list order joined with ";" (empty when none is checked).
    QString result() const;

private:
    std::vector<Entry> m_entries;
};

} // namespace orvento::services
