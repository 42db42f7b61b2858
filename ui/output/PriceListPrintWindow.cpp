#include "ui/output/PriceListPrintWindow.h"

#include "core/AppContext.h"
#include "core/ProgramState.h"
#include "ui/Help.h"
#include "ui/output/PrintWindow.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace orvento::ui {

namespace {

using output::GroupChoice;
using output::SheetChoice;

constexpr int kGroupListWidth = 340;
constexpr int kListHeight = 110;

QString withoutVat() {
    return QStringLiteral("bez daně");
}
QString withVat() {
    return QStringLiteral("s daní");
}

void fillList(QListWidget* list, const std::vector<output::CheckEntry>& entries) {
    const QSignalBlocker blocker(list);
    list->clear();
    for (const output::CheckEntry& e : entries) {
        auto* item = new QListWidgetItem(e.name, list);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(e.checked ? Qt::Checked : Qt::Unchecked);
    }
}

void takeList(const QListWidget* list, std::vector<output::CheckEntry>& entries) {
    for (int i = 0; i < list->count() && i < static_cast<int>(entries.size()); ++i)
        entries[static_cast<size_t>(i)].checked = list->item(i)->checkState() == Qt::Checked;
}

} // namespace

PriceListPrintWindow::PriceListPrintWindow(core::AppContext& context,
                                           const core::CatalogueView& view,
                                           output::PriceListDialogs dialogs, QWidget* parent)
    : QDialog(parent)
    , m_context(context)
    , m_dialogs(std::move(dialogs)) {
    core::ProgramState& state = core::programState();
    const output::ReportContext reportContext{state.settings, state.user, state.db->agenda,
                                              &state.db->global};
    m_logic = std::make_unique<output::PriceListOutputLogic>(reportContext, context.ui(), view);
    m_printer = [this](const output::PrintRequest& request) {
        PrintWindow::open(m_context, request, this);
    };
    setObjectName(QStringLiteral("frmTiskExpCeniku"));
    setWindowTitle(output::PriceListOutputLogic::caption());

    auto* left = new QVBoxLayout;
    left->addWidget(buildSheetGroup());
    left->addWidget(buildGroupFilter());
    left->addWidget(buildItemFilter());
    auto* right = new QVBoxLayout;
    right->addWidget(buildHeading());
    right->addWidget(buildDealer());
    right->addWidget(buildOutput());
    auto* body = new QHBoxLayout;
    body->addLayout(left, 1);
    body->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(buildSettings());
    layout->addLayout(buildButtons());
    installHelpKey(this, output::PriceListOutputLogic::helpTopic());

    m_logic->open();
    showSettings();
}

PriceListPrintWindow::~PriceListPrintWindow() = default;

void PriceListPrintWindow::open(core::AppContext& context, const core::CatalogueView& view,
                                output::PriceListDialogs dialogs, QWidget* parent) {
    PriceListPrintWindow window(context, view, std::move(dialogs), parent);
    window.exec();
}

QWidget* PriceListPrintWindow::buildSheetGroup() {
    auto* box = new QGroupBox(QStringLiteral("Výběr listů"), this);
    auto* layout = new QVBoxLayout(box);
    const std::array<std::pair<const char*, QString>, 3> choices = {{
        {"rbAktualniList", QStringLiteral("pouze aktuální list")},
        {"rbVsechnyListy", QStringLiteral("všechny listy")},
        {"rbVybraneListy", QStringLiteral("vybrané listy")},
    }};
    auto* group = new QButtonGroup(box);
    for (size_t i = 0; i < choices.size(); ++i) {
        m_sheetChoice[i] = new QRadioButton(choices[i].second, box);
        m_sheetChoice[i]->setObjectName(QString::fromLatin1(choices[i].first));
        group->addButton(m_sheetChoice[i]);
        layout->addWidget(m_sheetChoice[i]);
        connect(m_sheetChoice[i], &QRadioButton::toggled, this, [this] { updateEnabled(); });
    }
    m_sheets = new QListWidget(box);
    m_sheets->setObjectName(QStringLiteral("chckLBVyberListu"));
    m_sheets->setMinimumHeight(kListHeight);
    layout->addWidget(m_sheets);
    return box;
}

