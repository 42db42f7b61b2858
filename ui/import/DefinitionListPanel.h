#pragma once

#include <QWidget>

#include <memory>
#include <optional>

namespace orvento::core {
class AppContext;
}

namespace orvento::import {
struct ImportDefinition;
}

namespace orvento::ui {

// The wizard's page "Vyberte importní definici:": the definitions by name with the current one's
// description below, and "Přidat" (a menu of the two kinds), "Opravit" (also a double click),
// "Kopírovat" and "Vyjmout", which open the definition editor with the rights and the record
// lock of the definition.
class DefinitionListPanel : public QWidget {
    Q_OBJECT
public:
    explicit DefinitionListPanel(core::AppContext& context, QWidget* parent = nullptr);
    ~DefinitionListPanel() override;

    // Reads the list and makes `currentId` (the one used last) current when it is there. False
    // after the read failure's message.
    bool reload(qint64 currentId);
    bool isEmpty() const;
    // The ID of the current row, when there is one.
    std::optional<qint64> currentId() const;

private:
    struct Parts;
    std::unique_ptr<Parts> m_parts;
};

} // namespace orvento::ui
