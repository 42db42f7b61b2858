#include "ui/notes/NoteCardDialog.h"

#include "notes/NoteCard.h"
#include "notes/NoteListModel.h"
#include "notes/NoteRow.h"
#include "ui/DialogButtons.h"
#include "ui/RichTextEditor.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

namespace orvento::ui {

namespace {
constexpr int kMinimumWidth = 560;
constexpr int kMinimumHeight = 420;
} // namespace

NoteCardDialog::NoteCardDialog(notes::NoteCard& card, QWidget* parent)
    : QDialog(parent)
    , m_card(card)
    , m_title(new QLineEdit(card.nazev, this))
    , m_text(new RichTextEditor(this))
    , m_shared(new QCheckBox(QStringLiteral("zobrazit i ostatním uživatelům"), this))
    , m_allFirms(new QCheckBox(QStringLiteral("viditelná ve všech firmách"), this))
    , m_settled(new QCheckBox(QStringLiteral("vyřízeno"), this)) {
    setObjectName(QStringLiteral("frmKartaPozn"));
    setWindowTitle(notes::NoteCard::caption());
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    m_title->setObjectName(QStringLiteral("edtNazev"));
    m_title->setMaxLength(notes::kTitleWidth);
    m_title->installEventFilter(this);
    m_text->setObjectName(QStringLiteral("edtDetail"));
    m_text->setRtf(card.detail);
    m_shared->setObjectName(QStringLiteral("chckZobrazOst"));
    m_shared->setChecked(card.zobrazOst);
    m_allFirms->setObjectName(QStringLiteral("chckViditelna"));
    m_allFirms->setChecked(card.viditelna);
    m_settled->setObjectName(QStringLiteral("chckVyrizeno"));
    m_settled->setChecked(card.vyrizeno);
    connect(m_settled, &QCheckBox::toggled, this, &NoteCardDialog::showSettled);

    QDialogButtonBox* buttons = okCancelButtons(this);
    m_ok = buttons->findChild<QPushButton*>(QStringLiteral("btnOK"));
    m_ok->setEnabled(card.okEnabled());

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Nadpis poznámky:"), m_title);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(m_text, 1);
    layout->addWidget(m_shared);
    layout->addWidget(m_allFirms);
    layout->addWidget(m_settled);
    layout->addWidget(buttons);
    showSettled();
    m_text->editor()->setFocus();
}

bool NoteCardDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_title && event->type() == QEvent::FocusIn) {
        m_card.nazev = m_title->text();
        m_card.titleEntered();
        if (m_title->text() != m_card.nazev)
            m_title->setText(m_card.nazev);
    }
    return QDialog::eventFilter(watched, event);
}

void NoteCardDialog::showSettled() {
    m_title->setStyleSheet(m_settled->isChecked()
                               ? QStringLiteral("QLineEdit { color: white; background: %1; }")
                                     .arg(notes::settledColour().name())
                               : QString());
}

void NoteCardDialog::accept() {
    m_card.nazev = m_title->text();
    m_card.detail = m_text->rtf();
    m_card.zobrazOst = m_shared->isChecked();
    m_card.viditelna = m_allFirms->isChecked();
    m_card.vyrizeno = m_settled->isChecked();
    if (m_card.confirm() == notes::NoteCard::Outcome::Saved)
        QDialog::accept();
}

} // namespace orvento::ui
