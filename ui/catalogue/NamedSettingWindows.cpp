#include "ui/catalogue/NamedSettingWindows.h"

#include "core/ProgramState.h"
#include "ui/CardWidgets.h"
#include "ui/DialogButtons.h"
#include "ui/Help.h"
#include "ui/PickList.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace orvento::ui {

using namespace orvento::catalogue;

namespace {
constexpr int kNameDialogWidth = 360;
constexpr QSize kChooserSize(420, 320);
const QString kNameHelpTopic = QStringLiteral("pgVyberFiltruDetail.htm");
} // namespace

SettingNameDialog::SettingNameDialog(const QString& name, Confirm confirm, QWidget* parent)
    : QDialog(parent)
    , m_name(new QLineEdit(name, this))
    , m_confirm(std::move(confirm)) {
    setObjectName(QStringLiteral("frmVyberFiltruDetail"));
    setWindowTitle(QStringLiteral("Nastavení"));
    m_name->setObjectName(QStringLiteral("edtNazev"));
    m_name->setMaxLength(kSettingNameLength);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Název"), m_name);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(okCancelButtons(this));
    installHelpKey(this, kNameHelpTopic);
    resize(kNameDialogWidth, sizeHint().height());
}

std::optional<QString> SettingNameDialog::askNew(core::UserInteraction& ui, QWidget* parent) {
    SettingNameDialog dialog(
        QString(),
        [&ui](const QString& typed) {
            return checkSettingName(typed, ui) ? CardOutcome::Saved : CardOutcome::StayOpen;
        },
        parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.name();
}

QString SettingNameDialog::name() const {
    return m_name->text().trimmed();
}

void SettingNameDialog::accept() {
    closeByOutcome(*this, m_confirm(m_name->text()));
}

NamedSettingChooserWindow::NamedSettingChooserWindow(core::UserInteraction& ui, int module,
                                                     QWidget* parent)
    : QDialog(parent)
    , m_chooser(core::programState().db->agenda, ui, module)
    , m_table(new QTableWidget(0, 1, this))
    , m_ok(new QPushButton(QStringLiteral("OK"), this))
    , m_rename(new QPushButton(QStringLiteral("&Opravit název"), this))
    , m_remove(new QPushButton(QStringLiteral("Vyjmout"), this)) {
    setObjectName(QStringLiteral("frmVyberFiltru"));
    setWindowTitle(NamedSettingChooser::caption());
    m_table->setObjectName(QStringLiteral("grFiltry"));
    setUpPickList(m_table, {QStringLiteral("Název")});
    m_table->horizontalHeader()->setStretchLastSection(true);
    connect(m_table, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (row >= 0)
            m_chooser.setCurrentIndex(static_cast<size_t>(row));
    });
    connect(m_table, &QTableWidget::cellDoubleClicked, this, [this] {
        if (m_chooser.hasRows())
            accept();
    });
    m_ok->setObjectName(QStringLiteral("btnOK"));
    m_ok->setDefault(true);
    m_rename->setObjectName(QStringLiteral("btnOpravit"));
    m_rename->setAutoDefault(false);
    m_remove->setObjectName(QStringLiteral("btnVyjmout"));
    m_remove->setAutoDefault(false);
    auto* cancel = new QPushButton(QStringLiteral("Storno"), this);
    cancel->setObjectName(QStringLiteral("btnStorno"));
    cancel->setAutoDefault(false);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_rename, &QPushButton::clicked, this, &NamedSettingChooserWindow::renameCurrent);
    connect(m_remove, &QPushButton::clicked, this, &NamedSettingChooserWindow::removeCurrent);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {m_ok, m_rename, m_remove})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(cancel);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);
    installHelpKey(this, NamedSettingChooser::helpTopic());
    resize(kChooserSize);
    m_chooser.reload();
    showRows();
}

std::optional<NamedSetting> NamedSettingChooserWindow::choose(core::UserInteraction& ui, int module,
                                                              QWidget* parent) {
    NamedSettingChooserWindow window(ui, module, parent);
    if (window.exec() != QDialog::Accepted || !window.chooser().current())
        return std::nullopt;
    return *window.chooser().current();
}

void NamedSettingChooserWindow::showRows() {
    const QSignalBlocker blocker(m_table);
    const auto& rows = m_chooser.rows();
    m_table->setRowCount(static_cast<int>(rows.size()));
    for (size_t r = 0; r < rows.size(); ++r)
        m_table->setItem(static_cast<int>(r), 0, new QTableWidgetItem(rows[r].Nazev));
    if (const auto current = m_chooser.currentIndex())
        m_table->setCurrentCell(static_cast<int>(*current), 0);
    for (QPushButton* b : {m_ok, m_rename, m_remove})
        b->setEnabled(m_chooser.hasRows());
}

void NamedSettingChooserWindow::renameCurrent() {
    const NamedSetting* row = m_chooser.current();
    if (!row)
        return;
    SettingNameDialog dialog(
        row->Nazev, [this](const QString& typed) { return m_chooser.rename(typed); }, this);
    dialog.exec();
    showRows();
}

void NamedSettingChooserWindow::removeCurrent() {
    m_chooser.removeCurrent();
    showRows();
}

} // namespace orvento::ui
