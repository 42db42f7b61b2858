#pragma once

#include "offers/OfferTemplateList.h"

#include <QDialog>

#include <optional>

class QPushButton;
class QTableWidget;

namespace orvento::core {
class AppContext;
}

namespace orvento::offers {
class OfferTemplateCard;
}

namespace orvento::ui {

// frmSablony, "Šablony": the templates by abbreviation and name, to manage or to choose one.
class OfferTemplateListWindow : public QDialog {
    Q_OBJECT
public:
    OfferTemplateListWindow(core::AppContext& context, offers::TemplateListMode mode,
                            QWidget* parent = nullptr);

    // The list in selection mode; the chosen template, or nothing after "Storno".
    static std::optional<offers::OfferTemplate> choose(core::AppContext& context, QWidget* parent);

    offers::OfferTemplateList& list() { return m_list; }
    QTableWidget* table() const { return m_table; }
    QPushButton* button(const QString& objectName) const;

    // The commands, as the buttons run them.
    void addTemplate();
    void editTemplate();
    void removeTemplate();
    // Double click and Enter: choose in selection mode, edit otherwise.
    void activate();

    void accept() override;

private:
    QWidget* buildTable();
    void buildButtons();
    void showRows();
    void updateButtons();
    // The detail of the card's template; true when it was saved.
    bool runDetail(offers::OfferTemplateCard& card);

    core::AppContext& m_context;
    offers::TemplateListMode m_mode;
    offers::OfferTemplateList m_list;
    QTableWidget* m_table;
    QPushButton* m_ok = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_remove = nullptr;
};

} // namespace orvento::ui
