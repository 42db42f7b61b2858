#pragma once

#include "catalogue/NamedSettings.h"

#include <QDialog>

#include <functional>
#include <optional>

class QLineEdit;
class QPushButton;
class QTableWidget;

namespace orvento::core {
class UserInteraction;
}

namespace orvento::ui {

// frmVyberFiltruDetail "Nastavení": one name. OK runs `confirm` with the typed name; the outcome
// keeps the dialog open or closes it.
class SettingNameDialog : public QDialog {
    Q_OBJECT
public:
    using Confirm = std::function<orvento::catalogue::CardOutcome(const QString&)>;

    SettingNameDialog(const QString& name, Confirm confirm, QWidget* parent = nullptr);

    // A new setting's name (the caller inserts the row), nothing when cancelled.
    static std::optional<QString> askNew(core::UserInteraction& ui, QWidget* parent);

    QString name() const;
    void accept() override;

private:
    QLineEdit* m_name;
    Confirm m_confirm;
};

// frmVyberFiltru "Výběr nastavení": the named settings of one module, every user's.
class NamedSettingChooserWindow : public QDialog {
    Q_OBJECT
public:
    NamedSettingChooserWindow(core::UserInteraction& ui, int module, QWidget* parent = nullptr);

    // The chosen setting, nothing when cancelled.
    static std::optional<orvento::catalogue::NamedSetting> choose(core::UserInteraction& ui,
                                                                  int module, QWidget* parent);

    orvento::catalogue::NamedSettingChooser& chooser() { return m_chooser; }
    QTableWidget* table() const { return m_table; }
    void renameCurrent();
    void removeCurrent();

private:
    void showRows();

    orvento::catalogue::NamedSettingChooser m_chooser;
    QTableWidget* m_table;
    QPushButton* m_ok;
    QPushButton* m_rename;
    QPushButton* m_remove;
};

} // namespace orvento::ui
