#include "ui/offers/OfferTextPage.h"

#include "offers/OfferCardLogic.h"
#include "ui/RichTextEditor.h"

#include <QTextEdit>
#include <QVBoxLayout>

namespace orvento::ui {

OfferTextPage::OfferTextPage(offers::OfferCardLogic& logic, QString offers::OfferHeader::*text,
                             const QString& objectName, QWidget* parent)
    : QWidget(parent)
    , m_logic(logic)
    , m_text(text)
    , m_rich(new RichTextEditor(this)) {
    m_rich->editor()->setObjectName(objectName);
    connect(m_rich, &RichTextEditor::edited, this, &OfferTextPage::takeText);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_rich);
}

QTextEdit* OfferTextPage::editor() const {
    return m_rich->editor();
}

void OfferTextPage::showText() {
    // The text is in the working copy as soon as it changes, so rebuilding it here from the
    // header loses nothing the person typed.
    m_rich->setRtf(m_logic.offer().header().*m_text);
}

void OfferTextPage::takeText() {
    // Only a text the person changed is written anew; one left alone keeps its stored RTF.
    const QString rtf = m_rich->rtf();
    m_logic.editHeader([&](offers::OfferHeader& h) { h.*m_text = rtf; });
}

} // namespace orvento::ui
