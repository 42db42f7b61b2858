#pragma once

#include "catalogue/IdentifierEditor.h"

#include <QDialog>

#include <optional>

class QPushButton;
class QTableWidget;

namespace orvento::core {
class UserInteraction;
}

namespace orvento::ui {

// frmEditorIdentif "Editor položek": the codes of one identifier list, added from the list of
// identifiers ("Přidat", Alt+P or F3) and removed ("Vyjmout", Alt+V or Delete).
class IdentifierEditorDialog : public QDialog {
    Q_OBJECT
public:
    IdentifierEditorDialog(core::UserInteraction& ui, const QString& list,
                           QWidget* parent = nullptr);

    // The edited list after OK, nothing when cancelled.
    static std::optional<QString> edit(core::UserInteraction& ui, const QString& list,
                                       QWidget* parent);

    const std::optional<QString>& result() const { return m_result; }
    void addFromList();
    void removeCurrent();
    void accept() override;

private:
    void showCodes();

    core::UserInteraction& m_ui;
    orvento::catalogue::IdentifierEditor m_editor;
    QTableWidget* m_table;
    QPushButton* m_remove;
    std::optional<QString> m_result;
};

} // namespace orvento::ui
