#include "import/ImportProtocol.h"

#include <QStringList>

namespace orvento::import {

void ImportProtocol::add(const QString& text, Style style) {
    m_lines.push_back({text, style});
    if (m_listener)
        m_listener(Change::Added);
}

void ImportProtocol::removeLast() {
    if (m_lines.empty())
        return;
    m_lines.pop_back();
    if (m_listener)
        m_listener(Change::LastRemoved);
}

void ImportProtocol::clear() {
    m_lines.clear();
    if (m_listener)
        m_listener(Change::Cleared);
}

QString ImportProtocol::toPlainText() const {
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(m_lines.size()));
    for (const Line& line : m_lines)
        texts << line.text;
    return texts.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace orvento::import