QWidget* PriceListPrintWindow::buildGroupFilter() {
    m_groupBox = new QGroupBox(QStringLiteral("Filtr skupin"), this);
    auto* layout = new QVBoxLayout(m_groupBox);
    auto* group = new QButtonGroup(m_groupBox);
    m_groupChoice[0] =
        new QRadioButton(QStringLiteral("všechny skupiny v daném listu"), m_groupBox);
    m_groupChoice[0]->setObjectName(QStringLiteral("rbVsechnySkupiny"));
    m_groupChoice[1] = new QRadioButton(QStringLiteral("vybrané skupiny"), m_groupBox);
    m_groupChoice[1]->setObjectName(QStringLiteral("rbVybraneSkupiny"));
    for (QRadioButton* b : m_groupChoice) {
        group->addButton(b);
        layout->addWidget(b);
        connect(b, &QRadioButton::toggled, this, [this] { updateEnabled(); });
    }
    m_groups = new QListWidget(m_groupBox);
    m_groups->setObjectName(QStringLiteral("chckLBVyberSkupin"));
    m_groups->setMinimumHeight(kListHeight);
    // "(sheet) • group" entries: wide enough for the usual names without scrolling sideways.
    m_groups->setMinimumWidth(kGroupListWidth);
    layout->addWidget(m_groups);
    m_groupsOff = new QLabel(output::PriceListOutputLogic::groupsOffText(), m_groupBox);
    m_groupsOff->setObjectName(QStringLiteral("lblSkupinyVypnute"));
    layout->addWidget(m_groupsOff);
    return m_groupBox;
}

QWidget* PriceListPrintWindow::buildItemFilter() {
    auto* panel = new QWidget(this);
    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("Filtr položek (aktuální stav v ceníku)"), panel));
    m_itemFilter = new QLabel(m_logic->itemFilterText(), panel);
    m_itemFilter->setObjectName(QStringLiteral("lblFiltrPolozek"));
    if (m_logic->itemFilterOn()) {
        QFont font = m_itemFilter->font();
        font.setBold(true);
        m_itemFilter->setFont(font);
        m_itemFilter->setStyleSheet(QStringLiteral("color: blue;"));
    }
    layout->addWidget(m_itemFilter);
    layout->addStretch(1);
    return panel;
}

QWidget* PriceListPrintWindow::buildHeading() {
    auto* box = new QGroupBox(QStringLiteral("Nadpis"), this);
    auto* layout = new QVBoxLayout(box);
    m_noSheetName = new QCheckBox(QStringLiteral("netisknout název listu"), box);
    m_noSheetName->setObjectName(QStringLiteral("chckNetisknoutNazev"));
    m_ownHeading = new QCheckBox(QStringLiteral("vlastní nadpis ceníku"), box);
    m_ownHeading->setObjectName(QStringLiteral("chckVlastniNadpis"));
    m_headingText = new QLineEdit(box);
    m_headingText->setObjectName(QStringLiteral("edtVlastniNadpis"));
    m_headingText->setMaxLength(output::kPriceListHeadingLength);
    connect(m_ownHeading, &QCheckBox::toggled, this, [this] { updateEnabled(); });
    layout->addWidget(m_noSheetName);
    layout->addWidget(m_ownHeading);
    layout->addWidget(m_headingText);
    return box;
}

