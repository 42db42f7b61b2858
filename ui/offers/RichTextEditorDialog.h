#pragma once

#include <QDialog>

#include <optional>

namespace orvento::ui {

class RichTextEditor;

// frmEditTRtf, "Editor": one stored rich text in the rich-text editor, with "OK" and "Storno".
class RichTextEditorDialog : public QDialog {
    Q_OBJECT
public:
    RichTextEditorDialog(const QString& stored, QWidget* parent = nullptr);

    RichTextEditor* editor() const { return m_editor; }
    // The text to give back (the stored one while untouched).
    QString rtf() const;

    // The edited text after "OK"; nothing after "Storno".
    static std::optional<QString> edit(const QString& stored, QWidget* parent);

private:
    RichTextEditor* m_editor;
};

} // namespace orvento::ui
