#include "ui/offers/OfferTextPage.h"

#include "core/RtfCodec.h"
#include "offers/OfferCardLogic.h"
#include "ui/CommandButton.h"

#include <QApplication>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QShortcut>
#include <QTextEdit>
#include <QVBoxLayout>

namespace orvento::ui {

OfferTextPage::OfferTextPage(offers::OfferCardLogic& logic, QString offers::OfferHeader::*text,
                             const QString& objectName, QWidget* parent)
    : QWidget(parent)
    , m_logic(logic)
    , m_text(text)
    , m_editor(new QTextEdit(this)) {
    m_editor->setObjectName(objectName);
    m_editor->setAcceptRichText(true);
    connect(m_editor, &QTextEdit::textChanged, this, &OfferTextPage::takeText);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buildTools());
    layout->addWidget(m_editor);
}

QHBoxLayout* OfferTextPage::buildTools() {
    auto* bold =
        makeCommandButton(this, "btnTucne", QStringLiteral("B"), QStringLiteral("Tučně (Ctrl+B)"));
    auto* italic = makeCommandButton(this, "btnKurziva", QStringLiteral("I"),
                                     QStringLiteral("Kurzíva (Ctrl+I)"));
    auto* underline = makeCommandButton(this, "btnPodtrzeni", QStringLiteral("U"),
                                        QStringLiteral("Podtržení (Ctrl+U)"));
    auto* font = makeCommandButton(this, "btnPismo", QStringLiteral("Písmo"));
    font->setEnabled(false);
    connect(bold, &QPushButton::clicked, this, [this] {
        formatText([](QTextCharFormat& f) {
            f.setFontWeight(f.fontWeight() >= QFont::Bold ? QFont::Normal : QFont::Bold);
        });
    });
    connect(italic, &QPushButton::clicked, this,
            [this] { formatText([](QTextCharFormat& f) { f.setFontItalic(!f.fontItalic()); }); });
    connect(underline, &QPushButton::clicked, this, [this] {
        formatText([](QTextCharFormat& f) { f.setFontUnderline(!f.fontUnderline()); });
    });
    connect(font, &QPushButton::clicked, this, [this] {
        bool ok = false;
        const QFont chosen = QFontDialog::getFont(&ok, m_editor->currentFont(), this);
        if (ok)
            m_editor->setCurrentFont(chosen);
    });
    connect(qApp, &QApplication::focusChanged, font,
            [font, editor = m_editor](QWidget*, QWidget* now) { font->setEnabled(now == editor); });
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
    for (QPushButton* b : {bold, italic, underline, font})
        tools->addWidget(b);
    tools->addStretch();
    return tools;
}

void OfferTextPage::showText() {
    // The text is in the working copy as soon as it changes, so rebuilding it here from the
    // header loses nothing the person typed.
    m_showing = true;
    QTextDocument document;
    core::rtf::read(m_logic.offer().header().*m_text, document);
    m_editor->setDocument(document.clone(m_editor));
    m_showing = false;
}

void OfferTextPage::takeText() {
    // Only a text the person changed is written anew; one left alone keeps its stored RTF
    // exactly, whatever wrote it.
    if (m_showing)
        return;
    const QString rtf =
        m_editor->document()->isEmpty() ? QString() : core::rtf::write(*m_editor->document());
    m_logic.editHeader([&](offers::OfferHeader& h) { h.*m_text = rtf; });
}

void OfferTextPage::formatText(const std::function<void(QTextCharFormat&)>& change) {
    QTextCharFormat format = m_editor->currentCharFormat();
    change(format);
    m_editor->mergeCurrentCharFormat(format);
    m_logic.setChanged();
}

} // namespace orvento::ui