QWidget* PriceListPrintWindow::buildDealer() {
    auto* box = new QGroupBox(this);
    auto* layout = new QGridLayout(box);
    m_dealer = new QCheckBox(QStringLiteral("dealerský ceník"), box);
    m_dealer->setObjectName(QStringLiteral("chckDealersky"));
    connect(m_dealer, &QCheckBox::toggled, this, [this] { updateEnabled(); });
    layout->addWidget(m_dealer, 0, 0, 1, 5);
    for (int k = 0; k < output::kPriceColumns; ++k) {
        const auto at = static_cast<size_t>(k);
        const int row = k + 1;
        m_columnLabels[at] = new QLabel(output::PriceListOutputLogic::columnCaption(k), box);
        m_sources[at] = new QLabel(box);
        m_sources[at]->setObjectName(QStringLiteral("lblCena%1").arg(k + 1));
        m_sources[at]->setFrameShape(QFrame::StyledPanel);
        m_sources[at]->setMinimumWidth(110);
        m_sourceButtons[at] = new QPushButton(QStringLiteral("..."), box);
        m_sourceButtons[at]->setObjectName(QStringLiteral("btnCena%1").arg(k + 1));
        m_sourceButtons[at]->setFixedWidth(28);
        connect(m_sourceButtons[at], &QPushButton::clicked, this, [this, k] {
            takeFields();
            if (m_logic->choosePriceSource(k, m_dialogs))
                showSettings();
        });
        m_types[at] = new QComboBox(box);
        m_types[at]->setObjectName(QStringLiteral("cbxTypCeny%1").arg(k + 1));
        m_types[at]->addItems({withoutVat(), withVat()});
        m_headings[at] = new QLineEdit(box);
        m_headings[at]->setObjectName(QStringLiteral("edtNadpis%1").arg(k + 1));
        m_headings[at]->setMaxLength(output::kColumnHeadingLength);
        layout->addWidget(m_columnLabels[at], row, 0);
        layout->addWidget(m_sources[at], row, 1);
        layout->addWidget(m_sourceButtons[at], row, 2);
        layout->addWidget(m_types[at], row, 3);
        layout->addWidget(m_headings[at], row, 4);
    }
    m_fallback =
        new QCheckBox(QStringLiteral("pokud cenová hladina na položce neexistuje, tisknout "
                                     "základní prodejní cenu"),
                      box);
    m_fallback->setObjectName(QStringLiteral("chckTisknoutZPC"));
    layout->addWidget(m_fallback, output::kPriceColumns + 1, 0, 1, 5);
    return box;
}

QWidget* PriceListPrintWindow::buildOutput() {
    auto* box = new QGroupBox(QStringLiteral("Výstup"), this);
    auto* layout = new QVBoxLayout(box);
    m_print = new QRadioButton(QStringLiteral("tisknout ceník"), box);
    m_print->setObjectName(QStringLiteral("rbTisk"));
    m_export = new QRadioButton(QStringLiteral("exportovat ceník do MS Excel"), box);
    m_export->setObjectName(QStringLiteral("rbExport"));
    m_print->setChecked(true);
    layout->addWidget(m_print);
    layout->addWidget(m_export);
    return box;
}

QLayout* PriceListPrintWindow::buildSettings() {
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Nastavení:"), this));
    m_settingName = new QLabel(this);
    m_settingName->setObjectName(QStringLiteral("lblNastaveni"));
    row->addWidget(m_settingName, 1);
    auto* load = new QPushButton(QStringLiteral("Načíst nastavení"), this);
    load->setObjectName(QStringLiteral("btnNacist"));
    connect(load, &QPushButton::clicked, this, &PriceListPrintWindow::loadSetting);
    auto* save = new QPushButton(QStringLiteral("Uložit nastavení"), this);
    save->setObjectName(QStringLiteral("btnUlozit"));
    auto* menu = new QMenu(save);
    QAction* saveNew = menu->addAction(QStringLiteral("Uložit pod novým názvem"));
    connect(saveNew, &QAction::triggered, this, &PriceListPrintWindow::saveNewSetting);
    m_saveCurrent = menu->addAction(QStringLiteral("Uložit pod současným názvem"));
    connect(m_saveCurrent, &QAction::triggered, this, &PriceListPrintWindow::saveCurrentSetting);
    save->setMenu(menu);
    auto* standardButton = new QPushButton(QStringLiteral("Standard"), this);
    standardButton->setObjectName(QStringLiteral("btnStandard"));
    connect(standardButton, &QPushButton::clicked, this, &PriceListPrintWindow::standard);
    row->addWidget(load);
    row->addWidget(save);
    row->addWidget(standardButton);
    return row;
}

