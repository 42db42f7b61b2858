#include "catalogue/IdentifierEditor.h"

#include "catalogue/IdentifierCodes.h"
#include "core/UserInteraction.h"

namespace orvento::catalogue {

QString identifierAlreadyListedMessage(const QString& code) {
    return QStringLiteral("Zkratka \"%1\" již v seznamu existuje.").arg(code);
}

QString identifierListTooLongMessage() {
    return QStringLiteral("Maximální délka řetězce (včetně separátorů) může být 255. Vymažte "
                          "některé položky ze seznamu.");
}

QString IdentifierEditor::helpText() {
    return QStringLiteral(
        "Identifikátor je libovolný textový řetězec, kterým lze označit kartu a toto označení "
        "využít např. pro pozdější filtrování či rozpis záznamů. Karta může obsahovat i více "
        "identifikátorů - pokud chcete nějaký přidat, stiskněte \"Přidat\" a vyberte ho ze "
        "seznamu již existujících identifikátorů.");
}

IdentifierEditor::IdentifierEditor(core::UserInteraction& ui)
    : m_ui(ui) {}

void IdentifierEditor::load(const QString& list) {
    m_codes = splitIdentifiers(list);
    m_current = m_codes.isEmpty() ? -1 : 0;
}

void IdentifierEditor::setCurrentRow(int row) {
    if (row >= 0 && row < m_codes.size())
        m_current = row;
}

void IdentifierEditor::add(const QString& code) {
    if (code.isEmpty())
        return;
    if (holdsIdentifier(m_codes, code)) {
        m_ui.information(identifierAlreadyListedMessage(code));
        return;
    }
    m_codes << code;
    m_current = static_cast<int>(m_codes.size()) - 1;
}

void IdentifierEditor::removeCurrent() {
    if (m_current < 0 || m_current >= m_codes.size())
        return;
    m_codes.removeAt(m_current);
    m_current = std::min(m_current, static_cast<int>(m_codes.size()) - 1);
}

std::optional<QString> IdentifierEditor::confirm() {
    const QString list = joinIdentifiers(m_codes);
    if (!fitsIdentifierColumn(list)) {
        m_ui.warning(identifierListTooLongMessage());
        return std::nullopt;
    }
    return list;
}

} // namespace orvento::catalogue
