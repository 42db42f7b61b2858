#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace orvento::core {
class UserInteraction;
}

namespace orvento::catalogue {

// The identifier editor (frmEditorIdentif, "Editor položek"): the codes of one identifier list
// as a table, added from the list of identifiers and removed one at a time, written back on OK.
class IdentifierEditor {
public:
    explicit IdentifierEditor(core::UserInteraction& ui);

    static QString caption() { return QStringLiteral("Editor položek"); }
    static QString helpTopic() { return QStringLiteral("pgEditorIdentif.htm"); }
    static QString helpText();

    // Empties the table and reads the list into it, on the first code.
    void load(const QString& list);
    const QStringList& codes() const { return m_codes; }
    int currentRow() const { return m_current; }
    void setCurrentRow(int row);
    // "Vyjmout" is offered only while there are codes.
    bool mayRemove() const { return !m_codes.isEmpty(); }

    // "Přidat" with the code picked from the list: appended unless the table holds it in any
    // letter case, which the person is told.
    void add(const QString& code);
    // "Vyjmout": the current code, without asking.
    void removeCurrent();
    // OK: the new list, or nothing after the warning when it would not fit its column (the
    // editor stays open with every code still in it).
    std::optional<QString> confirm();

private:
    core::UserInteraction& m_ui;
    QStringList m_codes;
    int m_current = -1;
};

QString identifierAlreadyListedMessage(const QString& code);
QString identifierListTooLongMessage();

} // namespace orvento::catalogue
