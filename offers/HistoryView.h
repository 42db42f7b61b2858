#pragma once

#include "services/ActionHistory.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace orvento::core {
class Database;
}

namespace orvento::offers {

// The logic of the window "Historie akcí" (`frmHistoryAction`) for one offer: the list of its
// history rows and the read-only preview of the offer as the selected row recorded it.
class HistoryView {
public:
    HistoryView(core::Database& agenda, qint64 offerId);

    static QString caption();
    static QString helpText();
    static QString noPreviewText();
    static QStringList columnTitles();
    static QStringList itemColumnTitles();

    // Reads the rows and selects the most recent one. False when the table cannot be read.
    bool open();
    const std::vector<services::ActionRow>& rows() const { return m_rows; }
    // "Datum", "Čas", "Typ akce", "Uživatel", "Popis" of a row.
    QStringList rowTexts(std::size_t index) const;

    std::optional<std::size_t> current() const { return m_current; }
    // Selects a row and rebuilds its preview from the stored snapshots.
    void select(std::optional<std::size_t> index);

    struct PreviewItem {
        QStringList cells; // "Popis položky", "Počet", "m.j.", "Za m.j. bez DPH"
        bool title = false;
    };
    struct Preview {
        QString caption;
        QString popis;
        QString stav;
        QString vystaveno;
        QString platnost;
        QString vyrizeno;
        QStringList odberatel; // name, contact, street, post code, place
        QString celkemNC;
        QString zisk;
        QString celkemBDPH;
        QString celkem;
        std::vector<PreviewItem> items;
    };
    // Nothing when the selected row has no readable offer snapshot ("Náhled není k dispozici.").
    const std::optional<Preview>& preview() const { return m_preview; }
    // The purchase-price and profit sums follow the program's purchase-price switch.
    static bool purchaseSumsVisible();

private:
    void buildPreview(const services::ActionSnapshots& snapshots, const QDateTime& when);

    core::Database& m_db;
    qint64 m_offerId;
    std::vector<services::ActionRow> m_rows;
    std::optional<std::size_t> m_current;
    std::optional<Preview> m_preview;
};

} // namespace orvento::offers
