#include "dastrel/TemplateEditor.h"

#include "dastrel/ReportRenderer.h"

#include <QCloseEvent>
#include <QFile>
#include <QFontDatabase>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QSaveFile>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>

namespace orvento::dastrel {

TemplateEditor::TemplateEditor(QString templatePath, output::DataSet reportData, QWidget* parent)
    : QMainWindow(parent)
    , m_path(std::move(templatePath))
    , m_data(std::move(reportData))
    , m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    setWindowTitle(QStringLiteral("Editor tiskové sestavy - %1").arg(m_path));
    m_text = new QPlainTextEdit(this);
    m_text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFile file(m_path);
    if (file.open(QIODevice::ReadOnly))
        m_text->setPlainText(QString::fromUtf8(file.readAll()));
    m_text->document()->setModified(false);

    m_preview = new QPrintPreviewWidget(m_printer.get(), this);
    connect(m_preview, &QPrintPreviewWidget::paintRequested, this,
            [this](QPrinter* printer) { paintPreview(printer); });

    auto* splitter = new QSplitter(this);
    splitter->addWidget(m_text);
    splitter->addWidget(m_preview);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 1);
    setCentralWidget(splitter);

    m_status = new QLabel(this);
    statusBar()->addWidget(m_status, 1);

    QToolBar* tools = addToolBar(QStringLiteral("Sestava"));
    QAction* saveAction = tools->addAction(QStringLiteral("Uložit"), this, [this] { save(); });
    saveAction->setShortcut(QKeySequence::Save);
    tools->addAction(QStringLiteral("Obnovit náhled"), this, [this] { refreshNow(); });
    tools->addAction(QStringLiteral("Zavřít"), this, &QWidget::close);

    m_refresh.setSingleShot(true);
    m_refresh.setInterval(600);
    connect(&m_refresh, &QTimer::timeout, this, &TemplateEditor::refreshNow);
    connect(m_text, &QPlainTextEdit::textChanged, this, [this] { m_refresh.start(); });
    resize(1200, 800);
    refreshNow();
}

TemplateEditor::~TemplateEditor() = default;

void TemplateEditor::refreshNow() {
    QString why;
    auto parsed = parseTemplate(m_text->toPlainText(), &why);
    if (!parsed) {
        m_problem = why;
        m_status->setText(QStringLiteral("Šablonu nelze použít: %1").arg(why));
        return;
    }
    m_problem.clear();
    m_printer->setPageLayout(parsed->pageLayout());
    m_renderer = std::make_unique<ReportRenderer>(std::move(*parsed), m_data);
    m_status->setText(QStringLiteral("Náhled odpovídá šabloně."));
    m_preview->updatePreview();
}

void TemplateEditor::paintPreview(QPrinter* printer) {
    if (!m_renderer)
        return;
    QPainter painter(printer);
    m_renderer->paint(*printer, painter);
}

bool TemplateEditor::save() {
    QSaveFile file(m_path);
    const QByteArray bytes = m_text->toPlainText().toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        QMessageBox::critical(
            this, QStringLiteral("Dastrel"),
            QStringLiteral("Šablonu %1 nelze uložit: %2").arg(m_path, file.errorString()));
        return false;
    }
    m_text->document()->setModified(false);
    m_status->setText(QStringLiteral("Šablona uložena."));
    return true;
}

void TemplateEditor::closeEvent(QCloseEvent* event) {
    if (m_text->document()->isModified()) {
        const auto answer = QMessageBox::question(
            this, QStringLiteral("Dastrel"), QStringLiteral("Uložit změny šablony?"),
            QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
        if (answer == QMessageBox::Cancel || (answer == QMessageBox::Save && !save())) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

} // namespace orvento::dastrel
