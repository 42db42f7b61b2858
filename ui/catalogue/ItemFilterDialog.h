#pragma once

#include "catalogue/ItemFilter.h"

#include <QDialog>

#include <optional>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLineEdit;
class QToolButton;

namespace orvento::core {
class UserInteraction;
}

namespace orvento::ui {

// frmZasobyFiltr "Filtr": the catalogue filter's entries, each condition with its check box.
class ItemFilterDialog : public QDialog {
    Q_OBJECT
public:
    ItemFilterDialog(core::UserInteraction& ui, const orvento::catalogue::ItemFilter& entries,
                     QWidget* parent = nullptr);

    // The entries confirmed with OK, nothing after "Storno".
    static std::optional<orvento::catalogue::ItemFilter>
    run(core::UserInteraction& ui, const orvento::catalogue::ItemFilter& entries, QWidget* parent);

    const orvento::catalogue::ItemFilter& entries() const { return m_entries; }
    void accept() override;

private:
    QCheckBox* checkBox(const char* name, const QString& text);
    QToolButton* toolButton(const char* name, const QString& text, const QString& tip);
    void buildTextRow(QGridLayout* grid, int row, QCheckBox* box, QLineEdit* field,
                      QCheckBox* part);
    void pickPriceGroup();
    void editIdentifiers();
    void updateEnabled();
    void readFields();

    core::UserInteraction& m_ui;
    orvento::catalogue::ItemFilter m_entries;
    QCheckBox* m_byDescription;
    QLineEdit* m_description;
    QCheckBox* m_descriptionPart;
    QCheckBox* m_byCatalogue;
    QLineEdit* m_catalogue;
    QCheckBox* m_cataloguePart;
    QCheckBox* m_byPriceGroup;
    QLineEdit* m_priceGroup;
    QToolButton* m_pickGroup;
    QToolButton* m_clearGroup;
    QCheckBox* m_byAvailability;
    QComboBox* m_availability;
    QCheckBox* m_byIdentifiers;
    QLineEdit* m_identifiers;
    QToolButton* m_editIdentifiers;
    QCheckBox* m_active;
};

} // namespace orvento::ui
