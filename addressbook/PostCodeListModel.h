#pragma once

#include <QAbstractTableModel>

namespace orvento::addressbook {

class PostCodeList;

// The grid of the post code list: "PSČ" and "Místo" straight from the list's rows, so that the
// whole Czech list (some 16,600 places) shows without a widget item per cell.
class PostCodeListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { PscColumn = 0, MistoColumn = 1 };

    explicit PostCodeListModel(const PostCodeList& list, QObject* parent = nullptr);

    // After the list re-read, re-sorted or lost a row.
    void reload();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    const PostCodeList& m_list;
};

} // namespace orvento::addressbook
