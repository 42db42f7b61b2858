#pragma once

#include <QString>

#include <map>

namespace orvento::catalogue {

// Where the catalogue window was in each sheet and in each group, kept for the program run and
// stored in the profile's memos 6 ("Ceník - ID záznamů listů": sheet, group, item) and 7
// ("Ceník - ID záznamů skupin": group, item) in the in-memory table's text form.
class CataloguePositions {
public:
    struct SheetPlace {
        qint64 group = 0;
        qint64 item = 0;
    };

    void load();
    void save() const;

    void rememberSheet(qint64 sheet, qint64 group, qint64 item);
    void rememberGroup(qint64 group, qint64 item);
    SheetPlace sheet(qint64 sheet) const;
    qint64 itemOfGroup(qint64 group) const;

    QString sheetsText() const;
    QString groupsText() const;
    void readTexts(const QString& sheets, const QString& groups);

private:
    std::map<qint64, SheetPlace> m_sheets;
    std::map<qint64, qint64> m_groups;
};

} // namespace orvento::catalogue
