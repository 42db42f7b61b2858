#include "ui/RichTextEditor.h"

#include "core/RtfCodec.h"
#include "ui/CommandButton.h"
#include "ui/DialogButtons.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QShortcut>
#include <QTextEdit>
#include <QVBoxLayout>

namespace orvento::ui {

namespace {

constexpr int kSwatchSize = 14;

// "Písmo": the font dialog's family, size and style with the colour beside them. A character
// set is no choice here: the texts are Unicode.
class FontChoiceDialog : public QDialog {
public:
    FontChoiceDialog(const QFont& font, const QColor& colour, QWidget* parent)
        : QDialog(parent)
        , m_fonts(new QFontDialog(font, this))
        , m_colourButton(new QPushButton(QStringLiteral("&Barva..."), this))
        , m_colour(colour) {
        setWindowTitle(QStringLiteral("Písmo"));
        m_fonts->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
        m_fonts->setWindowFlags(Qt::Widget);
        m_colourButton->setObjectName(QStringLiteral("btnBarva"));
        showColour();
        connect(m_colourButton, &QPushButton::clicked, this, [this] {
            const QColor chosen =
                QColorDialog::getColor(m_colour, this, QStringLiteral("Barva písma"));
            if (chosen.isValid()) {
                m_colour = chosen;
                showColour();
            }
        });
        auto* bottom = new QHBoxLayout;
        bottom->addWidget(m_colourButton);
        bottom->addStretch();
        bottom->addWidget(okCancelButtons(this));
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(m_fonts);
        layout->addLayout(bottom);
    }
    QFont font() const { return m_fonts->currentFont(); }
    QColor colour() const { return m_colour; }

private:
    void showColour() {
        QPixmap swatch(kSwatchSize, kSwatchSize);
        swatch.fill(m_colour);
        m_colourButton->setIcon(QIcon(swatch));
    }

    QFontDialog* m_fonts;
    QPushButton* m_colourButton;
    QColor m_colour;
};

} // namespace

RichTextEditor::RichTextEditor(QWidget* parent)
    : QWidget(parent)
    , m_editor(new QTextEdit(this)) {
    m_editor->setAcceptRichText(true);
    connect(m_editor, &QTextEdit::textChanged, this, &RichTextEditor::takeEdit);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    buildTools(layout);
    layout->addWidget(m_editor);
}

void RichTextEditor::buildTools(QVBoxLayout* into) {
    auto* bold =
        makeCommandButton(this, "btnTucne", QStringLiteral("B"), QStringLiteral("Tučné (Ctrl+B)"));
    auto* italic = makeCommandButton(this, "btnKurziva", QStringLiteral("I"),
                                     QStringLiteral("Kurzíva (Ctrl+I)"));
    auto* underline = makeCommandButton(this, "btnPodtrzeni", QStringLiteral("U"),
                                        QStringLiteral("Podtržení (Ctrl+U)"));
    m_font = makeCommandButton(this, "btnPismo", QStringLiteral("Písmo"));
    m_font->setEnabled(false);
    QFont boldFace = bold->font();
    boldFace.setBold(true);
    bold->setFont(boldFace);
    QFont italicFace = italic->font();
    italicFace.setItalic(true);
    italic->setFont(italicFace);
    QFont underlineFace = underline->font();
    underlineFace.setUnderline(true);
    underline->setFont(underlineFace);
    connect(bold, &QPushButton::clicked, this, &RichTextEditor::toggleBold);
    connect(italic, &QPushButton::clicked, this, &RichTextEditor::toggleItalic);
    connect(underline, &QPushButton::clicked, this, &RichTextEditor::toggleUnderline);
    connect(m_font, &QPushButton::clicked, this, &RichTextEditor::chooseFont);
    // The buttons leave the focus in the text, so the selection they format stays.
    for (QPushButton* b : {bold, italic, underline, m_font})
        b->setFocusPolicy(Qt::NoFocus);
    connect(qApp, &QApplication::focusChanged, m_font,
            [font = m_font, editor = m_editor](QWidget*, QWidget* now) {
                font->setEnabled(now == editor);
            });
    // The keys work while the text has the focus.
    const std::pair<QKeySequence, QPushButton*> keys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_B), bold},
        {QKeySequence(Qt::CTRL | Qt::Key_I), italic},
        {QKeySequence(Qt::CTRL | Qt::Key_U), underline}};
    for (const auto& [key, target] : keys) {
        auto* shortcut = new QShortcut(key, m_editor);
        shortcut->setContext(Qt::WidgetShortcut);
        connect(shortcut, &QShortcut::activated, target, &QPushButton::click);
    }
    auto* tools = new QHBoxLayout;
    for (QPushButton* b : {bold, italic, underline, m_font})
        tools->addWidget(b);
    tools->addStretch();
    into->addLayout(tools);
}

void RichTextEditor::setRtf(const QString& stored) {
    m_showing = true;
    QTextDocument document;
    core::rtf::read(stored, document);
    m_editor->setDocument(document.clone(m_editor));
    m_showing = false;
    m_stored = stored;
    m_touched = false;
}

QString RichTextEditor::rtf() const {
    if (!m_touched)
        return m_stored;
    return m_editor->document()->isEmpty() ? QString() : core::rtf::write(*m_editor->document());
}

void RichTextEditor::takeEdit() {
    if (m_showing)
        return;
    m_touched = true;
    emit edited();
}

void RichTextEditor::format(const std::function<void(QTextCharFormat&)>& change) {
    QTextCharFormat format = m_editor->currentCharFormat();
    change(format);
    m_editor->mergeCurrentCharFormat(format);
    m_touched = true;
    emit edited();
}

void RichTextEditor::toggleBold() {
    format([](QTextCharFormat& f) {
        f.setFontWeight(f.fontWeight() >= QFont::Bold ? QFont::Normal : QFont::Bold);
    });
}

void RichTextEditor::toggleItalic() {
    format([](QTextCharFormat& f) { f.setFontItalic(!f.fontItalic()); });
}

void RichTextEditor::toggleUnderline() {
    format([](QTextCharFormat& f) { f.setFontUnderline(!f.fontUnderline()); });
}

void RichTextEditor::applyFont(const QFont& font, const QColor& colour) {
    format([&](QTextCharFormat& f) {
        f.setFont(font, QTextCharFormat::FontPropertiesAll);
        f.setForeground(colour);
    });
}

void RichTextEditor::chooseFont() {
    const QTextCharFormat current = m_editor->currentCharFormat();
    const QColor colour = current.foreground().style() == Qt::NoBrush
                              ? palette().color(QPalette::Text)
                              : current.foreground().color();
    FontChoiceDialog dialog(m_editor->currentFont(), colour, this);
    if (dialog.exec() == QDialog::Accepted)
        applyFont(dialog.font(), dialog.colour());
    m_editor->setFocus();
}

} // namespace orvento::ui
