#include "ui/offers/OfferDocumentsPage.h"

#include "core/AppContext.h"
#include "core/ShellOperations.h"
#include "offers/OfferCardLogic.h"
#include "ui/CommandButton.h"
#include "ui/DocumentLinkDialog.h"
#include "ui/FileTypeIcons.h"
#include "ui/QuickFind.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace orvento::ui {

namespace {

// The document grid: "I", "Popis", "Odkaz na soubor".
constexpr int kDocumentColumns = 3;
constexpr int kDocumentIconColumn = 0;
constexpr int kDocumentPopisColumn = 1;
constexpr int kDocumentLinkColumn = 2;

// The documents of the offer, for the link dialog shared with the firm card.
class OfferDocumentLinks : public DocumentLinkHost {
public:
    explicit OfferDocumentLinks(offers::OfferCardLogic& logic)
        : m_logic(logic) {}
    std::size_t documentCount() const override { return m_logic.offer().documents().size(); }
    QString description(std::size_t index) const override {
        return m_logic.offer().documents()[index].Popis;
    }
    QString link(std::size_t index) const override {
        return m_logic.offer().documents()[index].File;
    }
    QString sharedFolder() const override { return m_logic.documentsFolder(); }
    bool acceptLink(const QString& file, bool copy) const override {
        return m_logic.acceptLink(file, copy);
    }
    void store(std::optional<std::size_t> index, const QString& popis, const QString& file,
               bool copy) override {
        m_logic.storeDocument(index, popis, file, copy);
    }

private:
    offers::OfferCardLogic& m_logic;
};

} // namespace

OfferDocumentsPage::OfferDocumentsPage(core::AppContext& context, offers::OfferCardLogic& logic,
                                       QWidget* parent)
    : QWidget(parent)
    , m_context(context)
    , m_logic(logic)
    , m_documents(new QTableWidget(0, kDocumentColumns, this))
    , m_find(new QuickFindPanel(this)) {
    buildGrid();
    auto* gridColumn = new QVBoxLayout;
    gridColumn->addWidget(m_find);
    gridColumn->addWidget(m_documents, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(gridColumn, 1);
    layout->addLayout(buildCommands());
}

void OfferDocumentsPage::buildGrid() {
    m_documents->setObjectName(QStringLiteral("grDokumenty"));
    m_documents->setHorizontalHeaderLabels(
        {QStringLiteral("I"), QStringLiteral("Popis"), QStringLiteral("Odkaz na soubor")});
    m_documents->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_documents->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_documents->setSelectionMode(QAbstractItemView::SingleSelection);
    m_documents->horizontalHeader()->setStretchLastSection(true);
    m_documents->verticalHeader()->hide();
    m_documents->installEventFilter(this);
    // "Popis" is the documents' one order; its title sorts them again.
    connect(m_documents->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int column) {
                if (column != kDocumentPopisColumn)
                    return;
                m_logic.sortDocuments();
                showDocuments(0);
            });
    connect(m_find, &QuickFindPanel::textEdited, this, [this](const QString& text) {
        if (const auto found = m_logic.findDocument(text))
            m_documents->setCurrentCell(static_cast<int>(*found), kDocumentPopisColumn);
    });
    connect(m_documents, &QTableWidget::cellDoubleClicked, this, &OfferDocumentsPage::openDocument);
}

QLayout* OfferDocumentsPage::buildCommands() {
    auto* add = makeCommandButton(this, "btnPridatOdkaz", QStringLiteral("Přidat odkaz"));
    auto* edit = makeCommandButton(this, "btnOpravitOdkaz", QStringLiteral("Opravit odkaz"));
    auto* remove = makeCommandButton(this, "btnVyjmoutOdkaz", QStringLiteral("Vyjmout odkaz"));
    auto* open = makeCommandButton(this, "btnOtevritDokument", QStringLiteral("Otevřít dokument"));
    connect(add, &QPushButton::clicked, this, &OfferDocumentsPage::addDocument);
    connect(edit, &QPushButton::clicked, this, &OfferDocumentsPage::editDocument);
    connect(remove, &QPushButton::clicked, this, &OfferDocumentsPage::removeDocument);
    connect(open, &QPushButton::clicked, this, &OfferDocumentsPage::openDocument);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {add, edit, remove, open})
        buttons->addWidget(b);
    buttons->addStretch();
    return buttons;
}

void OfferDocumentsPage::showDocuments(std::optional<std::size_t> current) {
    const auto& documents = m_logic.offer().documents();
    m_documents->setRowCount(static_cast<int>(documents.size()));
    FileTypeIcons icons;
    for (int row = 0; row < static_cast<int>(documents.size()); ++row) {
        const auto& d = documents[static_cast<std::size_t>(row)];
        auto* icon = new QTableWidgetItem;
        icon->setIcon(icons.of(m_logic.documentPath(static_cast<std::size_t>(row))));
        m_documents->setItem(row, kDocumentIconColumn, icon);
        m_documents->setItem(row, kDocumentPopisColumn, new QTableWidgetItem(d.Popis));
        m_documents->setItem(row, kDocumentLinkColumn, new QTableWidgetItem(d.File));
    }
    if (current && *current < documents.size())
        m_documents->setCurrentCell(static_cast<int>(*current), kDocumentPopisColumn);
}

void OfferDocumentsPage::addDocument() {
    OfferDocumentLinks links(m_logic);
    if (DocumentLinkDialog::add(m_context.ui(), links, this))
        showDocuments();
}

void OfferDocumentsPage::editDocument() {
    const int row = m_documents->currentRow();
    OfferDocumentLinks links(m_logic);
    if (row >= 0 &&
        DocumentLinkDialog::edit(m_context.ui(), links, static_cast<std::size_t>(row), this))
        showDocuments();
}

void OfferDocumentsPage::removeDocument() {
    const int row = m_documents->currentRow();
    if (row >= 0)
        m_logic.removeDocument(static_cast<std::size_t>(row));
    showDocuments();
}

void OfferDocumentsPage::openDocument() {
    const int row = m_documents->currentRow();
    if (row < 0)
        return;
    core::shell::openFile(m_logic.documentPath(static_cast<std::size_t>(row)), m_context.ui());
}

bool OfferDocumentsPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched == m_documents) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            openDocument();
            return true;
        }
        if (QuickFindPanel::opensFind(key)) {
            m_find->openFor(m_documents, key->text());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace orvento::ui
