#include "ui/offers/OfferTemplateDetailDialog.h"

#include "core/RtfCodec.h"
#include "ui/CardWidgets.h"
#include "ui/CommandButton.h"
#include "ui/DialogButtons.h"
#include "ui/offers/RichTextEditorDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

namespace orvento::ui {

namespace {

constexpr QSize kDesignSize(560, 460);

QLineEdit* lineField(QWidget* parent, const char* name, int length, const QString& value) {
    auto* field = new QLineEdit(value, parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setMaxLength(length);
    return field;
}

QTextEdit* preview(QWidget* parent, const char* name) {
    auto* text = new QTextEdit(parent);
    text->setObjectName(QString::fromLatin1(name));
    text->setReadOnly(true);
    return text;
}

} // namespace

OfferTemplateDetailDialog::OfferTemplateDetailDialog(offers::OfferTemplateCard& card,
                                                     QWidget* parent, TextEditor textEditor)
    : QDialog(parent)
    , m_card(card)
    , m_textEditor(std::move(textEditor))
    , m_code(lineField(this, "edtZkratka", offers::kTemplateCodeLength, card.record().Zkratka))
    , m_name(lineField(this, "edtNazev", offers::kTemplateNameLength, card.record().Nazev))
    , m_title(lineField(this, "edtNadpis", offers::kTemplateTitleLength, card.record().Nadpis))
    , m_before(preview(this, "reTextPred"))
    , m_after(preview(this, "reTextZa")) {
    setObjectName(QStringLiteral("frmSablonyDetail"));
    setWindowTitle(offers::OfferTemplateCard::caption());
    if (!m_textEditor)
        m_textEditor = [this](const QString& stored) {
            return RichTextEditorDialog::edit(stored, this);
        };
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Zkratka šablony"), m_code);
    form->addRow(QStringLiteral("Název šablony"), m_name);
    form->addRow(QStringLiteral("Nadpis dokladu"), m_title);

    auto* before = makeCommandButton(this, "btnTextPred", QStringLiteral("Text před položkami"));
    auto* after = makeCommandButton(this, "btnTextZa", QStringLiteral("Text za položkami"));
    connect(before, &QPushButton::clicked, this,
            [this] { editText(&offers::OfferTemplate::TextPred); });
    connect(after, &QPushButton::clicked, this,
            [this] { editText(&offers::OfferTemplate::TextZa); });
    auto* texts = new QGridLayout;
    texts->addWidget(before, 0, 0);
    texts->addWidget(m_before, 1, 0);
    texts->addWidget(after, 0, 1);
    texts->addWidget(m_after, 1, 1);

    QDialogButtonBox* buttons = okCancelButtons(this);
    m_ok = buttons->findChild<QPushButton*>(QStringLiteral("btnOK"));
    m_ok->setEnabled(card.editable());
    before->setEnabled(card.editable());
    after->setEnabled(card.editable());

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(texts, 1);
    layout->addWidget(buttons);
    resize(kDesignSize);
    showTexts();
}

void OfferTemplateDetailDialog::showTexts() {
    for (const auto& [view, text] : {std::pair{m_before, &offers::OfferTemplate::TextPred},
                                     std::pair{m_after, &offers::OfferTemplate::TextZa}}) {
        QTextDocument document;
        core::rtf::read(m_card.record().*text, document);
        view->setDocument(document.clone(view));
    }
}

void OfferTemplateDetailDialog::editText(QString offers::OfferTemplate::*text) {
    if (!m_card.editable())
        return;
    if (const auto edited = m_textEditor(m_card.record().*text)) {
        m_card.record().*text = *edited;
        showTexts();
    }
}

void OfferTemplateDetailDialog::accept() {
    offers::OfferTemplate& row = m_card.record();
    row.Zkratka = m_code->text();
    row.Nazev = m_name->text();
    row.Nadpis = m_title->text();
    const orvento::catalogue::CardOutcome outcome = m_card.confirm();
    // The trimmed abbreviation is what the field shows from now on.
    m_code->setText(row.Zkratka);
    closeByOutcome(*this, outcome);
}

} // namespace orvento::ui
