#include "ui/offers/OfferCardWindow.h"

#include "core/AmountFormat.h"
#include "core/AppContext.h"
#include "core/DesktopCalculator.h"
#include "core/ProgramState.h"
#include "core/RtfCodec.h"
#include "core/ShellOperations.h"
#include "offers/OfferBulkOperations.h"
#include "offers/OfferItemCard.h"
#include "offers/OfferStates.h"
#include "ui/DocumentLinkDialog.h"
#include "ui/FileTypeIcons.h"
#include "ui/GridBinding.h"
#include "ui/Help.h"
#include "ui/QuickFind.h"
#include "ui/offers/BulkValueDialog.h"
#include "ui/offers/DiscountToTotalDialog.h"
#include "ui/offers/OfferItemCardDialog.h"
#include "ui/offers/TextItemDialog.h"
#include "ui/offers/VatRatesDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTextEdit>
#include <QVBoxLayout>

namespace orvento::ui {

using offers::OfferItemsModel;

namespace {

const QString kDateFormat = QStringLiteral("dd.MM.yyyy");
// Room for the text the number field shows instead of an automatic number.
constexpr int kShownNumberWidth = 32;
// The document grid: "I", "Popis", "Odkaz na soubor".
constexpr int kDocumentPopisColumn = 1;

QString dateText(const QDateTime& date) {
    return date.isValid() ? date.date().toString(kDateFormat) : QString();
}

QDateTime dateOf(const QString& text) {
    const QDate date = QDate::fromString(text.trimmed(), kDateFormat);
    return date.isValid() ? QDateTime(date, QTime()) : QDateTime();
}

QColor stateColour(int state) {
    switch (state) {
    case offers::OfferState::InProgress:
        return Qt::blue;
    case offers::OfferState::Sent:
        return Qt::black;
    case offers::OfferState::Correction:
        return QColor(128, 0, 128);
    case offers::OfferState::Accepted:
        return QColor(0, 128, 0);
    default:
        return QColor(128, 0, 0);
    }
}

QIcon stateMark(int state) {
    QPixmap mark(12, 12);
    mark.fill(Qt::transparent);
    QPainter painter(&mark);
    painter.setBrush(stateColour(state));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(1, 1, 10, 10);
    return QIcon(mark);
}

// Cost items red (white on dark red when selected), marked rows grey (dark blue when selected).
class ItemRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        const bool selected = option->state & QStyle::State_Selected;
        if (index.data(OfferItemsModel::MarkedRole).toBool()) {
            if (selected)
                option->palette.setColor(QPalette::Highlight, QColor(0, 0, 128));
            else
                option->backgroundBrush = QColor(190, 190, 190);
        }
        if (index.data(OfferItemsModel::CostRole).toBool()) {
            if (selected) {
                option->palette.setColor(QPalette::Highlight, QColor(128, 0, 0));
                option->palette.setColor(QPalette::HighlightedText, Qt::white);
            } else {
                option->palette.setColor(QPalette::Text, Qt::red);
            }
        }
    }
};

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text,
                        const QString& hint = {}) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    if (!hint.isEmpty())
        b->setToolTip(hint);
    return b;
}

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

// The item dialogs ------------------------------------------------------------------------------

bool OfferItemDialogs::editNew(offers::OfferWorkingCopy& offer,
                               std::optional<std::size_t> current) {
    return OfferItemCardDialog::editNew(offer, current, m_ui, m_parent);
}

bool OfferItemDialogs::editFromCatalogue(offers::OfferWorkingCopy& offer, qint64 catalogueId,
                                         std::optional<std::size_t> current) {
    return OfferItemCardDialog::editFromCatalogue(offer, catalogueId, current, m_ui, m_parent);
}

bool OfferItemDialogs::editExisting(offers::OfferWorkingCopy& offer, std::size_t index, bool copy) {
    return OfferItemCardDialog::editExisting(offer, index, copy, m_ui, m_parent);
}

bool OfferItemDialogs::editNewText(offers::OfferWorkingCopy& offer, bool title,
                                   std::optional<std::size_t> current) {
    return TextItemDialog::editNew(offer, title, current, m_ui, m_parent);
}

bool OfferItemDialogs::editExistingText(offers::OfferWorkingCopy& offer, std::size_t index,
                                        bool copy) {
    return TextItemDialog::editExisting(offer, index, copy, m_ui, m_parent);
}

// The card --------------------------------------------------------------------------------------

