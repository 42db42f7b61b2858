#include "ui/output/ReportPropertiesDialog.h"

#include "services/PurchasePriceDisplay.h"
#include "ui/DialogButtons.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include <algorithm>

namespace orvento::ui {

namespace {

constexpr int kNameLength = 50;
constexpr int kDescriptionLength = 255;
constexpr int kFileLength = 255;

} // namespace

ReportPropertiesDialog::ReportPropertiesDialog(core::AppContext& context,
                                               output::PrintWindowLogic& logic,
                                               output::ReportPropertiesForm& form, QWidget* parent)
    : QDialog(parent)
    , m_context(context)
    , m_logic(logic)
    , m_form(form)
    , m_name(new QLineEdit(form.name, this))
    , m_descriptionEdit(new QPlainTextEdit(form.description, this))
    , m_kind(new QComboBox(this))
    , m_file(new QLineEdit(form.file, this)) {
    setObjectName(QStringLiteral("frmSestVlast"));
    setWindowTitle(QStringLiteral("Vlastnosti tiskové sestavy"));
    m_name->setObjectName(QStringLiteral("edtNazevSestavy"));
    m_name->setMaxLength(kNameLength);
    m_descriptionEdit->setObjectName(QStringLiteral("edtPopisSestavy"));
    m_kind->setObjectName(QStringLiteral("cbxTypSest"));
    m_kind->addItems(form.kinds);
    m_kind->setCurrentIndex(form.kind);
    m_kind->setEnabled(form.kindEnabled);
    auto* type = new QLabel(form.typeText, this);
    type->setObjectName(QStringLiteral("lblTypSestavy"));
    auto* extension = new QLineEdit(form.extension, this);
    extension->setObjectName(QStringLiteral("edtKoncovka"));
    extension->setReadOnly(true);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Název sestavy"), m_name);
    fields->addRow(QStringLiteral("Popis sestavy"), m_descriptionEdit);
    fields->addRow(QStringLiteral("Typ sestavy"), type);
    fields->addRow(QString(), m_kind);
    fields->addRow(QStringLiteral("Typ souboru"), extension);
    fields->addRow(QStringLiteral("Název souboru"), buildFileRow());
    QDialogButtonBox* buttons = okCancelButtons(this);
    if (auto* ok = buttons->findChild<QPushButton*>(QStringLiteral("btnOK")))
        ok->setEnabled(form.okEnabled);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(buttons);
    auto* pricesKey = new QShortcut(QKeySequence(QStringLiteral("Ctrl+Q")), this);
    connect(pricesKey, &QShortcut::activated, this,
            [this] { services::togglePurchasePriceDisplay(m_context); });
}

QLayout* ReportPropertiesDialog::buildFileRow() {
    m_file->setObjectName(QStringLiteral("edtNazevSouboru"));
    m_file->setMaxLength(kFileLength);
    m_file->setEnabled(m_form.fileEnabled);
    auto* browse = new QPushButton(QStringLiteral("..."), this);
    browse->setAutoDefault(false);
    browse->setEnabled(m_form.browseEnabled);
    connect(browse, &QPushButton::clicked, this, [this] {
        if (const auto name = m_logic.chooseTemplateFile())
            m_file->setText(*name);
    });
    auto* row = new QHBoxLayout;
    row->addWidget(m_file, 1);
    row->addWidget(browse);
    return row;
}

void ReportPropertiesDialog::take() {
    m_form.name = m_name->text();
    m_form.description = m_descriptionEdit->toPlainText().left(kDescriptionLength);
    m_form.kind = std::max(0, m_kind->currentIndex());
    m_form.file = m_file->text();
}

void ReportPropertiesDialog::accept() {
    take();
    if (!m_form.okEnabled || !m_logic.acceptProperties(m_form))
        return;
    QDialog::accept();
}

} // namespace orvento::ui
