#include "ui/notes/NotesPanel.h"

#include "core/RtfCodec.h"
#include "notes/NoteCard.h"
#include "notes/NoteList.h"
#include "notes/NoteListModel.h"
#include "ui/CommandButton.h"
#include "ui/notes/NoteCardDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

namespace orvento::ui {

namespace {

constexpr int kListStretch = 2;
constexpr int kTextStretch = 5;
constexpr int kListMinimumWidth = 220;

// A row's icon says settled or open; a selected settled note is white on green.
class NoteRowDelegate : public QStyledItemDelegate {
public:
    explicit NoteRowDelegate(QWidget* view)
        : QStyledItemDelegate(view)
        , m_settledIcon(view->style()->standardIcon(QStyle::SP_DialogApplyButton))
        , m_openIcon(view->style()->standardIcon(QStyle::SP_FileDialogDetailedView)) {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        const bool settled = index.data(notes::NoteListModel::SettledRole).toBool();
        option->icon = settled ? m_settledIcon : m_openIcon;
        option->features |= QStyleOptionViewItem::HasDecoration | QStyleOptionViewItem::WrapText;
        if (settled) {
            option->palette.setColor(QPalette::Highlight, notes::settledColour());
            option->palette.setColor(QPalette::HighlightedText, Qt::white);
        }
    }

private:
    QIcon m_settledIcon;
    QIcon m_openIcon;
};

} // namespace

NotesPanel::NotesPanel(notes::NoteList& notes, QWidget* parent)
    : QWidget(parent)
    , m_notes(notes)
    , m_model(new notes::NoteListModel(notes, this))
    , m_view(new QListView(this))
    , m_text(new QTextEdit(this)) {
    setObjectName(QStringLiteral("pnlPoznamky"));
    m_view->setObjectName(QStringLiteral("grPoznamky"));
    m_view->setAccessibleName(notes::NoteList::listCaption());
    m_view->setModel(m_model);
    m_view->setItemDelegate(new NoteRowDelegate(m_view));
    m_view->setWordWrap(true);
    m_view->setUniformItemSizes(false);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setMinimumWidth(kListMinimumWidth);
    m_text->setObjectName(QStringLiteral("edtPoznamka"));
    m_text->setReadOnly(true);

    auto* caption = new QLabel(notes::NoteList::listCaption(), this);
    caption->setObjectName(QStringLiteral("lblSeznamPoznamek"));
    caption->setBuddy(m_view);
    QFont bold = caption->font();
    bold.setBold(true);
    caption->setFont(bold);
    auto* listSide = new QVBoxLayout;
    listSide->addWidget(caption);
    listSide->addWidget(m_view, 1);
    auto* panes = new QHBoxLayout;
    panes->addLayout(listSide, kListStretch);
    panes->addWidget(m_text, kTextStretch);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(panes, 1);
    layout->addWidget(buildButtons());

    connect(m_view, &QListView::doubleClicked, this, [this] { editNote(); });
    connect(m_view->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& index) {
                m_notes.setCurrentRow(index.isValid() ? index.row() : -1);
            });
    connect(&m_notes, &notes::NoteList::reloaded, this, &NotesPanel::showRows);
    connect(&m_notes, &notes::NoteList::currentChanged, this, &NotesPanel::showCurrent);
    showRows();
    showCurrent(m_notes.currentRow());
}

QWidget* NotesPanel::buildButtons() {
    auto* bar = new QWidget(this);
    QPushButton* add = makeCommandButton(bar, "btnPridatPozn", QStringLiteral("Přidat poznámku"));
    m_edit = makeCommandButton(bar, "btnOpravitPozn", QStringLiteral("Opravit poznámku"));
    m_delete = makeCommandButton(bar, "btnVyjmoutPozn", QStringLiteral("Vyjmout poznámku"));
    m_print = makeCommandButton(bar, "btnTiskPozn", QStringLiteral("Vytisknout poznámku"));
    m_settled = makeCommandButton(bar, "btnFiltrPozn", m_notes.settledSwitchCaption());
    QPushButton* refresh = makeCommandButton(bar, "btnRefreshPozn", QStringLiteral("Obnovit"),
                                             notes::NoteList::refreshHint());
    refresh->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    connect(add, &QPushButton::clicked, this, &NotesPanel::addNote);
    connect(m_edit, &QPushButton::clicked, this, &NotesPanel::editNote);
    connect(m_delete, &QPushButton::clicked, this, &NotesPanel::deleteNote);
    connect(m_print, &QPushButton::clicked, this, &NotesPanel::printNote);
    connect(m_settled, &QPushButton::clicked, this, [this] { m_notes.toggleSettled(); });
    connect(refresh, &QPushButton::clicked, this, [this] { m_notes.refresh(); });
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QPushButton* b : {add, m_edit, m_delete, m_print})
        layout->addWidget(b);
    layout->addStretch();
    layout->addWidget(m_settled);
    layout->addWidget(refresh);
    return bar;
}

QPushButton* NotesPanel::button(const QString& objectName) const {
    return findChild<QPushButton*>(objectName);
}

void NotesPanel::showRows() {
    const bool any = m_notes.commandsEnabled();
    for (QPushButton* b : {m_edit, m_delete, m_print})
        b->setEnabled(any);
    m_settled->setText(m_notes.settledSwitchCaption());
}

void NotesPanel::showCurrent(int row) {
    const QModelIndex index = row >= 0 ? m_model->index(row) : QModelIndex();
    if (m_view->currentIndex() != index) {
        if (index.isValid())
            m_view->setCurrentIndex(index);
        else
            m_view->selectionModel()->clearCurrentIndex();
    }
    // The text is read into a document of its own and shown at once: read into the shown one,
    // every piece of it would be laid out on its own.
    auto* document = new QTextDocument(m_text);
    if (row >= 0)
        core::rtf::read(m_notes.currentDetail(), *document);
    QTextDocument* previous = m_text->document();
    const bool ours = previous->parent() == m_text;
    m_text->setDocument(document);
    if (ours)
        previous->deleteLater();
}

void NotesPanel::runCard(bool (notes::NoteCard::*start)()) {
    // A second click while the card is open (a double click that came late) opens no other.
    if (m_busy)
        return;
    m_busy = true;
    notes::NoteCard card(m_notes);
    if ((card.*start)()) {
        NoteCardDialog dialog(card, this);
        dialog.exec();
    }
    card.close();
    m_busy = false;
}

void NotesPanel::addNote() {
    runCard(&notes::NoteCard::startNew);
}

void NotesPanel::editNote() {
    if (m_notes.current())
        runCard(&notes::NoteCard::startEdit);
}

void NotesPanel::deleteNote() {
    m_notes.deleteCurrent();
}

void NotesPanel::printNote() {
    m_notes.printCurrent();
}

} // namespace orvento::ui