QLayout* PriceListPrintWindow::buildButtons() {
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    QPushButton* cancel =
        buttons->addButton(QStringLiteral("Storno"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("btnStorno"));
    connect(buttons, &QDialogButtonBox::accepted, this, &PriceListPrintWindow::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addWidget(buttons);
    return row;
}

// Every control from the logic's settings and lists.
void PriceListPrintWindow::showSettings() {
    m_showing = true;
    const output::PriceListSettings& s = m_logic->settings;
    m_sheetChoice[static_cast<size_t>(s.sheets) - 1]->setChecked(true);
    m_groupChoice[static_cast<size_t>(s.groups) - 1]->setChecked(true);
    fillList(m_sheets, m_logic->sheetEntries());
    fillList(m_groups, m_logic->groupEntries());
    m_noSheetName->setChecked(s.noSheetName);
    m_ownHeading->setChecked(s.ownHeading);
    m_headingText->setText(s.ownHeadingText);
    m_dealer->setChecked(s.dealer);
    m_fallback->setChecked(s.basicWhenNoLevel);
    for (size_t k = 0; k < s.columns.size(); ++k) {
        m_sources[k]->setText(s.columns[k].source);
        m_types[k]->setCurrentIndex(s.columns[k].withVat ? 1 : 0);
        m_headings[k]->setText(s.columns[k].heading);
    }
    m_settingName->setText(m_logic->settingName());
    m_showing = false;
    updateEnabled();
}

// What the person set, into the logic.
void PriceListPrintWindow::takeFields() {
    output::PriceListSettings& s = m_logic->settings;
    for (size_t i = 0; i < m_sheetChoice.size(); ++i)
        if (m_sheetChoice[i]->isChecked())
            s.sheets = static_cast<SheetChoice>(i + 1);
    s.groups = m_groupChoice[1]->isChecked() ? GroupChoice::Selected : GroupChoice::All;
    takeList(m_sheets, m_logic->sheetEntries());
    takeList(m_groups, m_logic->groupEntries());
    s.noSheetName = m_noSheetName->isChecked();
    s.ownHeading = m_ownHeading->isChecked();
    s.ownHeadingText = m_headingText->text();
    s.dealer = m_dealer->isChecked();
    s.basicWhenNoLevel = m_fallback->isChecked();
    for (size_t k = 0; k < s.columns.size(); ++k) {
        s.columns[k].withVat = m_types[k]->currentIndex() == 1;
        s.columns[k].heading = m_headings[k]->text();
    }
    m_logic->exportToSpreadsheet = m_export->isChecked();
}

void PriceListPrintWindow::updateEnabled() {
    if (m_showing || !m_saveCurrent)
        return;
    takeFields();
    const output::PriceListOutputLogic& logic = *m_logic;
    m_sheets->setEnabled(logic.sheetListEnabled());
    const bool groups = logic.groupFilterEnabled();
    for (QRadioButton* b : m_groupChoice)
        b->setEnabled(groups);
    m_groups->setEnabled(logic.groupListEnabled());
    m_groupsOff->setVisible(!groups);
    m_headingText->setEnabled(logic.headingEnabled());
    // A field that takes nothing shows the button face, as a disabled edit does.
    m_headingText->setBackgroundRole(logic.headingEnabled() ? QPalette::Base : QPalette::Button);
    const bool dealer = logic.dealerEnabled();
    for (size_t k = 0; k < m_sources.size(); ++k) {
        m_columnLabels[k]->setEnabled(dealer);
        m_sources[k]->setEnabled(dealer);
        m_sourceButtons[k]->setEnabled(dealer);
        m_types[k]->setEnabled(dealer);
        m_headings[k]->setEnabled(dealer);
    }
    m_fallback->setEnabled(dealer);
    m_saveCurrent->setEnabled(logic.saveCurrentEnabled());
}

void PriceListPrintWindow::accept() {
    takeFields();
    if (m_logic->confirm(m_printer))
        QDialog::accept();
}

void PriceListPrintWindow::standard() {
    takeFields();
    m_logic->standard();
    showSettings();
}

void PriceListPrintWindow::loadSetting() {
    if (m_logic->loadNamed(m_dialogs))
        showSettings();
}

void PriceListPrintWindow::saveNewSetting() {
    takeFields();
    if (m_logic->saveNew(m_dialogs))
        showSettings();
}

void PriceListPrintWindow::saveCurrentSetting() {
    takeFields();
    if (m_logic->saveCurrent())
        showSettings();
}

} // namespace orvento::ui
