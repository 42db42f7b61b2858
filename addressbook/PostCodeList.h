#pragma once

#include <QString>

#include <optional>
#include <vector>

namespace orvento::core {
class Database;
class UserInteraction;
} // namespace orvento::core

namespace orvento::addressbook {

// One row of the global table `Mista`.
struct PostCodeRow {
    qint64 id = 0;
    QString psc;
    QString misto;
};

// The sortable columns of the list, by their field names in upper case.
inline constexpr const char* kSortByPsc = "PSC";
inline constexpr const char* kSortByMisto = "MISTO";

// The logic of the post code list (`frmPsc`): the rows of `Mista` in the chosen order, the
// current row, quick find and deletion. Opening puts back the row and the order of the last use
// in this run; closing remembers them.
class PostCodeList {
public:
    enum class Mode { Manage = 0, Pick = 1 };

    PostCodeList(core::Database& global, core::UserInteraction& ui, Mode mode = Mode::Manage);

    // Reads the list with the wait window, in the remembered order, on the remembered row.
    bool open();
    // Remembers the current row and the order for the next opening.
    void close();

    Mode mode() const { return m_mode; }
    const std::vector<PostCodeRow>& rows() const { return m_rows; }
    std::optional<std::size_t> current() const { return m_current; }
    const PostCodeRow* currentRow() const;
    void setCurrent(std::optional<std::size_t> index);
    // "OK", "Opravit" and "Vyjmout" work only on a row.
    bool hasRows() const { return !m_rows.empty(); }

    const QString& sortField() const { return m_sortField; }
    // Sorts by "PSC" or "MISTO" (any letter case); the current row stays current.
    void sortBy(const QString& field);
    // The first row whose sort column starts with the text, ignoring letter case.
    std::optional<std::size_t> quickFind(const QString& text) const;

    // Re-reads the table and finds the row `id` again (else keeps the position as near as it
    // can). False when the row is gone or the table cannot be read.
    bool refreshAndLocate(std::optional<qint64> id);
    // "Obnovit": re-reads and stays on the current row.
    bool refresh();
    // "Vyjmout": deletes the current row at once, without asking, unless another workstation
    // has it open; the list moves to the neighbouring row.
    bool removeCurrent();

private:
    bool read();
    void sortRows();
    std::optional<std::size_t> indexOf(qint64 id) const;

    core::Database& m_db;
    core::UserInteraction& m_ui;
    Mode m_mode;
    std::vector<PostCodeRow> m_rows;
    std::optional<std::size_t> m_current;
    QString m_sortField;
};

// The first place stored for a post code (spaces ignored); empty when there is none.
QString placeOfPostCode(core::Database& global, const QString& psc);
// A post code as stored: trimmed, without any space.
QString normalisedPostCode(const QString& typed);

} // namespace orvento::addressbook
