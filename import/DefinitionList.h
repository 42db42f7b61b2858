#pragma once

#include "import/DefinitionEditor.h"
#include "import/ImportDefinitionStore.h"

#include <memory>
#include <optional>
#include <vector>

namespace orvento::core {
class AppContext;
}

namespace orvento::import {

// The wizard's list of definitions ("Vyberte importní definici:") without its window: the rows
// of `Import` in table order, the current one, and the commands that open the editor or delete.
class DefinitionList {
public:
    explicit DefinitionList(core::AppContext& context);

    static QString nameColumnTitle() { return QStringLiteral("Název"); }
    static QString deleteQuestion() {
        return QStringLiteral("Opravdu chcete vyjmout označenou definici ?");
    }

    // Reads the rows and makes `locate` current when it is listed (else the first row). False
    // after the read failure's message.
    bool reload(qint64 locate);
    const std::vector<DefinitionListRow>& rows() const { return m_rows; }
    bool hasRows() const { return !m_rows.empty(); }
    std::optional<std::size_t> currentIndex() const { return m_current; }
    void setCurrentIndex(std::size_t index);
    std::optional<qint64> currentId() const;
    // The current row's `Popis`, shown below the list.
    QString currentDescription() const;

    // "Přidat": an editor over a new definition of the kind; nothing after a refusal.
    std::unique_ptr<DefinitionEditor> openNew(DefinitionKind kind);
    // "Opravit" (EditMode::Edit) and "Kopírovat" (EditMode::Copy) of the current row, read again
    // first; nothing after the message when it is gone or may not be opened.
    std::unique_ptr<DefinitionEditor> openCurrent(EditMode mode);
    // After an editor saved: the list read again on the saved row.
    void afterSave(const DefinitionEditor& editor);
    // Whether "Přidat" offers the Money definition: while the agenda holds none.
    bool offersMoneyDefinition() const;
    // "Přidat" / "Import z účetního systému Money": the rights, the list read again, and the
    // Money definition with its defaults stored and made current, unless one came meanwhile (it
    // is made current then). True when a row was added.
    bool addMoneyDefinition();
    // "Vyjmout": rights, the row read again, its lock, the question, the delete; the following
    // row (or the previous one) becomes current. True when the row was deleted.
    bool removeCurrent();

private:
    // The current row read again; false after the warning when it is gone.
    bool refreshCurrent(qint64& id);

    core::AppContext& m_context;
    ImportDefinitionStore m_store;
    std::vector<DefinitionListRow> m_rows;
    std::optional<std::size_t> m_current;
};

} // namespace orvento::import
