#include "ui/catalogue/PriceSourceDialog.h"

#include "ui/DialogButtons.h"
#include "ui/Help.h"
#include "ui/catalogue/PriceGroupListWindow.h"
#include "ui/catalogue/PriceLevelListWindow.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace orvento::ui {

using namespace orvento::catalogue;

PriceSourceDialog::PriceSourceDialog(PriceSourceChoice& choice, core::UserInteraction& ui,
                                     QWidget* parent)
    : QDialog(parent)
    , m_choice(choice)
    , m_ui(ui) {
    setObjectName(QStringLiteral("frmVyberDealerCeny"));
    setWindowTitle(PriceSourceChoice::windowCaption());

    auto* box = new QGroupBox(m_choice.caption(), this);
    box->setObjectName(QStringLiteral("gbVolba"));
    auto* options = new QButtonGroup(this);
    const auto option = [&](const char* name, const QString& text, PriceSource::Kind kind) {
        auto* radio = new QRadioButton(text, box);
        radio->setObjectName(QString::fromLatin1(name));
        radio->setChecked(m_choice.option() == kind);
        options->addButton(radio, kind);
        return radio;
    };
    QRadioButton* none =
        option("rbNetisknout", QStringLiteral("netisknout"), PriceSource::DoNotPrint);
    QRadioButton* basic =
        option("rbZakladni", QStringLiteral("základní prodejní cenu"), PriceSource::BasicPrice);
    QRadioButton* level =
        option("rbHladina", QStringLiteral("cen. hladinu se zkratkou"), PriceSource::Level);
    m_level = new QLineEdit(m_choice.levelCode(), box);
    m_level->setObjectName(QStringLiteral("edtHladina"));
    m_level->setReadOnly(true);
    m_level->setMaxLength(kLevelCodeLength);
    m_pick = new QPushButton(QStringLiteral("..."), box);
    m_pick->setObjectName(QStringLiteral("btnHladina"));
    m_pick->setToolTip(QStringLiteral("Výběr cenové hladiny"));
    m_pick->setAutoDefault(false);
    m_pick->setFixedWidth(m_pick->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 20);
    auto* grid = new QGridLayout(box);
    grid->addWidget(none, 0, 0, 1, 3);
    grid->addWidget(basic, 1, 0, 1, 3);
    grid->addWidget(level, 2, 0);
    grid->addWidget(m_level, 2, 1);
    grid->addWidget(m_pick, 2, 2);
    grid->setColumnStretch(1, 1);

    auto* help = new QLabel(PriceSourceChoice::helpText(), this);
    help->setObjectName(QStringLiteral("lblNapoveda"));
    help->setWordWrap(true);
    help->setTextFormat(Qt::RichText);
    connect(help, &QLabel::linkActivated, this,
            [this] { PriceGroupListWindow::open(m_ui, ListMode::Manage, 0, this); });

    QDialogButtonBox* buttons = okCancelButtons(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addWidget(help);
    layout->addWidget(buttons);
    setMinimumWidth(360);

    connect(options, &QButtonGroup::idClicked, this, [this](int id) {
        m_choice.setOption(static_cast<PriceSource::Kind>(id));
        updateEnabled();
    });
    connect(m_pick, &QPushButton::clicked, this, &PriceSourceDialog::pickLevel);
    installHelpKey(this, PriceSourceChoice::helpTopic());
    setTabOrder(none, basic);
    setTabOrder(basic, level);
    setTabOrder(level, m_pick);
    updateEnabled();
}

PriceSource PriceSourceDialog::choose(core::UserInteraction& ui, const QString& caption,
                                      QWidget* parent) {
    PriceSourceChoice choice(caption, ui);
    PriceSourceDialog dialog(choice, ui, parent);
    if (dialog.exec() != QDialog::Accepted || !dialog.chosen())
        return {};
    return *dialog.chosen();
}

void PriceSourceDialog::accept() {
    m_chosen = m_choice.confirm();
    if (m_chosen)
        QDialog::accept();
}

void PriceSourceDialog::pickLevel() {
    // The list in pick mode, without its management buttons.
    if (const auto level =
            PriceLevelListWindow::open(m_ui, ListMode::Pick, false, m_choice.levelCode(), this)) {
        m_choice.takeLevel(*level);
        m_level->setText(m_choice.levelCode());
    }
}

void PriceSourceDialog::updateEnabled() {
    m_level->setEnabled(m_choice.levelEnabled());
    m_pick->setEnabled(m_choice.levelEnabled());
}

} // namespace orvento::ui
