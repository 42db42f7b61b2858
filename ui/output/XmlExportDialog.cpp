#include "ui/output/XmlExportDialog.h"

#include "core/AppContext.h"
#include "core/ProgramState.h"
#include "ui/Help.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace orvento::ui {

namespace {

output::ReportContext reportContext() {
    core::ProgramState& state = core::programState();
    return {state.settings, state.user, state.db->agenda, &state.db->global};
}

QPushButton* browseButton(QWidget* parent, const char* name) {
    auto* button = new QPushButton(QStringLiteral("..."), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

constexpr int kDialogWidth = 560;

} // namespace

XmlExportDialog::XmlExportDialog(core::AppContext& context, output::xml_export::Kind kind,
                                 std::vector<qint64> ids, output::ProgramStarter starter,
                                 QWidget* parent)
    : QDialog(parent)
    , m_logic(reportContext(), context.ui(), kind, std::move(ids), std::move(starter))
    , m_file(new QLineEdit(m_logic.file, this))
    , m_run(new QCheckBox(QStringLiteral("po dokončení spustit externí program"), this))
    , m_program(new QLineEdit(m_logic.program, this))
    , m_programButton(browseButton(this, "btnExtProgram"))
    , m_pass(new QCheckBox(QStringLiteral("jako parametr přidat exportní soubor"), this)) {
    setObjectName(QStringLiteral("frmExpXML"));
    setWindowTitle(output::XmlExportLogic::caption());
    auto* explanation = new QLabel(output::XmlExportLogic::explanation(), this);
    explanation->setObjectName(QStringLiteral("lblVysvetleni"));
    explanation->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Exportovat do souboru"), this));
    layout->addLayout(buildFileRow());
    layout->addLayout(buildProgramRows());
    layout->addWidget(explanation);
    layout->addLayout(buildButtons());
    installHelpKey(this, output::XmlExportLogic::helpTopic());
    showProgramState();
    // Wide enough for a whole path in the file and program fields.
    resize(kDialogWidth, sizeHint().height());
}

QLayout* XmlExportDialog::buildFileRow() {
    m_file->setObjectName(QStringLiteral("edtExpSoubor"));
    QPushButton* browse = browseButton(this, "btnExpSoubor");
    connect(browse, &QPushButton::clicked, this, [this] {
        take();
        m_logic.chooseFile();
        m_file->setText(m_logic.file);
    });
    auto* row = new QHBoxLayout;
    row->addWidget(m_file, 1);
    row->addWidget(browse);
    return row;
}

QLayout* XmlExportDialog::buildProgramRows() {
    m_run->setObjectName(QStringLiteral("chckExtProgram"));
    m_run->setChecked(m_logic.runProgram);
    m_program->setObjectName(QStringLiteral("edtExtProgram"));
    // Usable, the field has the background of a field; not usable, that of a button.
    QPalette palette = m_program->palette();
    palette.setColor(QPalette::Disabled, QPalette::Base, palette.color(QPalette::Button));
    m_program->setPalette(palette);
    m_pass->setObjectName(QStringLiteral("chckPridatParam"));
    m_pass->setChecked(m_logic.passFile);
    connect(m_run, &QCheckBox::toggled, this, [this](bool checked) {
        m_logic.runProgram = checked;
        showProgramState();
    });
    connect(m_programButton, &QPushButton::clicked, this, [this] {
        take();
        m_logic.chooseProgram();
        m_program->setText(m_logic.program);
    });
    auto* programRow = new QHBoxLayout;
    programRow->addWidget(m_program, 1);
    programRow->addWidget(m_programButton);
    auto* rows = new QVBoxLayout;
    rows->addWidget(m_run);
    rows->addLayout(programRow);
    rows->addWidget(m_pass);
    return rows;
}

QLayout* XmlExportDialog::buildButtons() {
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    auto* back = new QPushButton(QStringLiteral("Zpět"), this);
    back->setObjectName(QStringLiteral("btnZpet"));
    back->setAutoDefault(false);
    auto* help = new QPushButton(QStringLiteral("Nápověda"), this);
    help->setObjectName(QStringLiteral("btnNapoveda"));
    help->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &XmlExportDialog::accept);
    connect(back, &QPushButton::clicked, this, &XmlExportDialog::reject);
    connect(help, &QPushButton::clicked, this,
            [] { openHelpTopic(output::XmlExportLogic::helpTopic()); });
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(back);
    row->addWidget(help);
    return row;
}

void XmlExportDialog::showProgramState() {
    const bool enabled = m_logic.programEnabled();
    m_program->setEnabled(enabled);
    m_programButton->setEnabled(enabled);
    m_pass->setEnabled(enabled);
}

void XmlExportDialog::take() {
    m_logic.file = m_file->text();
    m_logic.program = m_program->text();
    m_logic.runProgram = m_run->isChecked();
    m_logic.passFile = m_pass->isChecked();
}

void XmlExportDialog::accept() {
    take();
    if (m_logic.accept())
        QDialog::accept();
}

bool XmlExportDialog::run(core::AppContext& context, output::xml_export::Kind kind,
                          std::vector<qint64> ids, QWidget* parent) {
    XmlExportDialog dialog(context, kind, std::move(ids), {}, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace orvento::ui
