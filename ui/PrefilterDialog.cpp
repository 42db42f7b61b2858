#include "ui/PrefilterDialog.h"

#include "core/ProgramState.h"
#include "ui/DialogButtons.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace orvento::ui {

PrefilterDialog::PrefilterDialog(const QString& list, QWidget* parent)
    : QDialog(parent)
    , m_entries(new QListWidget(this)) {
    setObjectName(QStringLiteral("frmPrefiltrNabidky"));
    setWindowTitle(services::PrefilterChooser::caption());
    m_chooser.load(core::programState().db->global, list);
    m_entries->setObjectName(QStringLiteral("lstUzivatele"));
    for (const auto& entry : m_chooser.entries()) {
        auto* item = new QListWidgetItem(entry.name, m_entries);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(entry.checked ? Qt::Checked : Qt::Unchecked);
    }
    connect(m_entries, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        m_chooser.setChecked(static_cast<size_t>(m_entries->row(item)),
                             item->checkState() == Qt::Checked);
    });
    auto* heading = new QLabel(services::PrefilterChooser::heading(), this);
    heading->setBuddy(m_entries);
    auto* note = new QLabel(services::PrefilterChooser::note(), this);
    note->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(m_entries, 1);
    layout->addWidget(note);
    layout->addWidget(okCancelButtons(this));
    resize(420, 420);
}

std::optional<QString> PrefilterDialog::ask(const QString& list, QWidget* parent) {
    PrefilterDialog dialog(list, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.result();
}

} // namespace orvento::ui
