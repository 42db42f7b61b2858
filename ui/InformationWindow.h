#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace orvento::ui {

// frmInformace: a read-only list of problems that a bulk operation or an import met.
class InformationWindow : public QDialog {
    Q_OBJECT
public:
    explicit InformationWindow(QWidget* parent = nullptr);
    void setLines(const QString& heading, const QStringList& lines);
    QString text() const;

private:
    QPlainTextEdit* m_text;
};

} // namespace orvento::ui
