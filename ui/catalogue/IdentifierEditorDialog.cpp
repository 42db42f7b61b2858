#include "ui/catalogue/IdentifierEditorDialog.h"

#include "ui/DialogButtons.h"
#include "ui/Help.h"
#include "ui/PickList.h"
#include "ui/catalogue/IdentifierListWindow.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

namespace orvento::ui {

using namespace orvento::catalogue;

namespace {
constexpr QSize kEditorSize(360, 320);
}

IdentifierEditorDialog::IdentifierEditorDialog(core::UserInteraction& ui, const QString& list,
                                               QWidget* parent)
    : QDialog(parent)
    , m_ui(ui)
    , m_editor(ui)
    , m_table(new QTableWidget(0, 1, this))
    , m_remove(new QPushButton(QStringLiteral("&Vyjmout"), this)) {
    setObjectName(QStringLiteral("frmEditorIdentif"));
    setWindowTitle(IdentifierEditor::caption());
    m_table->setObjectName(QStringLiteral("grIdentif"));
    setUpPickList(m_table, {QStringLiteral("Zkratka")});
    m_table->horizontalHeader()->setStretchLastSection(true);
    connect(m_table, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (row >= 0)
            m_editor.setCurrentRow(row);
    });
    auto* help = new QLabel(IdentifierEditor::helpText(), this);
    help->setWordWrap(true);

    auto* add = new QPushButton(QStringLiteral("&Přidat"), this);
    add->setObjectName(QStringLiteral("btnPridat"));
    add->setToolTip(QStringLiteral("Přidat nový ze seznamu identifikátorů (Alt+P nebo F3)"));
    add->setAutoDefault(false);
    m_remove->setObjectName(QStringLiteral("btnVyjmout"));
    m_remove->setToolTip(QStringLiteral("Vyjmout položku z tohoto seznamu (Alt+V nebo Delete)"));
    m_remove->setAutoDefault(false);
    connect(add, &QPushButton::clicked, this, &IdentifierEditorDialog::addFromList);
    connect(m_remove, &QPushButton::clicked, this, &IdentifierEditorDialog::removeCurrent);
    auto* f3 = new QShortcut(QKeySequence(Qt::Key_F3), this);
    connect(f3, &QShortcut::activated, this, &IdentifierEditorDialog::addFromList);
    auto* del = new QShortcut(QKeySequence(Qt::Key_Delete), this);
    connect(del, &QShortcut::activated, this, [this] {
        if (m_editor.mayRemove())
            removeCurrent();
    });

    auto* commands = new QVBoxLayout;
    commands->addWidget(add);
    commands->addWidget(m_remove);
    commands->addStretch();
    auto* body = new QHBoxLayout;
    body->addWidget(m_table, 1);
    body->addLayout(commands);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addWidget(help);
    layout->addWidget(okCancelButtons(this));
    installHelpKey(this, IdentifierEditor::helpTopic());
    resize(kEditorSize);
    m_editor.load(list);
    showCodes();
}

std::optional<QString> IdentifierEditorDialog::edit(core::UserInteraction& ui, const QString& list,
                                                    QWidget* parent) {
    IdentifierEditorDialog dialog(ui, list, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.result();
}

void IdentifierEditorDialog::showCodes() {
    const QStringList& codes = m_editor.codes();
    m_table->setRowCount(static_cast<int>(codes.size()));
    for (int r = 0; r < codes.size(); ++r)
        m_table->setItem(r, 0, new QTableWidgetItem(codes[r]));
    if (m_editor.currentRow() >= 0)
        m_table->setCurrentCell(m_editor.currentRow(), 0);
    m_remove->setEnabled(m_editor.mayRemove());
}

void IdentifierEditorDialog::addFromList() {
    if (const auto picked = IdentifierListWindow::open(m_ui, ListMode::Pick, this))
        m_editor.add(picked->Zkratka);
    showCodes();
}

void IdentifierEditorDialog::removeCurrent() {
    m_editor.removeCurrent();
    showCodes();
}

void IdentifierEditorDialog::accept() {
    m_result = m_editor.confirm();
    if (m_result)
        QDialog::accept();
}

} // namespace orvento::ui