OfferCardWindow::OfferCardWindow(core::AppContext& context, offers::OpenedOffer opened,
                                 offers::OfferItemEditor* editor, QWidget* parent)
    : QDialog(parent)
    , m_context(context)
    , m_ownEditor(editor ? nullptr : std::make_unique<OfferItemDialogs>(context.ui(), this))
    , m_logic(context, std::move(opened), editor ? *editor : *m_ownEditor)
    , m_model(m_logic) {
    setObjectName(QStringLiteral("frmNabidkaKart"));
    setWindowTitle(QStringLiteral("Karta nabídky"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setWindowFlag(Qt::WindowMinimizeButtonHint);

    m_pages = new QTabWidget(this);
    m_pages->addTab(buildHeaderPage(), QStringLiteral("Hlavička"));
    m_pages->addTab(buildTextPage(m_textPred, QStringLiteral("TextPred")),
                    QStringLiteral("Text před položkami"));
    m_pages->addTab(buildTextPage(m_textZa, QStringLiteral("TextZa")),
                    QStringLiteral("Text za položkami"));
    m_pages->addTab(buildDocumentsPage(), QStringLiteral("Dokumenty"));

    m_ok = makeButton(this, "btnOK", QStringLiteral("OK"), QStringLiteral("Uložit (Shift+F12)"));
    auto* cancel = makeButton(this, "btnStorno", QStringLiteral("Storno"));
    auto* templates = makeButton(this, "btnSablony", QStringLiteral("Šablony"));
    templates->setEnabled(false); // templates come with their own issue
    auto* calculator = makeButton(this, "btnKalkulacka", QStringLiteral("Kalkulačka"));
    auto* help = makeButton(this, "btnNapoveda", QStringLiteral("Nápověda"));
    auto* breakdown = makeButton(this, "btnRozpis", QStringLiteral("Rozpis identifikátorů"));
    breakdown->setEnabled(false);
    auto* vat = makeButton(this, "btnDPH", QStringLiteral("DPH"));
    auto* history = makeButton(this, "btnHistorie", QStringLiteral("Historie akcí"));
    m_ok->setEnabled(!m_logic.readOnly());
    connect(m_ok, &QPushButton::clicked, this, &OfferCardWindow::confirm);
    connect(cancel, &QPushButton::clicked, this, &OfferCardWindow::reject);
    connect(calculator, &QPushButton::clicked, this,
            [this] { core::calculator::start(m_context.ui()); });
    connect(help, &QPushButton::clicked, this,
            [] { openHelpTopic(QStringLiteral("pgNovaNab.htm")); });
    connect(vat, &QPushButton::clicked, this, [this] {
        if (VatRatesDialog::run(m_logic.offer(), this))
            runOnItems([] {});
    });
    connect(history, &QPushButton::clicked, this, [this] { m_logic.showHistory(); });
    installHelpKey(this, QStringLiteral("pgNovaNab.htm"));

    auto* bottom = new QHBoxLayout;
    for (QPushButton* b : {templates, calculator, vat, history, breakdown, help})
        bottom->addWidget(b);
    bottom->addStretch();
    bottom->addWidget(m_ok);
    bottom->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addWidget(buildItemsPanel(), 1);
    layout->addWidget(buildTotalsPanel());
    layout->addLayout(bottom);

    auto shortcut = [this](const QKeySequence& keys, const std::function<void()>& run) {
        auto* s = new QShortcut(keys, this);
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, this, run);
    };
    shortcut(QKeySequence(Qt::SHIFT | Qt::Key_F12), [this] { confirm(); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), [this] {
        m_logic.togglePurchasePrices();
        applyPurchasePriceVisibility();
    });
    shortcut(QKeySequence(Qt::Key_F11), [this] { m_grid->setFocus(); });
    shortcut(QKeySequence(Qt::ALT | Qt::Key_A), [this] { m_pickFirm->click(); });

    resize(1000, 720);
    showHeader();
    showItems();
    applyPurchasePriceVisibility();
    if (m_logic.itemCount() > 0)
        m_grid->setFocus();
    else
        field(QStringLiteral("Popis"))->setFocus();
    m_logic.shown();
}

OfferCardWindow::~OfferCardWindow() = default;

std::optional<qint64> OfferCardWindow::run(core::AppContext& context, core::OfferCardMode mode,
                                           qint64 offerId, QWidget* parent) {
    auto opened = offers::OfferCardLogic::open(context, mode, offerId);
    if (!opened)
        return std::nullopt;
    const bool ratesDiffer = opened->ratesDifferFromAgenda;
    OfferCardWindow window(context, std::move(*opened), nullptr, parent);
    if (ratesDiffer && VatRatesDialog::run(window.logic().offer(), &window))
        window.showItems();
    if (window.exec() != QDialog::Accepted)
        return std::nullopt;
    return window.logic().savedId();
}

// Building ---------------------------------------------------------------------------------------

void OfferCardWindow::bindHeaderField(QLineEdit* edit, QString offers::OfferHeader::*member) {
    connect(edit, &QLineEdit::textEdited, this, [this, member](const QString& text) {
        m_logic.editHeader([&](offers::OfferHeader& h) { h.*member = text; });
    });
}

QWidget* OfferCardWindow::buildHeaderPage() {
    auto* page = new QWidget(this);
    auto line = [page](const char* name, int width) {
        auto* edit = new QLineEdit(page);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setMaxLength(width);
        return edit;
    };
    m_number = line("Doklad", offers::OfferHeaderWidth::Doklad);
    connect(m_number, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_logic.editHeader([&](offers::OfferHeader& h) { h.Doklad = text; });
    });
    auto* cancelNumber = makeButton(page, "btnZrusitCislo", QStringLiteral("x"),
                                    QStringLiteral("Zrušení čísla dokladu"));
    connect(cancelNumber, &QPushButton::clicked, this, [this] {
        if (m_logic.offer().cancelNumber(m_context.ui())) {
            m_logic.setChanged();
            showHeader();
        }
    });
    auto* popis = line("Popis", 50);
    bindHeaderField(popis, &offers::OfferHeader::Popis);
    auto* nadpis = line("Nadpis", offers::OfferHeaderWidth::Nadpis);
    bindHeaderField(nadpis, &offers::OfferHeader::Nadpis);
    m_payment = new QComboBox(page);
    m_payment->setObjectName(QStringLiteral("ZpPlatby"));
    m_payment->setEditable(true);
    m_payment->addItems(offers::paymentMethods());
    connect(m_payment, &QComboBox::currentTextChanged, this, [this](const QString& text) {
        if (!m_showing)
            m_logic.editHeader([&](offers::OfferHeader& h) { h.ZpPlatby = text; });
    });
    m_transport = new QComboBox(page);
    m_transport->setObjectName(QStringLiteral("Doprava"));
    m_transport->setEditable(true);
    m_transport->addItems(offers::transportMethods());
    connect(m_transport, &QComboBox::currentTextChanged, this, [this](const QString& text) {
        if (!m_showing)
            m_logic.editHeader([&](offers::OfferHeader& h) { h.Doprava = text; });
    });
    m_state = new QComboBox(page);
    m_state->setObjectName(QStringLiteral("IDStav"));
    const QStringList states = offers::stateTexts();
    for (int i = 0; i < states.size(); ++i)
        m_state->addItem(stateMark(i), states.at(i));
    connect(m_state, &QComboBox::currentIndexChanged, this, [this](int state) {
        if (m_showing)
            return;
        m_logic.editHeader([&](offers::OfferHeader& h) { h.IDStav = state; });
        showState();
    });

    auto dateField = [&](const char* name, QDateTime offers::OfferHeader::*member) {
        auto* edit = line(name, 10);
        edit->setPlaceholderText(QStringLiteral("dd.mm.rrrr"));
        connect(edit, &QLineEdit::editingFinished, this, [this, edit, member] {
            const QDateTime date = dateOf(edit->text());
            if (date != m_logic.offer().header().*member)
                m_logic.editHeader([&](offers::OfferHeader& h) { h.*member = date; });
            edit->setText(dateText(date));
        });
        return edit;
    };
    m_issued = dateField("DatVystaveni", &offers::OfferHeader::DatVystaveni);
    m_valid = dateField("DatPlatnosti", &offers::OfferHeader::DatPlatnosti);
    m_settled = dateField("DatVyrizeni", &offers::OfferHeader::DatVyrizeni);

    auto* numberRow = new QHBoxLayout;
    numberRow->addWidget(m_number);
    numberRow->addWidget(cancelNumber);
    auto* left = new QFormLayout;
    left->addRow(QStringLiteral("Číslo dokladu"), numberRow);
    left->addRow(QStringLiteral("Interní popis"), popis);
    left->addRow(QStringLiteral("Způsob platby"), m_payment);
    left->addRow(QStringLiteral("Doprava"), m_transport);
    left->addRow(QStringLiteral("Stav nabídky"), m_state);
    left->addRow(QStringLiteral("Nadpis dokladu"), nadpis);
    auto* dates = new QGroupBox(QStringLiteral("Datum"), page);
    auto* dateForm = new QFormLayout(dates);
    dateForm->addRow(QStringLiteral("Vystavení"), m_issued);
    dateForm->addRow(QStringLiteral("Platnost do"), m_valid);
    dateForm->addRow(QStringLiteral("Vyřízení (zamítnutí)"), m_settled);
    left->addRow(dates);

    auto* customer = new QGroupBox(QStringLiteral("Odběratel"), page);
    auto* customerForm = new QFormLayout(customer);
    const struct {
        const char* name;
        const char* caption;
        int width;
        QString offers::OfferHeader::*member;
    } address[] = {{"AdrNazev", "Název", 50, &offers::OfferHeader::AdrNazev},
                   {"AdrUlice", "Ulice", 30, &offers::OfferHeader::AdrUlice},
                   {"AdrPsc", "PSČ", 10, &offers::OfferHeader::AdrPsc},
                   {"AdrMisto", "Místo", 40, &offers::OfferHeader::AdrMisto},
                   {"AdrKontakt", "Kontaktní osoba", 85, &offers::OfferHeader::AdrKontakt},
                   {"AdrICO", "IČ", 10, &offers::OfferHeader::AdrICO},
                   {"AdrDIC", "DIČ", 20, &offers::OfferHeader::AdrDIC}};
    m_pickFirm = makeButton(customer, "btnAdresa", QStringLiteral("..."));
    m_showFirm = makeButton(customer, "btnDetailAdresy", QStringLiteral("#"),
                            QStringLiteral("Zobrazit detail adresy (jen pro čtení)"));
    for (const auto& a : address) {
        auto* edit = line(a.name, a.width);
        bindHeaderField(edit, a.member);
        m_addressFields.push_back(edit);
        if (m_addressFields.size() == 1) {
            auto* row = new QHBoxLayout;
            row->addWidget(edit);
            row->addWidget(m_pickFirm);
            row->addWidget(m_showFirm);
            customerForm->addRow(QString::fromUtf8(a.caption), row);
        } else {
            customerForm->addRow(QString::fromUtf8(a.caption), edit);
        }
    }
    connect(m_pickFirm, &QPushButton::clicked, this, [this] {
        runOnItems([this] { m_logic.chooseCustomer(); });
        showCustomer();
        if (m_logic.addressLinked())
            m_grid->setFocus();
    });
    connect(m_showFirm, &QPushButton::clicked, this,
            [this] { m_context.navigator().openFirmCard(m_logic.offer().header().AdrCislo); });

    m_level = line("CenHladina", 10);
    m_level->setReadOnly(true);
    m_pickLevel = makeButton(customer, "btnHladina", QStringLiteral("..."),
                             QStringLiteral("Výběr cenové hladiny"));
    m_clearLevel = makeButton(customer, "btnZrusitHladinu", QStringLiteral("x"),
                              QStringLiteral("Zrušení cenové hladiny"));
    m_levelFromAddress = new QCheckBox(QStringLiteral("z adresy"), customer);
    m_levelFromAddress->setObjectName(QStringLiteral("CenHladAdr"));
    connect(m_pickLevel, &QPushButton::clicked, this, [this] {
        runOnItems([this] { m_logic.pickOwnLevel(); });
        showLevel();
    });
    connect(m_clearLevel, &QPushButton::clicked, this, [this] {
        runOnItems([this] { m_logic.clearOwnLevel(); });
        showLevel();
    });
    connect(m_levelFromAddress, &QCheckBox::clicked, this, [this](bool on) {
        runOnItems([&] { m_logic.setLevelFromAddress(on); });
        showLevel();
    });
    auto* levelRow = new QHBoxLayout;
    levelRow->addWidget(m_level);
    levelRow->addWidget(m_pickLevel);
    levelRow->addWidget(m_clearLevel);
    levelRow->addWidget(m_levelFromAddress);
    customerForm->addRow(QStringLiteral("Cenová hladina ceníku"), levelRow);

    auto* layout = new QHBoxLayout(page);
    layout->addLayout(left, 1);
    layout->addWidget(customer, 1);
    return page;
}

