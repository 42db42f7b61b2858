#include "ui/catalogue/MoveDialog.h"

#include "core/ProgramState.h"
#include "ui/Help.h"
#include "ui/catalogue/GroupPickerDialog.h"
#include "ui/catalogue/SheetListWindow.h"

#include <QApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvento::ui {

MoveDialog::MoveDialog(catalogue::MoveOperation& operation, core::UserInteraction& ui,
                       QWidget* parent)
    : QDialog(parent)
    , m_operation(operation)
    , m_ui(ui)
    , m_sheet(new QLineEdit(this))
    , m_group(new QLineEdit(this))
    , m_progress(new QProgressBar(this))
    , m_ok(new QPushButton(QStringLiteral("OK"), this))
    , m_cancel(new QPushButton(QStringLiteral("Storno"), this)) {
    setObjectName(QStringLiteral("frmPresunZkopiruj"));
    setWindowTitle(catalogue::MoveOperation::caption());
    auto* explanation = new QLabel(operation.explanation(), this);
    explanation->setObjectName(QStringLiteral("lblVysvetleni"));
    explanation->setWordWrap(true);
    explanation->setMinimumWidth(420);
    m_sheet->setObjectName(QStringLiteral("edtList"));
    m_group->setObjectName(QStringLiteral("edtSkupina"));
    for (QLineEdit* e : {m_sheet, m_group})
        e->setReadOnly(true);
    auto* sheetButton = new QPushButton(QStringLiteral("..."), this);
    sheetButton->setObjectName(QStringLiteral("btnList"));
    auto* groupButton = new QPushButton(QStringLiteral("..."), this);
    groupButton->setObjectName(QStringLiteral("btnSkupina"));
    for (QPushButton* b : {sheetButton, groupButton}) {
        b->setAutoDefault(false);
        b->setFixedWidth(32);
    }
    connect(sheetButton, &QPushButton::clicked, this, &MoveDialog::chooseSheet);
    connect(groupButton, &QPushButton::clicked, this, &MoveDialog::chooseGroup);

    auto* form = new QFormLayout;
    const auto row = [&](QLineEdit* edit, QPushButton* button) {
        auto* line = new QHBoxLayout;
        line->addWidget(edit, 1);
        line->addWidget(button);
        return line;
    };
    if (operation.needsSheet() || operation.kind() == catalogue::MoveKind::ItemsToGroup)
        form->addRow(QStringLiteral("List:"), row(m_sheet, sheetButton));
    if (operation.needsGroup())
        form->addRow(QStringLiteral("Skupina:"), row(m_group, groupButton));
    sheetButton->setEnabled(operation.needsSheet());
    m_progress->setObjectName(QStringLiteral("pbPrubeh"));
    m_progress->setVisible(false);

    m_ok->setObjectName(QStringLiteral("btnOK"));
    m_ok->setDefault(true);
    m_cancel->setObjectName(QStringLiteral("btnStorno"));
    m_cancel->setAutoDefault(false);
    connect(m_ok, &QPushButton::clicked, this, &MoveDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &MoveDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(explanation);
    layout->addLayout(form);
    layout->addWidget(m_progress);
    layout->addLayout(buttons);
    installHelpKey(this, QStringLiteral("pgPresunZkopiruj.htm"));
    showChoice();
}

void MoveDialog::showChoice() {
    m_sheet->setText(m_operation.sheetName());
    m_group->setText(m_operation.groupName());
}

void MoveDialog::chooseSheet() {
    const auto sheet = SheetListWindow::run(m_ui, catalogue::SheetListMode::Pick, false, this);
    if (sheet)
        m_operation.setSheet(sheet->id, sheet->nazev);
    showChoice();
}

void MoveDialog::chooseGroup() {
    const auto sheet = m_operation.sheetForGroupChoice();
    if (!sheet)
        return;
    if (const auto group = GroupPickerDialog::pick(m_ui, *sheet, this))
        m_operation.setGroup(group->id, group->nazev);
    showChoice();
}

void MoveDialog::accept() {
    if (m_running || !m_operation.validate())
        return;
    m_running = true;
    m_ok->setVisible(false);
    m_cancel->setText(QStringLiteral("Přerušit"));
    m_progress->setVisible(true);
    m_progress->setValue(0);
    m_operation.run([this](int done, int total) {
        m_progress->setMaximum(total);
        m_progress->setValue(done);
        QApplication::processEvents();
    });
    m_running = false;
    QDialog::accept();
}

void MoveDialog::reject() {
    if (m_running) {
        // "Přerušit": the run stops at its next step and keeps what it has done.
        core::programState().cancelRequested = true;
        return;
    }
    QDialog::reject();
}

} // namespace orvento::ui
