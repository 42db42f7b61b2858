#pragma once

#include "import/DefinitionEditor.h"

#include <QDialog>

#include <array>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QToolButton;

namespace orvento::ui {

class NumberField;

// frmImportNastaveni, "Nastavení importu": the common part over the page of the definition's
// kind, bound to an import::DefinitionEditor that decides everything.
class DefinitionEditorDialog : public QDialog {
    Q_OBJECT
public:
    DefinitionEditorDialog(import::DefinitionEditor& editor, QWidget* parent = nullptr);

    // Shows the editor modally; true when the definition was saved.
    static bool run(import::DefinitionEditor& editor, QWidget* parent);

    void accept() override;

private:
    // One mapped field: check box, source choice, then a column list or a fixed-value field.
    struct FieldRow {
        QCheckBox* check = nullptr;
        QComboBox* source = nullptr;
        QStackedWidget* value = nullptr;
        QComboBox* column = nullptr;
        QLineEdit* text = nullptr;
        NumberField* number = nullptr;
    };

    QWidget* buildCommonPart();
    QWidget* buildPriceListPage();
    QWidget* buildPriceListSettings();
    QWidget* buildNewItemsGroup();
    QWidget* buildItemsGroup();
    QWidget* buildAddressPage();
    QWidget* buildRawPage();
    FieldRow makeRow(const QString& name, const QString& caption, bool numeric, int width,
                     QWidget* parent);
    QLineEdit* shownChoice(const char* name, QWidget* parent);
    QToolButton* pickButton(const char* name, const QString& text, QWidget* parent);

    void showDefinition();
    void showRow(const FieldRow& row, const import::FieldMapping& field, bool numeric);
    void showColumns();
    void showEnabling();
    void collect();
    void collectRow(const FieldRow& row, import::FieldMapping& field, bool numeric);
    // Runs an editor command over what the controls hold, and shows the outcome.
    template <typename Command> void command(Command run);
    void editNote();

    import::DefinitionEditor& m_editor;
    bool m_showing = false;

    QComboBox* m_sourceKind = nullptr;
    QLineEdit* m_fileName = nullptr;
    QLabel* m_tableLabel = nullptr;
    QLineEdit* m_tableName = nullptr;
    QToolButton* m_tableButton = nullptr;
    QLineEdit* m_name = nullptr;
    QLabel* m_kindText = nullptr;
    QStackedWidget* m_pages = nullptr;
    QPushButton* m_ok = nullptr;

    std::array<FieldRow, import::kPriceListFieldCount> m_priceRows;
    QComboBox* m_valueKind = nullptr;
    QComboBox* m_salePriceBasis = nullptr;
    QCheckBox* m_setPriceGroup = nullptr;
    QLineEdit* m_priceGroup = nullptr;
    QCheckBox* m_setIdentifiers = nullptr;
    QLineEdit* m_identifiers = nullptr;
    QCheckBox* m_setRounding = nullptr;
    QComboBox* m_rounding = nullptr;
    QCheckBox* m_setPriceType = nullptr;
    QComboBox* m_priceType = nullptr;
    QCheckBox* m_setRecompute = nullptr;
    QComboBox* m_recompute = nullptr;
    QComboBox* m_recomputeBy = nullptr;
    QCheckBox* m_onlyNew = nullptr;
    QLineEdit* m_newSheet = nullptr;
    QLineEdit* m_newGroup = nullptr;
    QRadioButton* m_noCompare = nullptr;
    QRadioButton* m_compare = nullptr;
    QComboBox* m_reference = nullptr;
    QCheckBox* m_createMissing = nullptr;
    QCheckBox* m_filterOn = nullptr;
    QCheckBox* m_filterSheetOn = nullptr;
    QLineEdit* m_filterSheet = nullptr;
    QCheckBox* m_filterGroupOn = nullptr;
    QLineEdit* m_filterGroup = nullptr;
    QLabel* m_filterOff = nullptr;

    std::array<FieldRow, import::kAddressFieldCount> m_addressRows;
    QCheckBox* m_setPriceLevel = nullptr;
    QLineEdit* m_priceLevel = nullptr;
    QCheckBox* m_onlyNewFirms = nullptr;
    QRadioButton* m_noCompareFirms = nullptr;
    QRadioButton* m_compareFirms = nullptr;
    QComboBox* m_referenceFirms = nullptr;
    QCheckBox* m_createMissingFirms = nullptr;

    QPlainTextEdit* m_rawText = nullptr;
};

} // namespace orvento::ui
