#include "ui/offers/OfferItemImportDialog.h"

#include "core/AppContext.h"
#include "core/ProgramState.h"
#include "offers/OfferCardLogic.h"
#include "offers/OfferItemImport.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvento::ui {

using offers::ItemImportKey;
using offers::ItemImportSource;
namespace itemimport = offers::itemimport;

namespace {

QComboBox* columnCombo(const QString& name, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    return combo;
}

// Puts the choices of the source in the list and keeps what was typed.
void offerChoices(QComboBox* combo, ItemImportSource source) {
    const QString typed = combo->currentText();
    combo->clear();
    combo->addItems(itemimport::columnChoices(source));
    combo->setCurrentIndex(-1);
    combo->setEditText(typed);
}

} // namespace

OfferItemImportDialog::OfferItemImportDialog(offers::OfferItemImport& logic, QWidget* parent)
    : QDialog(parent)
    , m_logic(logic) {
    setObjectName(QStringLiteral("frmItemsImportFileParser"));
    setWindowTitle(itemimport::caption());

    m_source = new QComboBox(this);
    m_source->setObjectName(QStringLiteral("cbxZdroj"));
    m_source->addItems(itemimport::sourceCaptions());
    m_key = new QComboBox(this);
    m_key->setObjectName(QStringLiteral("cbxKlic"));
    m_key->addItems(itemimport::keyCaptions());
    m_file = new QLineEdit(this);
    m_file->setObjectName(QStringLiteral("edtSoubor"));
    m_browse = new QPushButton(QStringLiteral("..."), this);
    m_browse->setObjectName(QStringLiteral("btnSoubor"));
    m_titles = new QCheckBox(QStringLiteral("první řádek obsahuje nadpisy sloupců"), this);
    m_titles->setObjectName(QStringLiteral("chckNadpisy"));
    m_keyColumn = columnCombo(QStringLiteral("cbxSloupecKlic"), this);
    m_countColumn = columnCombo(QStringLiteral("cbxSloupecPocet"), this);
    m_defaultCount =
        new QCheckBox(QStringLiteral("na přidané položky dosadit Počet m.j. = 1"), this);
    m_defaultCount->setObjectName(QStringLiteral("chckPocet1"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Zdroj dat"), m_source);
    form->addRow(QStringLiteral("Klíč pro vyhledání položek v ceníku"), m_key);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(m_file);
    fileRow->addWidget(m_browse);
    m_fileLabel = new QLabel(QStringLiteral("Název zdrojového souboru"), this);
    form->addRow(m_fileLabel, fileRow);
    form->addRow(QString(), m_titles);

    auto* columns = new QGroupBox(QStringLiteral("Sloupec ve zdroji dat"), this);
    auto* grid = new QGridLayout(columns);
    m_keyColumnLabel = new QLabel(columns);
    m_countColumnLabel = new QLabel(QStringLiteral("Počet mj"), columns);
    grid->addWidget(m_keyColumnLabel, 0, 0);
    grid->addWidget(m_keyColumn, 0, 1);
    grid->addWidget(m_countColumnLabel, 1, 0);
    grid->addWidget(m_countColumn, 1, 1);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    QPushButton* cancel =
        buttons->addButton(QStringLiteral("Storno"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("btnStorno"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(columns);
    layout->addWidget(m_defaultCount);
    layout->addWidget(buttons);

    showSettings();
    connect(m_source, &QComboBox::currentIndexChanged, this, [this] { sourceChanged(); });
    connect(m_key, &QComboBox::currentIndexChanged, this, [this] { updateRows(); });
    connect(m_defaultCount, &QCheckBox::toggled, this, [this] { updateRows(); });
    connect(m_browse, &QPushButton::clicked, this, [this] {
        takeSettings();
        if (m_logic.browse())
            m_file->setText(m_logic.settings().fileName);
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &OfferItemImportDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &OfferItemImportDialog::reject);
}

bool OfferItemImportDialog::run(core::AppContext& context, offers::OfferCardLogic& card,
                                QWidget* parent) {
    if (!offers::OfferItemImport::mayStart(context.ui()))
        return false;
    offers::OfferItemImport logic(context.db().agenda, context.ui(), card);
    OfferItemImportDialog dialog(logic, parent);
    return dialog.exec() == QDialog::Accepted;
}

void OfferItemImportDialog::showSettings() {
    const offers::ItemImportSettings& s = m_logic.settings();
    m_source->setCurrentIndex(static_cast<int>(s.source));
    m_key->setCurrentIndex(static_cast<int>(s.key));
    m_file->setText(s.fileName);
    m_titles->setChecked(s.titlesInFirstRow);
    offerChoices(m_keyColumn, s.source);
    offerChoices(m_countColumn, s.source);
    m_keyColumn->setEditText(s.keyColumn);
    m_countColumn->setEditText(s.countColumn);
    m_defaultCount->setChecked(s.defaultCount);
    updateRows();
}

void OfferItemImportDialog::takeSettings() {
    offers::ItemImportSettings& s = m_logic.settings();
    s.source = static_cast<ItemImportSource>(std::max(0, m_source->currentIndex()));
    s.key = static_cast<ItemImportKey>(std::max(0, m_key->currentIndex()));
    s.fileName = m_file->text().trimmed();
    s.titlesInFirstRow = m_titles->isChecked();
    s.keyColumn = m_keyColumn->currentText().trimmed();
    s.countColumn = m_countColumn->currentText().trimmed();
    s.defaultCount = m_defaultCount->isChecked();
}

void OfferItemImportDialog::sourceChanged() {
    const auto source = static_cast<ItemImportSource>(std::max(0, m_source->currentIndex()));
    offerChoices(m_keyColumn, source);
    offerChoices(m_countColumn, source);
    updateRows();
}

void OfferItemImportDialog::updateRows() {
    takeSettings();
    const offers::ItemImportSettings& s = m_logic.settings();
    m_fileLabel->setEnabled(s.usesFile());
    m_file->setEnabled(s.usesFile());
    m_browse->setEnabled(s.usesFile());
    m_titles->setVisible(s.offersTitles());
    m_keyColumnLabel->setText(m_key->currentText());
    m_countColumnLabel->setVisible(s.needsCountColumn());
    m_countColumn->setVisible(s.needsCountColumn());
}

void OfferItemImportDialog::accept() {
    takeSettings();
    // The logic is handed the text, so that it never reaches for the system's clipboard itself.
    const QString clipboard = QGuiApplication::clipboard()->text();
    if (m_logic.accept(clipboard))
        QDialog::accept();
}

} // namespace orvento::ui
