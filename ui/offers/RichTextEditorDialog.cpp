#include "ui/offers/RichTextEditorDialog.h"

#include "ui/DialogButtons.h"
#include "ui/RichTextEditor.h"

#include <QDialogButtonBox>
#include <QTextEdit>
#include <QVBoxLayout>

namespace orvento::ui {

namespace {

constexpr QSize kDesignSize(560, 380);

} // namespace

RichTextEditorDialog::RichTextEditorDialog(const QString& stored, QWidget* parent)
    : QDialog(parent)
    , m_editor(new RichTextEditor(this)) {
    setObjectName(QStringLiteral("frmEditTRtf"));
    setWindowTitle(QStringLiteral("Editor"));
    m_editor->editor()->setObjectName(QStringLiteral("RichEdit"));
    m_editor->setRtf(stored);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_editor, 1);
    layout->addWidget(okCancelButtons(this));
    resize(kDesignSize);
    m_editor->editor()->setFocus();
}

QString RichTextEditorDialog::rtf() const {
    return m_editor->rtf();
}

std::optional<QString> RichTextEditorDialog::edit(const QString& stored, QWidget* parent) {
    RichTextEditorDialog dialog(stored, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.rtf();
}

} // namespace orvento::ui