QWidget* OfferCardWindow::buildTextPage(QTextEdit*& editor, const QString& objectName) {
    auto* page = new QWidget(this);
    editor = new QTextEdit(page);
    editor->setObjectName(objectName);
    editor->setAcceptRichText(true);
    connect(editor, &QTextEdit::textChanged, this, [this, edited = editor] { takeText(edited); });
    editor->installEventFilter(this);
    auto* bold =
        makeButton(page, "btnTucne", QStringLiteral("B"), QStringLiteral("Tučně (Ctrl+B)"));
    auto* italic =
        makeButton(page, "btnKurziva", QStringLiteral("I"), QStringLiteral("Kurzíva (Ctrl+I)"));
    auto* underline =
        makeButton(page, "btnPodtrzeni", QStringLiteral("U"), QStringLiteral("Podtržení (Ctrl+U)"));
    auto* font = makeButton(page, "btnPismo", QStringLiteral("Písmo"));
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
    connect(font, &QPushButton::clicked, this, [this, editor] {
        bool ok = false;
        const QFont chosen = QFontDialog::getFont(&ok, editor->currentFont(), this);
        if (ok)
            editor->setCurrentFont(chosen);
    });
    connect(qApp, &QApplication::focusChanged, font,
            [font, editor](QWidget*, QWidget* now) { font->setEnabled(now == editor); });
    // The keys work while the text has the focus.
    const std::pair<QKeySequence, QPushButton*> keys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_B), bold},
        {QKeySequence(Qt::CTRL | Qt::Key_I), italic},
        {QKeySequence(Qt::CTRL | Qt::Key_U), underline}};
    for (const auto& [key, target] : keys) {
        auto* shortcut = new QShortcut(key, editor);
        shortcut->setContext(Qt::WidgetShortcut);
        connect(shortcut, &QShortcut::activated, target, &QPushButton::click);
    }
    auto* tools = new QHBoxLayout;
    for (QPushButton* b : {bold, italic, underline, font})
        tools->addWidget(b);
    tools->addStretch();
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(tools);
    layout->addWidget(editor);
    return page;
}

