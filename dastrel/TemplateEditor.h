#pragma once

#include "output/DataSetReader.h"

#include <QMainWindow>
#include <QTimer>

class QLabel;
class QPlainTextEdit;
class QPrintPreviewWidget;
class QPrinter;

namespace orvento::dastrel {

class ReportRenderer;

// The template editor: the template's text on the left, a live preview filled with the report
// data on the right. A change is shown once typing pauses; "Uložit" writes the text back to the
// template file. A template that does not parse keeps the last good preview and says why.
class TemplateEditor : public QMainWindow {
    Q_OBJECT
public:
    TemplateEditor(QString templatePath, output::DataSet reportData, QWidget* parent = nullptr);
    ~TemplateEditor() override;

    bool save();
    QPlainTextEdit* textEdit() const { return m_text; }
    const QString& problem() const { return m_problem; }
    void refreshNow();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void paintPreview(QPrinter* printer);

    QString m_path;
    output::DataSet m_data;
    QPlainTextEdit* m_text = nullptr;
    QPrintPreviewWidget* m_preview = nullptr;
    QLabel* m_status = nullptr;
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<ReportRenderer> m_renderer;
    QTimer m_refresh;
    QString m_problem;
};

} // namespace orvento::dastrel
