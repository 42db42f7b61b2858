#pragma once

#include <QPointer>
#include <QTableView>
#include <QWidget>

class QKeyEvent;
class QLineEdit;

namespace orvento::ui {

// A grid set up as every list shows its rows: whole rows selected one at a time, no editing,
// fixed row height, no row numbers.
QTableView* makeListGrid(QWidget* parent, const QString& objectName);

// The quick-find field of a list ("vyhledávací políčko zavřete klávesou Tab"): a printable key
// typed in a grid opens it holding that character; it reports every change, and Enter, Tab, Esc
// or leaving it closes it and hands the focus back to the grid.
class QuickFindPanel : public QWidget {
    Q_OBJECT
public:
    explicit QuickFindPanel(QWidget* parent);

    QLineEdit* field() const { return m_field; }
    // The grid the find was opened from, while it is open.
    QTableView* grid() const { return m_grid; }
    void openFor(QTableView* grid, const QString& first);
    void closeFind();

    // A printable character typed without Ctrl or Alt, other than a blank, opens the find.
    static bool opensFind(const QKeyEvent* key);

Q_SIGNALS:
    void textEdited(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* m_field;
    QPointer<QTableView> m_grid;
};

} // namespace orvento::ui