QTextEdit* OfferCardWindow::focusedText() const {
    if (m_textZa->hasFocus())
        return m_textZa;
    if (m_textPred->hasFocus())
        return m_textPred;
    return m_pages->currentIndex() == 2 ? m_textZa : m_textPred;
}

void OfferCardWindow::formatText(const std::function<void(QTextCharFormat&)>& change) {
    QTextEdit* editor = focusedText();
    QTextCharFormat format = editor->currentCharFormat();
    change(format);
    editor->mergeCurrentCharFormat(format);
    m_logic.setChanged();
}

QWidget* OfferCardWindow::buildDocumentsPage() {
    auto* page = new QWidget(this);
    m_documents = new QTableWidget(0, 3, page);
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
    m_documentFind = new QuickFindPanel(page);
    connect(m_documentFind, &QuickFindPanel::textEdited, this, [this](const QString& text) {
        if (const auto found = m_logic.findDocument(text))
            m_documents->setCurrentCell(static_cast<int>(*found), kDocumentPopisColumn);
    });
    auto* add = makeButton(page, "btnPridatOdkaz", QStringLiteral("Přidat odkaz"));
    auto* edit = makeButton(page, "btnOpravitOdkaz", QStringLiteral("Opravit odkaz"));
    auto* remove = makeButton(page, "btnVyjmoutOdkaz", QStringLiteral("Vyjmout odkaz"));
    auto* open = makeButton(page, "btnOtevritDokument", QStringLiteral("Otevřít dokument"));
    connect(add, &QPushButton::clicked, this, &OfferCardWindow::addDocument);
    connect(edit, &QPushButton::clicked, this, [this] {
        const int row = m_documents->currentRow();
        OfferDocumentLinks links(m_logic);
        if (row >= 0 &&
            DocumentLinkDialog::edit(m_context.ui(), links, static_cast<std::size_t>(row), this))
            showDocuments();
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        const int row = m_documents->currentRow();
        if (row >= 0)
            m_logic.removeDocument(static_cast<std::size_t>(row));
        showDocuments();
    });
    connect(open, &QPushButton::clicked, this, &OfferCardWindow::openDocument);
    connect(m_documents, &QTableWidget::cellDoubleClicked, this, &OfferCardWindow::openDocument);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {add, edit, remove, open})
        buttons->addWidget(b);
    buttons->addStretch();
    auto* gridColumn = new QVBoxLayout;
    gridColumn->addWidget(m_documentFind);
    gridColumn->addWidget(m_documents, 1);
    auto* layout = new QHBoxLayout(page);
    layout->addLayout(gridColumn, 1);
    layout->addLayout(buttons);
    return page;
}

void OfferCardWindow::addDocument() {
    OfferDocumentLinks links(m_logic);
    if (DocumentLinkDialog::add(m_context.ui(), links, this))
        showDocuments();
}

void OfferCardWindow::openDocument() {
    const int row = m_documents->currentRow();
    if (row < 0)
        return;
    core::shell::openFile(m_logic.documentPath(static_cast<std::size_t>(row)), m_context.ui());
}

// The items: the grid with its frozen marker columns and quick find, the item commands beside it.
QWidget* OfferCardWindow::buildItemsPanel() {
    auto* panel = new QWidget(this);
    m_grid = makeListGrid(panel, QStringLiteral("grPolozky"));
    m_grid->setToolTip(QStringLiteral("Položky nabídky (F11)"));
    m_binding =
        new GridBinding(m_grid, &m_model, m_context.profile(), services::GridId::OfferItems);
    m_grid->setItemDelegate(new ItemRowDelegate(m_grid));
    connect(m_binding, &GridBinding::sortRequested, this, &OfferCardWindow::sortBy);
    connect(m_grid, &QTableView::doubleClicked, this,
            [this] { runOnItems([this] { m_logic.editCurrent(); }); });
    m_grid->installEventFilter(this);

    buildFrozenMarkers();
    m_findPanel = new QuickFindPanel(panel);
    connect(m_findPanel, &QuickFindPanel::textEdited, this, [this](const QString& text) {
        const int column = m_grid->currentIndex().isValid()
                               ? m_grid->currentIndex().column()
                               : OfferItemsModel::columnOf(QStringLiteral("Popis"));
        const int source =
            m_binding->proxy()->mapToSource(m_grid->model()->index(0, column)).column();
        for (int row = 0; row < m_model.rowCount(); ++row) {
            if (m_model.text(row, source).startsWith(text, Qt::CaseInsensitive)) {
                m_grid->setCurrentIndex(m_grid->model()->index(row, column));
                break;
            }
        }
    });

    QVBoxLayout* buttons = buildItemButtons(panel);
    buildGridMenu();

    auto* gridColumn = new QVBoxLayout;
    gridColumn->addWidget(m_findPanel);
    gridColumn->addWidget(m_grid, 1);
    gridColumn->addWidget(m_markedSums);
    gridColumn->addWidget(m_marks);
    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(gridColumn, 1);
    layout->addLayout(buttons);
    return panel;
}

