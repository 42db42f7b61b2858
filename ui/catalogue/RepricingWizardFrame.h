#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class QVBoxLayout;

namespace orvento::catalogue {
class BulkWizardLogic;
}

namespace orvento::ui {

// What the repricing and the bulk update wizards share: the pages shown one at a time, the
// filter page, the page before the start, the working page and the buttons "< Zpět", "Další >",
// "Storno" or "Zavřít" and "Přerušit". The wizard supplies its welcome and settings pages and
// moves their controls into the logic.
class RepricingWizardFrame : public QDialog {
    Q_OBJECT
public:
    RepricingWizardFrame(catalogue::BulkWizardLogic& logic, QWidget* parent);

    QPushButton* backButton() const { return m_back; }
    QPushButton* nextButton() const { return m_next; }
    QPushButton* closeButton() const { return m_close; }
    QPushButton* interruptButton() const { return m_interrupt; }

public Q_SLOTS:
    void reject() override;

protected:
    // Puts the pages and buttons together; called once by the wizard's constructor.
    void build(QWidget* welcome, QWidget* settings, const QString& workingText,
               const QString& closeText, bool withRate);
    // The welcome page's common end: the warning, the tip and the other-workstations notice.
    void addWelcomeEnd(QWidget* page, QVBoxLayout* layout);
    // The settings page's controls into the logic, and back.
    virtual void storeSettings() = 0;
    virtual void showSettings() = 0;
    void showPage();

private:
    QWidget* buildFilterPage(bool withRate);
    QWidget* buildConfirmPage();
    QWidget* buildWorkingPage(const QString& workingText);
    void next();
    void back();
    void storeScope();
    void showScope();
    void runWork();

    catalogue::BulkWizardLogic& m_logic;
    QStackedWidget* m_pages = nullptr;
    QCheckBox* m_everything = nullptr;
    QCheckBox* m_sheetOn = nullptr;
    QLineEdit* m_sheet = nullptr;
    QPushButton* m_sheetButton = nullptr;
    QCheckBox* m_groupOn = nullptr;
    QLineEdit* m_group = nullptr;
    QPushButton* m_groupButton = nullptr;
    QCheckBox* m_rateOn = nullptr;
    QSpinBox* m_rate = nullptr;
    QLabel* m_phase = nullptr;
    QLabel* m_groupName = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_back = nullptr;
    QPushButton* m_next = nullptr;
    QPushButton* m_close = nullptr;
    QPushButton* m_interrupt = nullptr;
    bool m_syncing = false;
};

// A check box, a line of its own controls after it.
QCheckBox* wizardCheck(const char* name, const QString& text, QWidget* parent);
QPushButton* wizardButton(const char* name, const QString& text, QWidget* parent);
QLabel* wizardText(const QString& text, QWidget* parent);

} // namespace orvento::ui
