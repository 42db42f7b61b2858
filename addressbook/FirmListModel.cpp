#include "addressbook/FirmListModel.h"

#include "core/Database.h"

#include <QSqlQuery>

#include <algorithm>

namespace orvento::addressbook {

namespace {

// The grid field named by a stored sort field, or nothing.
QString fieldNamed(const QString& sortField) {
    for (const QString& f : FirmListModel::fields())
        if (f.compare(sortField.trimmed(), Qt::CaseInsensitive) == 0)
            return f;
    return {};
}

} // namespace

FirmListModel::FirmListModel(core::Database& db, QObject* parent)
    : RowBlockModel(db, QStringLiteral("Adresar"), fields(), MarkedRole, parent) {}

const QStringList& FirmListModel::fields() {
    static const QStringList list = {
        QStringLiteral("Nazev"),   QStringLiteral("Ulice"), QStringLiteral("Misto"),
        QStringLiteral("Psc"),     QStringLiteral("Stat"),  QStringLiteral("ICO"),
        QStringLiteral("Telefon"), QStringLiteral("Fax"),   QStringLiteral("Email"),
        QStringLiteral("WWW"),     QStringLiteral("EANKod")};
    return list;
}

bool FirmListModel::isSortable(const QString& field) {
    static const QStringList sortable = {QStringLiteral("NAZEV"), QStringLiteral("ULICE"),
                                         QStringLiteral("MISTO"), QStringLiteral("PSC"),
                                         QStringLiteral("ICO"),   QStringLiteral("EMAIL"),
                                         QStringLiteral("EANKOD")};
    return sortable.contains(field.trimmed().toUpper());
}

QString FirmListModel::normalisedSortField(const QString& field) {
    return isSortable(field) ? field.trimmed().toUpper() : QStringLiteral("NAZEV");
}

bool FirmListModel::load(const QString& sortField) {
    m_sortField = normalisedSortField(sortField);
    const QString field = fieldNamed(m_sortField);
    m_sortColumn = static_cast<int>(fields().indexOf(field));
    m_keys.clear();
    // Names of columns come from the fixed list above, never from what was typed.
    const bool ok =
        resetIds(QStringLiteral("SELECT ID, ") + field + QStringLiteral(" FROM Adresar ORDER BY ") +
                     field + QStringLiteral(" COLLATE CZECH, ID"),
                 {}, [this](const QSqlQuery& q) { m_keys.push_back(q.value(1).toString()); });
    if (!ok)
        m_keys.clear();
    // Marks of firms that are gone (deleted elsewhere) name nothing any more.
    dropMarksNotShown();
    return ok;
}

bool FirmListModel::reload() {
    return load(m_sortField);
}

bool FirmListModel::sortBy(const QString& field) {
    if (!isSortable(field))
        return false;
    return load(field);
}

QString FirmListModel::value(int row, const QString& field) const {
    const std::vector<QVariant>* r = rowValues(row);
    const qsizetype column = fields().indexOf(fieldNamed(field));
    return !r || column < 0 ? QString() : r->at(static_cast<size_t>(column)).toString();
}

std::optional<int> FirmListModel::quickFind(const QString& text) const {
    if (text.isEmpty() || m_sortColumn < 0)
        return std::nullopt;
    for (size_t row = 0; row < m_keys.size(); ++row)
        if (m_keys[row].startsWith(text, Qt::CaseInsensitive))
            return static_cast<int>(row);
    return std::nullopt;
}

int FirmListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(fields().size());
}

QVariant FirmListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    switch (role) {
    case IdRole:
        return idAt(index.row());
    case MarkedRole:
        return isMarked(idAt(index.row()));
    case Qt::DisplayRole: {
        const std::vector<QVariant>* r = rowValues(index.row());
        return r ? (*r)[static_cast<size_t>(index.column())].toString() : QVariant();
    }
    default:
        return {};
    }
}

QVariant FirmListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= fields().size())
        return RowBlockModel::headerData(section, orientation, role);
    return fields().at(section);
}

} // namespace orvento::addressbook
