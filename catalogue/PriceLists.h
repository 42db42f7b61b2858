#pragma once

#include "catalogue/CodedRowList.h"
#include "catalogue/PriceLevelRecords.h"

namespace orvento::core {
class Database;
}

namespace orvento::catalogue {

// How a list of levels or groups is opened: to manage the rows, or to pick one.
enum class ListMode { Manage = 0, Pick = 1 };

// The list of price levels (frmCenHlad).
class PriceLevelList : public CodedRowList<PriceLevel> {
public:
    PriceLevelList(core::Database& agenda, core::UserInteraction& ui);

    static QString caption() { return QStringLiteral("Cenové hladiny"); }
    static QString helpTopic() { return QStringLiteral("pgCenHlad.htm"); }
    // The catalogue right: refused with the no-rights message when it is "nepřístupno".
    static bool mayOpen(core::UserInteraction& ui);

    // "Vyjmout": the level and its rows in every group, in one unit of work.
    bool removeCurrent();
    // Moves to the level of this code (ignoring letter case), when there is one.
    void locateCode(const QString& code);

private:
    core::Database& m_db;
    core::UserInteraction& m_ui;
};

// The list of price groups (frmCenSkup).
class PriceGroupList : public CodedRowList<PriceGroup> {
public:
    PriceGroupList(core::Database& agenda, core::UserInteraction& ui);

    static QString caption() { return QStringLiteral("Cenové skupiny"); }
    static QString helpTopic() { return QStringLiteral("pgCenSkup.htm"); }
    static bool mayOpen(core::UserInteraction& ui);

    // "Vyjmout": the group and its level rows, in one unit of work.
    bool removeCurrent();

private:
    core::Database& m_db;
    core::UserInteraction& m_ui;
};

} // namespace orvento::catalogue
