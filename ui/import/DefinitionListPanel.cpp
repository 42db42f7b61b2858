#include "ui/import/DefinitionListPanel.h"

#include "core/AppContext.h"
#include "import/DefinitionList.h"
#include "import/MoneyImportSettings.h"
#include "ui/CommandButton.h"
#include "ui/import/DefinitionEditorDialog.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace orvento::ui {

struct DefinitionListPanel::Parts {
    explicit Parts(core::AppContext& context)
        : logic(context) {}

    import::DefinitionList logic;
    QTreeWidget* list = nullptr;
    QLabel* description = nullptr;
    QPushButton* edit = nullptr;
    QPushButton* copy = nullptr;
    QPushButton* remove = nullptr;
    QAction* money = nullptr;
    bool showing = false;

    // The rows with the current one, its description and the commands that need a row.
    void show() {
        showing = true;
        list->clear();
        for (const import::DefinitionListRow& row : logic.rows())
            list->addTopLevelItem(new QTreeWidgetItem(QStringList{row.name}));
        if (const auto current = logic.currentIndex())
            list->setCurrentItem(list->topLevelItem(static_cast<int>(*current)));
        showing = false;
        description->setText(logic.currentDescription());
        for (QPushButton* button : {edit, copy, remove})
            button->setEnabled(logic.hasRows());
        money->setVisible(logic.offersMoneyDefinition());
    }
};

DefinitionListPanel::DefinitionListPanel(core::AppContext& context, QWidget* parent)
    : QWidget(parent)
    , m_parts(std::make_unique<Parts>(context)) {
    setObjectName(QStringLiteral("tsVyberDef"));
    Parts& p = *m_parts;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Vyberte importní definici:"), this));

    auto* row = new QHBoxLayout;
    p.list = new QTreeWidget(this);
    p.list->setObjectName(QStringLiteral("grDefinice"));
    p.list->setRootIsDecorated(false);
    p.list->setHeaderLabels({import::DefinitionList::nameColumnTitle()});
    p.list->header()->setStretchLastSection(true);
    row->addWidget(p.list, 1);

    auto* buttons = new QVBoxLayout;
    auto* add = makeCommandButton(this, "btnPridat", QStringLiteral("Přidat"));
    auto* menu = new QMenu(add);
    QAction* priceList = menu->addAction(QStringLiteral("definici pro import ceníku"));
    QAction* firms = menu->addAction(QStringLiteral("definici pro import adresáře firem"));
    p.money = menu->addAction(import::addMoneyDefinitionCaption());
    add->setMenu(menu);
    p.edit = makeCommandButton(this, "btnOpravit", QStringLiteral("Opravit"));
    p.copy = makeCommandButton(this, "btnKopirovat", QStringLiteral("Kopírovat"));
    p.remove = makeCommandButton(this, "btnVyjmout", QStringLiteral("Vyjmout"));
    for (QPushButton* button : {add, p.edit, p.copy, p.remove})
        buttons->addWidget(button);
    buttons->addStretch(1);
    row->addLayout(buttons);
    layout->addLayout(row, 1);

    p.description = new QLabel(this);
    p.description->setObjectName(QStringLiteral("lblPopis"));
    p.description->setWordWrap(true);
    layout->addWidget(p.description);

    auto refresh = [this] {
        m_parts->show();
    };
    auto runEditor = [this, refresh](std::unique_ptr<import::DefinitionEditor> editor) {
        if (editor) {
            const bool saved = DefinitionEditorDialog::run(*editor, this);
            editor->close();
            if (saved)
                m_parts->logic.afterSave(*editor);
        }
        refresh();
    };
    connect(priceList, &QAction::triggered, this, [this, runEditor] {
        runEditor(m_parts->logic.openNew(import::DefinitionKind::PriceList));
    });
    connect(firms, &QAction::triggered, this, [this, runEditor] {
        runEditor(m_parts->logic.openNew(import::DefinitionKind::AddressBook));
    });
    connect(p.money, &QAction::triggered, this, [this, refresh] {
        m_parts->logic.addMoneyDefinition();
        refresh();
    });
    auto edit = [this, runEditor] {
        runEditor(m_parts->logic.openCurrent(import::EditMode::Edit));
    };
    connect(p.edit, &QPushButton::clicked, this, edit);
    connect(p.list, &QTreeWidget::itemDoubleClicked, this, edit);
    connect(p.copy, &QPushButton::clicked, this,
            [this, runEditor] { runEditor(m_parts->logic.openCurrent(import::EditMode::Copy)); });
    connect(p.remove, &QPushButton::clicked, this, [this, refresh] {
        m_parts->logic.removeCurrent();
        refresh();
    });
    connect(p.list, &QTreeWidget::currentItemChanged, this, [this] {
        Parts& parts = *m_parts;
        if (parts.showing)
            return;
        const int index = parts.list->indexOfTopLevelItem(parts.list->currentItem());
        if (index >= 0)
            parts.logic.setCurrentIndex(static_cast<std::size_t>(index));
        parts.description->setText(parts.logic.currentDescription());
    });
    refresh();
}

DefinitionListPanel::~DefinitionListPanel() = default;

bool DefinitionListPanel::reload(qint64 currentId) {
    Parts& p = *m_parts;
    const bool read = p.logic.reload(currentId);
    p.show();
    return read;
}

bool DefinitionListPanel::isEmpty() const {
    return !m_parts->logic.hasRows();
}

std::optional<qint64> DefinitionListPanel::currentId() const {
    return m_parts->logic.currentId();
}

} // namespace orvento::ui
