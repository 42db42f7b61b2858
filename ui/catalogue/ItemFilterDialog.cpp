#include "ui/catalogue/ItemFilterDialog.h"

#include "catalogue/IdentifierCodes.h"
#include "catalogue/PriceLevelRecords.h"
#include "core/ProgramState.h"
#include "ui/DialogButtons.h"
#include "ui/Help.h"
#include "ui/catalogue/IdentifierEditorDialog.h"
#include "ui/catalogue/PriceGroupListWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace orvento::ui {

using namespace orvento::catalogue;

namespace {
constexpr int kDialogWidth = 520;
const QString kHelpTopic = QStringLiteral("pgZasobyFiltr.htm");

QLineEdit* lineEdit(QWidget* parent, const char* name, int length, bool readOnly) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setMaxLength(length);
    field->setReadOnly(readOnly);
    return field;
}
} // namespace

ItemFilterDialog::ItemFilterDialog(core::UserInteraction& ui, const ItemFilter& entries,
                                   QWidget* parent)
    : QDialog(parent)
    , m_ui(ui)
    , m_entries(entries) {
    setObjectName(QStringLiteral("frmZasobyFiltr"));
    setWindowTitle(QStringLiteral("Filtr"));
    auto* group = new QGroupBox(QStringLiteral("Zobrazovat jen položky"), this);
    auto* grid = new QGridLayout(group);

    m_byDescription = checkBox("chckPopis", QStringLiteral("s popisem položky"));
    m_description = lineEdit(this, "edtPopis", kFilterDescriptionLength, false);
    m_descriptionPart = checkBox("chckPopisCast", QStringLiteral("jen část"));
    buildTextRow(grid, 0, m_byDescription, m_description, m_descriptionPart);
    m_byCatalogue = checkBox("chckKatalog", QStringLiteral("s katalogem"));
    m_catalogue = lineEdit(this, "edtKatalog", kFilterCatalogueLength, false);
    m_cataloguePart = checkBox("chckKatalogCast", QStringLiteral("jen část"));
    buildTextRow(grid, 1, m_byCatalogue, m_catalogue, m_cataloguePart);

    m_byPriceGroup = checkBox("chckCenSkupina", QStringLiteral("s cen. skupinou"));
    m_priceGroup = lineEdit(this, "edtCenSkupina", kLevelCodeLength, true);
    m_pickGroup =
        toolButton("btnCenSkupina", QStringLiteral("..."), QStringLiteral("Výběr cenové skupiny"));
    m_clearGroup = toolButton("btnCenSkupinaZrusit", QStringLiteral("x"),
                              QStringLiteral("Zrušení cenové skupiny"));
    connect(m_pickGroup, &QToolButton::clicked, this, &ItemFilterDialog::pickPriceGroup);
    connect(m_clearGroup, &QToolButton::clicked, m_priceGroup, &QLineEdit::clear);
    grid->addWidget(m_byPriceGroup, 2, 0);
    grid->addWidget(m_priceGroup, 2, 1);
    auto* groupButtons = new QHBoxLayout;
    groupButtons->addWidget(m_pickGroup);
    groupButtons->addWidget(m_clearGroup);
    grid->addLayout(groupButtons, 2, 2);

    m_byAvailability = checkBox("chckDostupnost", QStringLiteral("s dostupností"));
    m_availability = new QComboBox(this);
    m_availability->setObjectName(QStringLiteral("cbxDostupnost"));
    m_availability->addItems(availabilityChoices());
    grid->addWidget(m_byAvailability, 3, 0);
    grid->addWidget(m_availability, 3, 1);

    m_byIdentifiers = checkBox("chckIdentif", QStringLiteral("s identifikátory"));
    m_identifiers = lineEdit(this, "edtIdentif", kIdentifierListLength, true);
    m_editIdentifiers =
        toolButton("btnIdentif", QStringLiteral("..."), QStringLiteral("Úprava identifikátorů"));
    connect(m_editIdentifiers, &QToolButton::clicked, this, &ItemFilterDialog::editIdentifiers);
    grid->addWidget(m_byIdentifiers, 4, 0);
    grid->addWidget(m_identifiers, 4, 1);
    grid->addWidget(m_editIdentifiers, 4, 2);

    m_active = checkBox("chckAktivni", QStringLiteral("filtr aktivní (chcete-li vypnout filtr, "
                                                      "zrušte zaškrtnutí tohoto přepínače)"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(m_active);
    layout->addWidget(okCancelButtons(this));
    installHelpKey(this, kHelpTopic);

    m_byDescription->setChecked(m_entries.byDescription);
    m_description->setText(m_entries.description);
    m_descriptionPart->setChecked(m_entries.descriptionPart);
    m_byCatalogue->setChecked(m_entries.byCatalogue);
    m_catalogue->setText(m_entries.catalogueNumber);
    m_cataloguePart->setChecked(m_entries.cataloguePart);
    m_byPriceGroup->setChecked(m_entries.byPriceGroup);
    m_priceGroup->setText(m_entries.priceGroup);
    m_byAvailability->setChecked(m_entries.byAvailability);
    m_availability->setCurrentIndex(m_entries.availability);
    m_byIdentifiers->setChecked(m_entries.byIdentifiers);
    m_identifiers->setText(m_entries.identifiers);
    m_active->setChecked(true);
    updateEnabled();
    resize(kDialogWidth, sizeHint().height());
}

std::optional<ItemFilter> ItemFilterDialog::run(core::UserInteraction& ui,
                                                const ItemFilter& entries, QWidget* parent) {
    ItemFilterDialog dialog(ui, entries, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.entries();
}

QCheckBox* ItemFilterDialog::checkBox(const char* name, const QString& text) {
    auto* box = new QCheckBox(text, this);
    box->setObjectName(QString::fromLatin1(name));
    connect(box, &QCheckBox::toggled, this, &ItemFilterDialog::updateEnabled);
    return box;
}

QToolButton* ItemFilterDialog::toolButton(const char* name, const QString& text,
                                          const QString& tip) {
    auto* button = new QToolButton(this);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(text);
    button->setToolTip(tip);
    return button;
}

void ItemFilterDialog::buildTextRow(QGridLayout* grid, int row, QCheckBox* box, QLineEdit* field,
                                    QCheckBox* part) {
    grid->addWidget(box, row, 0);
    grid->addWidget(field, row, 1);
    grid->addWidget(part, row, 2);
}

void ItemFilterDialog::updateEnabled() {
    const auto enable = [](bool on, std::initializer_list<QWidget*> widgets) {
        for (QWidget* w : widgets)
            w->setEnabled(on);
    };
    enable(m_byDescription->isChecked(), {m_description, m_descriptionPart});
    enable(m_byCatalogue->isChecked(), {m_catalogue, m_cataloguePart});
    enable(m_byPriceGroup->isChecked(), {m_priceGroup, m_pickGroup, m_clearGroup});
    enable(m_byAvailability->isChecked(), {m_availability});
    enable(m_byIdentifiers->isChecked(), {m_identifiers, m_editIdentifiers});
}

void ItemFilterDialog::pickPriceGroup() {
    const auto group = PriceGroupListWindow::open(
        m_ui, ListMode::Pick, groupIdOfCode(core::programState().db->agenda, m_priceGroup->text()),
        this);
    if (group)
        m_priceGroup->setText(group->Zkratka);
}

void ItemFilterDialog::editIdentifiers() {
    if (const auto list = IdentifierEditorDialog::edit(m_ui, m_identifiers->text(), this))
        m_identifiers->setText(*list);
}

void ItemFilterDialog::readFields() {
    m_entries.active = m_active->isChecked();
    m_entries.byDescription = m_byDescription->isChecked();
    m_entries.description = m_description->text();
    m_entries.descriptionPart = m_descriptionPart->isChecked();
    m_entries.byCatalogue = m_byCatalogue->isChecked();
    m_entries.catalogueNumber = m_catalogue->text();
    m_entries.cataloguePart = m_cataloguePart->isChecked();
    m_entries.byPriceGroup = m_byPriceGroup->isChecked();
    m_entries.priceGroup = m_priceGroup->text();
    m_entries.byAvailability = m_byAvailability->isChecked();
    m_entries.availability = m_availability->currentIndex();
    m_entries.byIdentifiers = m_byIdentifiers->isChecked();
    m_entries.identifiers = m_identifiers->text();
}

void ItemFilterDialog::accept() {
    readFields();
    if (const auto problem = m_entries.problem()) {
        m_ui.warning(*problem);
        return;
    }
    QDialog::accept();
}

} // namespace orvento::ui
