#pragma once

#include "catalogue/CodedRowList.h"
#include "offers/OfferTemplateRecords.h"

namespace orvento::core {
class Database;
}

namespace orvento::offers {

// How the template list is opened: to manage the templates, or to choose one.
enum class TemplateListMode { Manage, Select };

// The template list (frmSablony): the templates by abbreviation with the current one.
class OfferTemplateList : public catalogue::CodedRowList<OfferTemplate> {
public:
    OfferTemplateList(core::Database& agenda, core::UserInteraction& ui);

    static QString caption() { return QStringLiteral("Šablony"); }

    // "Vyjmout", without a question: refused when the template is gone or another workstation
    // edits it; afterwards the list stands on the template that followed it. True when deleted.
    bool removeCurrent();

private:
    core::Database& m_db;
    core::UserInteraction& m_ui;
};

} // namespace orvento::offers
