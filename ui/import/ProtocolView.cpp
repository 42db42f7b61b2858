#include "ui/import/ProtocolView.h"

#include <QColor>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>

namespace orvento::ui {

namespace {

const QColor kGreen(0, 128, 0);
const QColor kRed(Qt::red);

QTextCharFormat formatOf(import::ImportProtocol::Style style) {
    using Style = import::ImportProtocol::Style;
    QTextCharFormat format;
    switch (style) {
    case Style::Plain:
        break;
    case Style::Bold:
        format.setFontWeight(QFont::Bold);
        break;
    case Style::BoldGreen:
        format.setFontWeight(QFont::Bold);
        format.setForeground(kGreen);
        break;
    case Style::Red:
        format.setForeground(kRed);
        break;
    }
    return format;
}

} // namespace

ProtocolView::ProtocolView(QWidget* parent)
    : QTextEdit(parent) {
    setObjectName(QStringLiteral("reProtocol"));
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setLineWrapMode(QTextEdit::NoWrap);
}

ProtocolView::~ProtocolView() {
    if (m_protocol)
        m_protocol->setListener({});
}

void ProtocolView::follow(import::ImportProtocol& protocol) {
    if (m_protocol && m_protocol != &protocol)
        m_protocol->setListener({});
    m_protocol = &protocol;
    protocol.setListener([this](import::ImportProtocol::Change change) {
        switch (change) {
        case import::ImportProtocol::Change::Added:
            append(m_protocol->lines().back());
            break;
        case import::ImportProtocol::Change::LastRemoved:
            removeLastLine();
            break;
        case import::ImportProtocol::Change::Cleared:
            clearLines();
            break;
        }
    });
    showAll();
}

void ProtocolView::clearLines() {
    clear();
    m_lineCount = 0;
}

void ProtocolView::showAll() {
    clearLines();
    for (const import::ImportProtocol::Line& line : m_protocol->lines())
        append(line);
}

void ProtocolView::append(const import::ImportProtocol::Line& line) {
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    // The document starts with one empty paragraph: the first line takes it.
    if (m_lineCount > 0)
        cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    cursor.insertText(line.text, formatOf(line.style));
    ++m_lineCount;
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void ProtocolView::removeLastLine() {
    if (m_lineCount == 0)
        return;
    --m_lineCount;
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.movePosition(QTextCursor::StartOfBlock, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    // The paragraph mark before it goes too, unless it was the only paragraph.
    if (m_lineCount > 0)
        cursor.deletePreviousChar();
}

} // namespace orvento::ui
