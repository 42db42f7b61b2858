#include "MaintenanceWindow.h"

#include "services/Workstations.h"

#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace orvento::pelmack {

MaintenanceWindow::MaintenanceWindow(const QString& dataFolder, QWidget* parent)
    : QWidget(parent)
    , m_maintenance(dataFolder)
    , m_list(new QTreeWidget(this))
    , m_report(new QPlainTextEdit(this))
    , m_start(new QPushButton(QStringLiteral("Zkontrolovat a zkomprimovat vybrané"), this)) {
    setObjectName(QStringLiteral("frmSpravaDatabazi"));
    setWindowTitle(QStringLiteral("Správa databází"));
    auto* intro = new QLabel(
        QStringLiteral("Datová složka: %1\n\nVybrané databáze budou nejprve zkopírovány do "
                       "složky ZALOHY_DB, poté bude zkontrolována jejich celistvost (poškozené "
                       "indexy se obnoví) a databáze se zkomprimují. Program Orvento musí být "
                       "na všech stanicích ukončen.")
            .arg(QDir::toNativeSeparators(dataFolder)),
        this);
    intro->setWordWrap(true);
    m_list->setObjectName(QStringLiteral("grDatabaze"));
    m_list->setHeaderLabels({QStringLiteral("Soubor"), QStringLiteral("Druh")});
    m_list->setRootIsDecorated(false);
    m_list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_list->header()->setStretchLastSection(false);
    m_list->setColumnWidth(1, 140);
    m_report->setObjectName(QStringLiteral("mmProtokol"));
    m_report->setReadOnly(true);
    m_start->setObjectName(QStringLiteral("btnSpustit"));
    auto* close = new QPushButton(QStringLiteral("Zavřít"), this);
    close->setObjectName(QStringLiteral("btnZavrit"));
    connect(m_start, &QPushButton::clicked, this, &MaintenanceWindow::run);
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_start);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    layout->addWidget(new QLabel(QStringLiteral("Průběh:"), this));
    layout->addWidget(m_report, 1);
    resize(640, 520);
    fill();
}

void MaintenanceWindow::fill() {
    m_list->clear();
    for (const auto& entry : m_maintenance.databases()) {
        auto* item = new QTreeWidgetItem(
            m_list, {entry.fileName, services::DatabaseMaintenance::kindText(entry.kind)});
        const bool ours = entry.kind != services::DatabaseMaintenance::FileKind::Unknown;
        item->setCheckState(0, ours ? Qt::Checked : Qt::Unchecked);
        if (!ours)
            item->setDisabled(true);
    }
    m_start->setEnabled(m_list->topLevelItemCount() > 0);
    if (!m_maintenance.problem().isEmpty())
        say(m_maintenance.problem());
}

void MaintenanceWindow::say(const QString& line) {
    m_report->appendPlainText(line);
    QApplication::processEvents();
}

QString MaintenanceWindow::report() const {
    return m_report->toPlainText();
}

void MaintenanceWindow::run() {
    QStringList chosen;
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = m_list->topLevelItem(i);
        if (item->checkState(0) == Qt::Checked && !item->isDisabled())
            chosen << item->text(0);
    }
    if (chosen.isEmpty()) {
        QMessageBox::information(this, windowTitle(),
                                 QStringLiteral("Nevybrali jste žádnou "
                                                "databázi."));
        return;
    }
    if (!m_maintenance.beginExclusive()) {
        QMessageBox::warning(this, windowTitle(), services::exclusiveOperationRunningWarning());
        return;
    }
    m_start->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    say(QStringLiteral("Kopie souborů: %1")
            .arg(QDir::toNativeSeparators(m_maintenance.copyFolder())));
    int problems = 0;
    for (const QString& file : chosen) {
        say(QStringLiteral("%1: probíhá kontrola...").arg(file));
        const auto result = m_maintenance.maintain(file);
        using Status = services::DatabaseMaintenance::Status;
        if (result.status != Status::Ok && result.status != Status::Repaired)
            ++problems;
        say(services::DatabaseMaintenance::describe(result));
    }
    m_maintenance.endExclusive();
    QApplication::restoreOverrideCursor();
    m_start->setEnabled(true);
    say(problems == 0 ? QStringLiteral("Hotovo, všechny vybrané databáze jsou v pořádku.")
                      : QStringLiteral("Hotovo, u %1 databází se vyskytly problémy (viz výše).")
                            .arg(problems));
}

} // namespace orvento::pelmack
