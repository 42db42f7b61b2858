#pragma once

#include <QWidget>

#include <cstddef>
#include <optional>

class QTableWidget;

namespace orvento::core {
class AppContext;
}
namespace orvento::offers {
class OfferCardLogic;
}

namespace orvento::ui {

class QuickFindPanel;

// The offer card's page "Dokumenty": the linked documents with their commands and quick find.
class OfferDocumentsPage : public QWidget {
    Q_OBJECT
public:
    OfferDocumentsPage(core::AppContext& context, offers::OfferCardLogic& logic, QWidget* parent);

    // The documents, on the one at `current` when it is given.
    void showDocuments(std::optional<std::size_t> current = std::nullopt);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildGrid();
    QLayout* buildCommands();
    void addDocument();
    void editDocument();
    void removeDocument();
    void openDocument();

    core::AppContext& m_context;
    offers::OfferCardLogic& m_logic;
    QTableWidget* m_documents;
    QuickFindPanel* m_find;
};

} // namespace orvento::ui
