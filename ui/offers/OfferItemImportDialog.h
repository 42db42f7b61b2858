#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace orvento::core {
class AppContext;
}
namespace orvento::offers {
class OfferCardLogic;
class OfferItemImport;
} // namespace orvento::offers

namespace orvento::ui {

// frmItemsImportFileParser: the choices of adding catalogue items by the keys in a file or on the
// clipboard. The logic checks, reads and adds; the dialog only shows its settings and hands it
// the clipboard's text.
class OfferItemImportDialog : public QDialog {
    Q_OBJECT
public:
    OfferItemImportDialog(offers::OfferItemImport& logic, QWidget* parent = nullptr);

    // The bulk menu's command: the rights check, then the dialog over the card's offer. True when
    // the person confirmed and the items were looked up.
    static bool run(core::AppContext& context, offers::OfferCardLogic& card, QWidget* parent);

    void accept() override;

    QComboBox* sourceField() const { return m_source; }
    QComboBox* keyField() const { return m_key; }
    QLineEdit* fileField() const { return m_file; }
    QCheckBox* titlesField() const { return m_titles; }
    QComboBox* keyColumnField() const { return m_keyColumn; }
    QComboBox* countColumnField() const { return m_countColumn; }
    QCheckBox* defaultCountField() const { return m_defaultCount; }

private:
    void showSettings();
    void takeSettings();
    void sourceChanged();
    void updateRows();

    offers::OfferItemImport& m_logic;
    QComboBox* m_source = nullptr;
    QComboBox* m_key = nullptr;
    QLineEdit* m_file = nullptr;
    QPushButton* m_browse = nullptr;
    QLabel* m_fileLabel = nullptr;
    QCheckBox* m_titles = nullptr;
    QLabel* m_keyColumnLabel = nullptr;
    QComboBox* m_keyColumn = nullptr;
    QLabel* m_countColumnLabel = nullptr;
    QComboBox* m_countColumn = nullptr;
    QCheckBox* m_defaultCount = nullptr;
};

} // namespace orvento::ui
