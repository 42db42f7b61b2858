#pragma once

#include <QAbstractListModel>

namespace orvento::notes {

class NoteList;

// The desktop list's rows for a view: the title, settled notes in green.
class NoteListModel : public QAbstractListModel {
    Q_OBJECT
public:
    // True for a settled note.
    static constexpr int SettledRole = Qt::UserRole + 1;

    explicit NoteListModel(NoteList& list, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    NoteList& m_list;
};

// The colour of a settled note's title (and of its background when it is selected).
QColor settledColour();

} // namespace orvento::notes
