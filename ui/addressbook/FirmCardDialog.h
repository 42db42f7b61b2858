#pragma once

#include "addressbook/FirmCard.h"

#include <QDialog>

#include <optional>

class QDialogButtonBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace orvento::core {
class AppContext;
}

namespace orvento::ui {

// frmAdrKart, "Karta adresy": the firm's fields, its contacts and its linked documents.
class FirmCardDialog : public QDialog {
    Q_OBJECT
public:
    FirmCardDialog(core::AppContext& context, addressbook::FirmCard& card,
                   QWidget* parent = nullptr);

    // Opens the card after its checks, first filled from the register when an IČO to load is
    // given; the saved firm's ID, nothing when it was not saved.
    static std::optional<qint64> open(core::AppContext& context, addressbook::FirmCardMode mode,
                                      qint64 firmId, QWidget* parent,
                                      const QString& icoToLoad = QString());

    addressbook::FirmCard& card() { return m_card; }
    QLineEdit* field(const QString& column) const;
    QPlainTextEdit* note() const { return m_poznamka; }
    QTableWidget* contactsGrid() const { return m_contacts; }
    QTableWidget* documentsGrid() const { return m_documents; }
    QPushButton* okButton() const { return m_ok; }

    // The commands, as the buttons run them.
    void addContact();
    void editContact();
    void removeContact();
    void addDocument();
    void editDocument();
    void removeDocument();
    void openDocument();
    void pickPostCode();
    // "Ověření IČ z internetového registru ARES": loads or verifies the name and address.
    void checkInRegister();
    void pickPriceLevel();
    void clearPriceLevel();

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The panels, built in this order (it is the order of the Tab key).
    QGridLayout* buildFields();
    // The buttons beside a field: the post code pick, ARES, e-mail, web, the level pick.
    void addFieldTools(QGridLayout& fields, int row, const QString& column, QLineEdit* edit);
    QWidget* buildContactsPage();
    QWidget* buildDocumentsPage();
    QDialogButtonBox* buildButtonBox();
    void showReadOnly();
    void showFirm();
    void takeFields();
    void showContacts(int current = 0);
    void showDocuments(int current = 0);
    void updateButtons();
    int currentRow(QTableWidget* grid) const;

    core::AppContext& m_context;
    addressbook::FirmCard& m_card;
    std::map<QString, QLineEdit*> m_fields;
    QPlainTextEdit* m_poznamka;
    QTabWidget* m_tabs;
    QTableWidget* m_contacts;
    QTableWidget* m_documents;
    QPushButton* m_editContact;
    QPushButton* m_removeContact;
    QPushButton* m_openDocument;
    QPushButton* m_editDocument;
    QPushButton* m_removeDocument;
    QPushButton* m_ok;
};

} // namespace orvento::ui
