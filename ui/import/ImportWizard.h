#pragma once

#include <QDialog>

#include <memory>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QStackedWidget;

namespace orvento::core {
class AppContext;
}

namespace orvento::import {
class ImportWizardLogic;
}

namespace Ui {
class ImportWelcomePage;
}

namespace orvento::ui {

class DefinitionListPanel;
class ProtocolView;

// frmImportMain, "Import dat": the welcome page, the list of definitions, the start page with
// the source file and the protocol of the run, walked by "< Zpět" and "Další >". Every rule is
// the logic's; the window shows its pages and buttons.
class ImportWizard : public QDialog {
    Q_OBJECT
public:
    ImportWizard(core::AppContext& context, QWidget* parent = nullptr);
    ~ImportWizard() override;
    ImportWizard(const ImportWizard&) = delete;
    ImportWizard& operator=(const ImportWizard&) = delete;

    // Opens the wizard modally, unless the user's rights refuse it (told).
    static void open(core::AppContext& context, QWidget* parent);

    import::ImportWizardLogic& logic() { return *m_logic;
}

public Q_SLOTS : void
                 reject() override;

private:
QWidget* buildWelcomePage();
QWidget* buildListPage();
QWidget* buildStartPage();
QWidget* buildProtocolPage();
QWidget* buildMoneyStartPage();
QLayout* buildButtons();

void next();
void back();
void interrupt();
void runImport();
void chooseSourceFile();
void showPage();

core::AppContext& m_context;
std::unique_ptr<import::ImportWizardLogic> m_logic;
std::unique_ptr<Ui::ImportWelcomePage> m_welcome;
QStackedWidget* m_pages = nullptr;
QWidget* m_welcomePage = nullptr;
QWidget* m_listPage = nullptr;
QWidget* m_startPage = nullptr;
QWidget* m_protocolPage = nullptr;
DefinitionListPanel* m_list = nullptr;
QLineEdit* m_sourceFile = nullptr;
ProtocolView* m_protocol = nullptr;
QProgressBar* m_progress = nullptr;
QLabel* m_failed = nullptr;
QPushButton* m_saveProtocol = nullptr;
QPushButton* m_back = nullptr;
QPushButton* m_next = nullptr;
QPushButton* m_close = nullptr;
QPushButton* m_interrupt = nullptr;
QWidget* m_moneyStartPage = nullptr;
bool m_closeAfterRun = false;
}; // namespace orvento::ui

} // namespace orvento::ui
