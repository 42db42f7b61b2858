#pragma once

#include "catalogue/PriceLists.h"

#include <QDialog>

class QLayout;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace orvento::ui {
class QuickFindPanel;
}

namespace orvento::ui {

// The shared frame of the price level and price group lists: a grid of code and name, "Přidat",
// "Opravit", "Vyjmout", "Obnovit" when managing, "OK" when picking, with the lists' quick find
// and sorting by a click on a column title. The subclass supplies the rows and the commands.
class CodedListWindow : public QDialog {
    Q_OBJECT
public:
    QTableWidget* table() const { return m_table; }
    QLineEdit* findBox() const;
    // Double-click and Enter: pick in pick mode, edit otherwise.
    void activate();

protected:
    CodedListWindow(orvento::catalogue::ListMode mode, bool manage, const QString& nameTitle,
                    QWidget* parent);

    // Fills the grid from the list's rows and selects its current row.
    void showRows();

    virtual int rowCount() const = 0;
    virtual QStringList rowTexts(int row) const = 0;
    virtual std::optional<size_t> currentIndex() const = 0;
    virtual void setCurrentIndex(size_t index) = 0;
    virtual void sortRows(orvento::catalogue::CodedColumn column) = 0;
    virtual std::optional<size_t> findRow(const QString& text) = 0;
    virtual void reloadRows() = 0;
    virtual void addRow() = 0;
    virtual void editRow() = 0;
    virtual void removeRow() = 0;

    orvento::catalogue::ListMode m_mode;

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildTable(const QString& nameTitle);
    QLayout* buildButtons(bool manage);
    void updateButtons();
    void sortByColumn(int column);

    QTableWidget* m_table;
    QuickFindPanel* m_find;
    QPushButton* m_edit;
    QPushButton* m_remove;
    QPushButton* m_ok;
};

} // namespace orvento::ui
