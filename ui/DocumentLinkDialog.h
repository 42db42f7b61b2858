#pragma once

#include <QDialog>
#include <QString>

#include <optional>

class QCheckBox;
class QLineEdit;
class QToolButton;

namespace orvento::core {
class UserInteraction;
}

namespace orvento::ui {

// What the link dialog edits: the documents of a firm or of an offer.
class DocumentLinkHost {
public:
    virtual ~DocumentLinkHost() = default;
    virtual std::size_t documentCount() const = 0;
    virtual QString description(std::size_t index) const = 0;
    virtual QString link(std::size_t index) const = 0;
    virtual QString sharedFolder() const = 0;
    // The typed link's check (with its messages); false keeps the dialog open.
    virtual bool acceptLink(const QString& link, bool copy) const = 0;
    // False when the links cannot be saved: the dialog then only shows a link.
    virtual bool editable() const { return true; }
    // A new link (no index) or the changed one.
    virtual void store(std::optional<std::size_t> index, const QString& description,
                       const QString& link, bool copy) = 0;
};

// frmOdkaz: adds a link to a document ("Přidat odkaz na dokument", with the file dialog at once
// and the copy check box) or edits one ("Opravit odkaz na dokument").
class DocumentLinkDialog : public QDialog {
    Q_OBJECT
public:
    DocumentLinkDialog(core::UserInteraction& ui, DocumentLinkHost& host,
                       std::optional<size_t> index, QWidget* parent = nullptr);

    // "Přidat odkaz" shows the file dialog as soon as the window opens.
    static bool add(core::UserInteraction& ui, DocumentLinkHost& host, QWidget* parent);
    static bool edit(core::UserInteraction& ui, DocumentLinkHost& host, size_t index,
                     QWidget* parent);

    QLineEdit* description() const { return m_popis; }
    QLineEdit* link() const { return m_soubor; }
    QCheckBox* copy() const { return m_copy; }
    // The file dialog; false when cancelled.
    bool browse();

    void accept() override;

private:
    core::UserInteraction& m_ui;
    DocumentLinkHost& m_host;
    std::optional<size_t> m_index;
    QLineEdit* m_popis;
    QLineEdit* m_soubor;
    QToolButton* m_browse;
    QCheckBox* m_copy;
};

} // namespace orvento::ui
