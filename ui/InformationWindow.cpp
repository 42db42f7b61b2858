#include "ui/InformationWindow.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace orvento::ui {

InformationWindow::InformationWindow(QWidget* parent)
    : QDialog(parent)
    , m_text(new QPlainTextEdit(this)) {
    setObjectName(QStringLiteral("frmInformace"));
    setWindowTitle(QStringLiteral("Informace"));
    m_text->setReadOnly(true);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(buttons);
    resize(560, 360);
}

void InformationWindow::setLines(const QString& heading, const QStringList& lines) {
    QStringList all{heading};
    all << lines;
    m_text->setPlainText(all.join(QLatin1Char('\n')));
    m_text->moveCursor(QTextCursor::Start);
    m_text->verticalScrollBar()->setValue(0);
}

QString InformationWindow::text() const {
    return m_text->toPlainText();
}

} // namespace orvento::ui