// The marker columns stay in place while the grid scrolls sideways: a second view over the same
// rows shows them on top of the grid's left edge.
void OfferCardWindow::buildFrozenMarkers() {
    m_frozen = new QTableView(m_grid);
    m_frozen->setObjectName(QStringLiteral("grPolozkyZnacky"));
    m_frozen->setModel(m_grid->model());
    m_frozen->setSelectionModel(m_grid->selectionModel());
    m_frozen->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_frozen->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_frozen->setFocusPolicy(Qt::NoFocus);
    m_frozen->verticalHeader()->hide();
    m_frozen->verticalHeader()->setDefaultSectionSize(
        m_grid->verticalHeader()->defaultSectionSize());
    m_frozen->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_frozen->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_frozen->setItemDelegate(new ItemRowDelegate(m_frozen));
    connect(m_frozen->verticalScrollBar(), &QScrollBar::valueChanged, m_grid->verticalScrollBar(),
            &QScrollBar::setValue);
    connect(m_grid->verticalScrollBar(), &QScrollBar::valueChanged, m_frozen->verticalScrollBar(),
            &QScrollBar::setValue);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (!m_showing)
                    m_logic.setCurrent(current.isValid() ? std::optional<std::size_t>(current.row())
                                                         : std::nullopt);
            });
}

QVBoxLayout* OfferCardWindow::buildItemButtons(QWidget* panel) {
    auto* add = makeButton(panel, "btnPridatPolozku", QStringLiteral("Přidat položku"),
                           QStringLiteral("Alt+P, F2"));
    auto* addCatalogue =
        makeButton(panel, "btnPridatZCeniku", QStringLiteral("Přidat položku z ceníku"),
                   QStringLiteral("Alt+C, F4"));
    auto* addTitle = makeButton(panel, "btnPridatNadpis", QStringLiteral("Přidat nadpis"),
                                QStringLiteral("Alt+N, F9"));
    auto* addText = makeButton(panel, "btnPridatText", QStringLiteral("Přidat text"),
                               QStringLiteral("Alt+T, F12"));
    auto* copy =
        makeButton(panel, "btnKopirovat", QStringLiteral("Kopírovat"), QStringLiteral("Alt+K, F8"));
    auto* edit =
        makeButton(panel, "btnOpravit", QStringLiteral("Opravit"), QStringLiteral("Alt+O"));
    auto* remove = makeButton(panel, "btnVyjmout", QStringLiteral("Vyjmout"),
                              QStringLiteral("Alt+V, Ctrl+Del"));
    auto* up = makeButton(panel, "btnNahoru", QStringLiteral("▲"),
                          QStringLiteral("Posunout položku nahoru (Ctrl+šipka nahoru)"));
    auto* down = makeButton(panel, "btnDolu", QStringLiteral("▼"),
                            QStringLiteral("Posunout položku dolů (Ctrl+šipka dolů)"));
    m_discount = makeButton(panel, "btnSleva", QStringLiteral("Sleva"), QStringLiteral("F7"));
    auto* margin = makeButton(panel, "btnMarze", QStringLiteral("Marže"), QStringLiteral("F5"));
    auto* rabat = makeButton(panel, "btnRabat", QStringLiteral("Rabat"), QStringLiteral("F6"));
    auto* bulkMenuButton = makeButton(panel, "btnHromadne", QStringLiteral("Hromadné operace"));
    bulkMenuButton->setMenu(buildBulkMenu());
    m_sumMarked = new QCheckBox(QStringLiteral("součet ozn."), panel);
    m_sumMarked->setObjectName(QStringLiteral("chkSoucetOzn"));
    m_sumMarked->setToolTip(QStringLiteral("Součtovat označené položky"));
    m_marks = new QLabel(panel);
    m_marks->setObjectName(QStringLiteral("lblOznaceno"));
    // The sums of the marked items, each under its column.
    m_markedSums = m_binding->footer(panel);
    m_markedSums->setObjectName(QStringLiteral("lblSoucetOzn"));
    m_markedSums->hide();

    auto connectKeys = [this](QPushButton* button, std::initializer_list<QKeySequence> keys,
                              const std::function<void()>& run) {
        connect(button, &QPushButton::clicked, this, [this, run] { runOnItems(run); });
        for (const QKeySequence& key : keys) {
            auto* s = new QShortcut(key, this);
            connect(s, &QShortcut::activated, button, &QPushButton::click);
        }
    };
    connectKeys(add, {QKeySequence(Qt::ALT | Qt::Key_P), QKeySequence(Qt::Key_F2)},
                [this] { m_logic.addFreeItem(); });
    connect(addCatalogue, &QPushButton::clicked, this, &OfferCardWindow::addCatalogueItems);
    for (const QKeySequence& key : {QKeySequence(Qt::ALT | Qt::Key_C), QKeySequence(Qt::Key_F4)})
        connect(new QShortcut(key, this), &QShortcut::activated, addCatalogue, &QPushButton::click);
    connectKeys(addTitle, {QKeySequence(Qt::ALT | Qt::Key_N), QKeySequence(Qt::Key_F9)},
                [this] { m_logic.addTextItem(true); });
    connectKeys(addText, {QKeySequence(Qt::ALT | Qt::Key_T), QKeySequence(Qt::Key_F12)},
                [this] { m_logic.addTextItem(false); });
    connectKeys(copy, {QKeySequence(Qt::ALT | Qt::Key_K), QKeySequence(Qt::Key_F8)},
                [this] { m_logic.copyCurrent(); });
    connectKeys(edit, {QKeySequence(Qt::ALT | Qt::Key_O)}, [this] { m_logic.editCurrent(); });
    connectKeys(remove, {QKeySequence(Qt::ALT | Qt::Key_V)}, [this] { m_logic.removeCurrent(); });
    connectKeys(up, {}, [this] { m_logic.moveCurrent(true); });
    connectKeys(down, {}, [this] { m_logic.moveCurrent(false); });
    connectKeys(m_discount, {QKeySequence(Qt::Key_F7)},
                [this] { bulk(static_cast<int>(offers::BulkField::Discount)); });
    connectKeys(margin, {QKeySequence(Qt::Key_F5)},
                [this] { bulk(static_cast<int>(offers::BulkField::Margin)); });
    connectKeys(rabat, {QKeySequence(Qt::Key_F6)},
                [this] { bulk(static_cast<int>(offers::BulkField::Rabat)); });
    m_sumMarked->setChecked(offers::OfferCardLogic::sumOfMarksShown());
    connect(m_sumMarked, &QCheckBox::toggled, this, [this](bool on) {
        offers::OfferCardLogic::rememberSumOfMarks(on);
        showItems();
    });

    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {add, addCatalogue, addTitle, addText, copy, edit, remove})
        buttons->addWidget(b);
    auto* moves = new QHBoxLayout;
    moves->addWidget(up);
    moves->addWidget(down);
    buttons->addLayout(moves);
    for (QPushButton* b : {m_discount, margin, rabat, bulkMenuButton})
        buttons->addWidget(b);
    buttons->addWidget(m_sumMarked);
    buttons->addStretch();

    return buttons;
}

