#pragma once

#include "addressbook/PostCodeList.h"
#include "addressbook/PostCodeListModel.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace orvento::core {
class AppContext;
}

namespace orvento::ui {

// frmPsc: the post code list, to pick a code and place (mode Pick) or to maintain the table.
class PostCodeListWindow : public QDialog {
    Q_OBJECT
public:
    PostCodeListWindow(core::AppContext& context, addressbook::PostCodeList::Mode mode,
                       QWidget* parent = nullptr);

    // OpenPostCodeList: the window modally; the row picked with OK, nothing when cancelled.
    static std::optional<addressbook::PostCodeRow>
    pick(core::AppContext& context, addressbook::PostCodeList::Mode mode, QWidget* parent);

    QTableView* table() const { return m_table; }
    QLineEdit* findBox() const { return m_find; }
    const addressbook::PostCodeList& list() const { return m_list; }
    void addRow();
    void editRow();
    void removeRow();
    void refreshRows();
    void sortByColumn(int column);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

private:
    void showRows();
    void updateButtons();
    void runCard(bool isNew);
    void hideFindBox();
    void choose();
    void setCurrentRow(int row);
    int currentRow() const;

    core::AppContext& m_context;
    addressbook::PostCodeList m_list;
    addressbook::PostCodeListModel m_model;
    QTableView* m_table;
    QLineEdit* m_find;
    QLabel* m_findHint;
    QPushButton* m_ok;
    QPushButton* m_edit;
    QPushButton* m_remove;
};

} // namespace orvento::ui
