#pragma once

#include <QWidget>

#include <functional>

class QPushButton;
class QTextCharFormat;
class QTextEdit;
class QVBoxLayout;

namespace orvento::ui {

// A rich text with its formatting buttons: "Tučné" (Ctrl+B), "Kurzíva" (Ctrl+I), "Podtržení"
// (Ctrl+U) and "Písmo" (family, size, style and colour of the selection; enabled while the text
// has the focus). It takes and gives stored RTF; a text the person leaves alone gives back its
// stored RTF exactly, whatever wrote it.
class RichTextEditor : public QWidget {
    Q_OBJECT
public:
    explicit RichTextEditor(QWidget* parent = nullptr);

    QTextEdit* editor() const { return m_editor; }
    QPushButton* fontButton() const { return m_font; }

    // Shows a stored text; it counts as untouched until the person changes it.
    void setRtf(const QString& stored);
    // The text to store: the stored one while untouched, written anew once changed (empty for
    // an empty text).
    QString rtf() const;
    bool touched() const { return m_touched; }

    // The format of the selection (or of what is typed next), as the buttons change it.
    void toggleBold();
    void toggleItalic();
    void toggleUnderline();
    void applyFont(const QFont& font, const QColor& colour);

signals:
    // The person changed the text or its format.
    void edited();

private:
    void buildTools(QVBoxLayout* into);
    void chooseFont();
    void format(const std::function<void(QTextCharFormat&)>& change);
    void takeEdit();

    QTextEdit* m_editor;
    QPushButton* m_font = nullptr;
    QString m_stored;
    bool m_touched = false;
    bool m_showing = false;
};

} // namespace orvento::ui