QMenu* OfferCardWindow::buildBulkMenu() {
    auto* bulkMenu = new QMenu(this);
    bulkMenu->setObjectName(QStringLiteral("mnuHromadne"));
    auto bulkAction = [&](const char* name, const QString& text, const std::function<void()>& run) {
        QAction* a = bulkMenu->addAction(text, this, [this, run] { runOnItems(run); });
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    bulkAction("actOznacitVse", QStringLiteral("Označit všechny položky (Ctrl+plus)"),
               [this] { m_logic.markAll(true); });
    bulkAction("actZrusitOznaceni", QStringLiteral("Zrušit označení všech položek (Ctrl+mínus)"),
               [this] { m_logic.markAll(false); });
    bulkAction("actHladina", QStringLiteral("Nastavit na položky aktuální cenovou hladinu"),
               [this] {
                   offers::OfferBulkOperations operations(m_logic.offer(), m_logic.marks(),
                                                          m_context.ui());
                   const QString level = m_logic.shownLevel();
                   if (operations.askSetLevel(level)) {
                       operations.setLevel(m_context.db().agenda, level, false);
                       m_logic.itemsChanged();
                   }
               });
    bulkAction("actAktualizovat", QStringLiteral("Aktualizovat všechny ceny položek z ceníku"),
               [this] {
                   offers::OfferBulkOperations operations(m_logic.offer(), m_logic.marks(),
                                                          m_context.ui());
                   if (operations.askRefresh()) {
                       operations.refreshFromCatalogue(m_context.db().agenda);
                       m_logic.itemsChanged();
                   }
               });
    bulkAction("actZamek", QStringLiteral("Nastavit zámek na položkách"),
               [this] { m_logic.setLocks(true, true); });
    bulkAction("actZrusitZamek", QStringLiteral("Zrušit zámek na položkách"),
               [this] { m_logic.setLocks(false, true); });
    bulkAction("actSazbaDPH", QStringLiteral("Změnit na položkách % sazbu DPH"),
               [this] { bulk(static_cast<int>(offers::BulkField::VatRate)); });
    bulkAction(
        "actDopocitatSlevu", QStringLiteral("Dopočítat slevu podle ručně zadané ceny celkem"),
        [this] {
            if (DiscountToTotalDialog::run(m_logic.offer(), m_logic.marks(), m_context.ui(), this))
                m_logic.itemsChanged();
        });
    // Adding items by the keys in a file comes with the item import.
    bulkAction("actImport", QStringLiteral("Přidat položky z ceníku podle klíčů v souboru"), [] {
    })->setEnabled(false);
    return bulkMenu;
}

void OfferCardWindow::buildGridMenu() {
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* gridMenu = new QMenu(this);
    gridMenu->setObjectName(QStringLiteral("mnuPolozky"));
    gridMenu->addAction(QStringLiteral("Označit vše (Ctrl+plus)"), this,
                        [this] { runOnItems([this] { m_logic.markAll(true); }); });
    gridMenu->addAction(QStringLiteral("Zrušit označení (Ctrl+mínus)"), this,
                        [this] { runOnItems([this] { m_logic.markAll(false); }); });
    gridMenu->addAction(QStringLiteral("Nastavit zámek"), this,
                        [this] { runOnItems([this] { m_logic.setLocks(true, false); }); });
    gridMenu->addAction(QStringLiteral("Zrušit zámek"), this,
                        [this] { runOnItems([this] { m_logic.setLocks(false, false); }); });
    connect(m_grid, &QWidget::customContextMenuRequested, this, [this, gridMenu](const QPoint& at) {
        gridMenu->popup(m_grid->viewport()->mapToGlobal(at));
    });
}

QWidget* OfferCardWindow::buildTotalsPanel() {
    auto* panel = new QWidget(this);
    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    const struct {
        const char* name;
        const char* caption;
    } totals[] = {{"lblCelkemBezDPH", "Celkem bez DPH"},
                  {"lblCelkemSDPH", "s DPH"},
                  {"lblCelkemZaokr", "Celkem s DPH zaokr."},
                  {"lblZisk", "Celkový zisk"},
                  {"lblNakup", "Celkem nákupní cena"}};
    for (const auto& t : totals) {
        auto* caption = new QLabel(QString::fromUtf8(t.caption), panel);
        caption->setObjectName(QString::fromLatin1(t.name) + QStringLiteral("Popis"));
        auto* value = new QLabel(panel);
        value->setObjectName(QString::fromLatin1(t.name));
        value->setMinimumWidth(110);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        layout->addWidget(caption);
        layout->addWidget(value);
    }
    layout->addStretch();
    return panel;
}

// Showing ----------------------------------------------------------------------------------------

QLineEdit* OfferCardWindow::field(const QString& objectName) const {
    return findChild<QLineEdit*>(objectName);
}

QPushButton* OfferCardWindow::button(const QString& objectName) const {
    return findChild<QPushButton*>(objectName);
}

QLabel* OfferCardWindow::totalLabel(const QString& objectName) const {
    return findChild<QLabel*>(objectName);
}

void OfferCardWindow::showHeader() {
    m_showing = true;
    const offers::OfferWorkingCopy& offer = m_logic.offer();
    const offers::OfferHeader& h = offer.header();
    // The limit is for typing; "<automaticky>" says what the number will be and is longer.
    m_number->setMaxLength(offer.numberEditable() ? offers::OfferHeaderWidth::Doklad
                                                  : kShownNumberWidth);
    m_number->setText(offer.numberText());
    m_number->setReadOnly(!offer.numberEditable());
    field(QStringLiteral("Popis"))->setText(h.Popis);
    field(QStringLiteral("Nadpis"))->setText(h.Nadpis);
    m_payment->setCurrentText(h.ZpPlatby);
    m_transport->setCurrentText(h.Doprava);
    m_state->setCurrentIndex(h.IDStav);
    m_issued->setText(dateText(h.DatVystaveni));
    m_valid->setText(dateText(h.DatPlatnosti));
    m_settled->setText(dateText(h.DatVyrizeni));
    // The texts are in the working copy as soon as they change, so rebuilding them here from
    // the header loses nothing the person typed.
    QTextDocument before;
    core::rtf::read(h.TextPred, before);
    m_textPred->setDocument(before.clone(m_textPred));
    QTextDocument after;
    core::rtf::read(h.TextZa, after);
    m_textZa->setDocument(after.clone(m_textZa));
    m_showing = false;
    showState();
    showCustomer();
    showDocuments();
}

void OfferCardWindow::showState() {
    const int state = m_logic.offer().header().IDStav;
    const bool settled = offers::OfferCardLogic::settlementEnabled(state);
    m_settled->setEnabled(settled);
    QPalette palette = m_state->palette();
    palette.setColor(QPalette::Text, stateColour(state));
    palette.setColor(QPalette::ButtonText, stateColour(state));
    m_state->setPalette(palette);
}

void OfferCardWindow::showCustomer() {
    const offers::OfferHeader& h = m_logic.offer().header();
    const QString values[] = {h.AdrNazev,   h.AdrUlice, h.AdrPsc, h.AdrMisto,
                              h.AdrKontakt, h.AdrICO,   h.AdrDIC};
    const bool linked = m_logic.addressLinked();
    for (std::size_t i = 0; i < m_addressFields.size(); ++i) {
        m_addressFields[i]->setText(values[i]);
        m_addressFields[i]->setReadOnly(linked);
    }
    m_pickFirm->setToolTip(m_logic.customerHint());
    m_showFirm->setVisible(linked);
    showLevel();
}

void OfferCardWindow::showLevel() {
    const bool fromAddress = m_logic.offer().header().CenHladAdr;
    m_levelFromAddress->setChecked(fromAddress);
    m_pickLevel->setEnabled(!fromAddress);
    m_clearLevel->setEnabled(!fromAddress);
    m_level->setText(m_logic.shownLevel());
}

void OfferCardWindow::showDocuments(std::optional<std::size_t> current) {
    const auto& documents = m_logic.offer().documents();
    m_documents->setRowCount(static_cast<int>(documents.size()));
    FileTypeIcons icons;
    for (int row = 0; row < static_cast<int>(documents.size()); ++row) {
        const auto& d = documents[static_cast<std::size_t>(row)];
        auto* icon = new QTableWidgetItem;
        icon->setIcon(icons.of(m_logic.documentPath(static_cast<std::size_t>(row))));
        m_documents->setItem(row, 0, icon);
        m_documents->setItem(row, 1, new QTableWidgetItem(d.Popis));
        m_documents->setItem(row, 2, new QTableWidgetItem(d.File));
    }
    if (current && *current < documents.size())
        m_documents->setCurrentCell(static_cast<int>(*current), 1);
}

void OfferCardWindow::showTotals() {
    const offers::OfferTotals& t = m_logic.offer().totals();
    const QString currency = QLatin1Char(' ') + core::programState().settings.symbolMeny;
    totalLabel(QStringLiteral("lblCelkemBezDPH"))
        ->setText(core::formatAmount(t.totalNet) + currency);
    totalLabel(QStringLiteral("lblCelkemSDPH"))
        ->setText(core::formatAmount(t.totalGross) + currency);
    totalLabel(QStringLiteral("lblCelkemZaokr"))->setText(core::formatAmount(t.celkem) + currency);
    QLabel* profit = totalLabel(QStringLiteral("lblZisk"));
    profit->setText(core::formatAmount(t.profit) + currency);
    const QColor profitColour = t.profit == 0.0  ? QColor(Qt::gray)
                                : t.profit > 0.0 ? QColor(0, 128, 0)
                                                 : QColor(128, 0, 0);
    profit->setStyleSheet(QStringLiteral("color: %1").arg(profitColour.name()));
    totalLabel(QStringLiteral("lblNakup"))->setText(core::formatAmount(t.purchase) + currency);
    m_discount->setText(t.anyDiscount ? QStringLiteral("Sleva !") : QStringLiteral("Sleva"));
    m_discount->setStyleSheet(t.anyDiscount ? QStringLiteral("font-weight: bold; color: blue")
                                            : QString());
}

void OfferCardWindow::showItems() {
    m_showing = true;
    m_model.reload();
    m_showing = false;
    selectCurrent();
    m_marks->setText(m_logic.marksLabel());
    m_marks->setVisible(m_logic.markedCount() > 0);
    if (m_sumMarked->isChecked()) {
        const offers::MarkedSums sums = m_logic.markedSums();
        m_binding->setFooterText(QStringLiteral("NakCenaPol"), core::formatAmount(sums.purchase));
        m_binding->setFooterText(QStringLiteral("PCBDPHPOL"), core::formatAmount(sums.net));
        m_binding->setFooterText(QStringLiteral("PCSDPHPOL"), core::formatAmount(sums.gross));
        m_binding->setFooterText(QStringLiteral("ZiskPol"), core::formatAmount(sums.profit));
    }
    m_markedSums->setVisible(m_sumMarked->isChecked());
    showTotals();
}

void OfferCardWindow::selectCurrent() {
    const auto current = m_logic.current();
    if (!current)
        return;
    const int column = m_grid->currentIndex().isValid() ? m_grid->currentIndex().column()
                                                        : OfferItemsModel::kMarkerColumns;
    m_showing = true;
    m_grid->setCurrentIndex(m_grid->model()->index(static_cast<int>(*current), column));
    m_showing = false;
}

void OfferCardWindow::runOnItems(const std::function<void()>& command) {
    command();
    showItems();
}

void OfferCardWindow::bulk(int field) {
    if (BulkValueDialog::run(m_logic.offer(), m_logic.marks(),
                             static_cast<offers::BulkField>(field), m_context.ui(), this))
        m_logic.itemsChanged();
}

void OfferCardWindow::sortBy(const QString& field) {
    offers::ItemSortColumn column = offers::ItemSortColumn::Poradi;
    if (field == QLatin1String("Popis"))
        column = offers::ItemSortColumn::Popis;
    else if (field == QLatin1String("Katalog"))
        column = offers::ItemSortColumn::Katalog;
    else if (field != QLatin1String("Poradi"))
        return;
    runOnItems([&] { m_logic.sortBy(column); });
}

void OfferCardWindow::applyPurchasePriceVisibility() {
    const bool visible = m_logic.purchasePricesVisible();
    for (const char* field : {"Marze", "Rabat", "NakCena", "NakCenaPol", "ZiskMJ", "ZiskPol"})
        m_binding->setFieldHidden(QString::fromLatin1(field), !visible);
    for (const char* name : {"lblZisk", "lblNakup"}) {
        for (const QString& label :
             {QString::fromLatin1(name), QString::fromLatin1(name) + QStringLiteral("Popis")})
            if (QLabel* shown = totalLabel(label))
                shown->setVisible(visible);
    }
    // The marker view shows only the marker columns, over the grid's left edge.
    const int count = m_model.columnCount();
    int width = 0;
    for (int c = 0; c < count; ++c) {
        const bool marker = c < OfferItemsModel::kMarkerColumns;
        m_frozen->setColumnHidden(c, !marker);
        if (marker) {
            m_frozen->setColumnWidth(c, m_grid->columnWidth(c));
            width += m_grid->columnWidth(c);
        }
    }
    m_frozen->setGeometry(m_grid->verticalHeader()->width() + m_grid->frameWidth(),
                          m_grid->frameWidth(), width,
                          m_grid->viewport()->height() + m_grid->horizontalHeader()->height());
    m_frozen->show();
}

// Commands ---------------------------------------------------------------------------------------

void OfferCardWindow::addCatalogueItems() {
    runOnItems([this] { m_logic.addCatalogueItems(); });
}

void OfferCardWindow::takeText(const QTextEdit* editor) {
    // Only a text the person changed is written anew; one left alone keeps its stored RTF
    // exactly, whatever wrote it.
    if (m_showing || editor == nullptr)
        return;
    const QString rtf =
        editor->document()->isEmpty() ? QString() : core::rtf::write(*editor->document());
    const bool before = editor == m_textPred;
    m_logic.editHeader([&](offers::OfferHeader& h) { (before ? h.TextPred : h.TextZa) = rtf; });
}

void OfferCardWindow::readDates() {
    offers::OfferHeader& h = m_logic.offer().header();
    // Typed but not yet left: the fields as they stand.
    h.DatVystaveni = dateOf(m_issued->text());
    h.DatPlatnosti = dateOf(m_valid->text());
    h.DatVyrizeni = dateOf(m_settled->text());
}

void OfferCardWindow::confirm() {
    if (m_logic.readOnly())
        return;
    readDates();
    if (m_logic.confirm()) {
        QDialog::accept();
        return;
    }
    showHeader();
}

void OfferCardWindow::accept() {
    confirm();
}

void OfferCardWindow::reject() {
    if (m_logic.mayLeave())
        QDialog::reject();
}

bool OfferCardWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && watched == m_grid) {
        applyPurchasePriceVisibility();
        return false;
    }
    if (event->type() == QEvent::KeyPress && watched == m_documents) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            openDocument();
            return true;
        }
        if (QuickFindPanel::opensFind(key)) {
            m_documentFind->openFor(m_documents, key->text());
            return true;
        }
    }
    if (event->type() != QEvent::KeyPress || watched != m_grid)
        return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool ctrl = key->modifiers() & Qt::ControlModifier;
    if (ctrl && key->key() == Qt::Key_Up) {
        runOnItems([this] { m_logic.moveCurrent(true); });
        return true;
    }
    if (ctrl && key->key() == Qt::Key_Down) {
        runOnItems([this] { m_logic.moveCurrent(false); });
        return true;
    }
    if (ctrl && key->key() == Qt::Key_Delete) {
        runOnItems([this] { m_logic.removeCurrent(); });
        return true;
    }
    if (ctrl && key->key() == Qt::Key_Plus) {
        runOnItems([this] { m_logic.markAll(true); });
        return true;
    }
    if (ctrl && key->key() == Qt::Key_Minus) {
        runOnItems([this] { m_logic.markAll(false); });
        return true;
    }
    if (!ctrl && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
        runOnItems([this] { m_logic.editCurrent(); });
        return true;
    }
    if (!ctrl && key->key() == Qt::Key_Space) {
        if (const auto current = m_logic.current()) {
            m_logic.setMark(*current, !m_logic.marks()[*current]);
            showItems();
        }
        return true;
    }
    if (QuickFindPanel::opensFind(key)) {
        m_findPanel->openFor(m_grid, key->text());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace orvento::ui
