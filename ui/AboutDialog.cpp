#include "ui/AboutDialog.h"

#include "core/AppVersion.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvento::ui {

AboutDialog::AboutDialog(QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("O aplikaci..."));
    auto* name = new QLabel(core::kProductName, this);
    QFont big = name->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    name->setFont(big);
    auto* version = new QLabel(core::versionCaption(), this);
    version->setObjectName(QStringLiteral("lblVerze"));
    auto* what = new QLabel(
        QStringLiteral("Ceník zboží a služeb, adresář odběratelů a cenové nabídky."), this);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(name, 0, Qt::AlignHCenter);
    layout->addWidget(version, 0, Qt::AlignHCenter);
    layout->addWidget(what, 0, Qt::AlignHCenter);
    layout->addWidget(buttons);
}

} // namespace orvento::ui
