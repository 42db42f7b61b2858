#pragma once

#include "services/ProfileValues.h"

#include <QString>

#include <vector>

namespace orvento::services {

// The five grids whose column layout each profile remembers; the value is the number of the
// memo the layout is kept in.
enum class GridId {
    OfferList = profile::memo::OfferListGrid,
    AddressBook = profile::memo::AddressBookGrid,
    OfferItems = profile::memo::OfferItemsGrid,
    CatalogueGroups = profile::memo::CatalogueGroupsGrid,
    CatalogueItems = profile::memo::CatalogueItemsGrid,
};
inline constexpr GridId kAllGrids[] = {GridId::OfferList, GridId::AddressBook, GridId::OfferItems,
                                       GridId::CatalogueGroups, GridId::CatalogueItems};

// How a money column stands out; the shades are the widgets' business.
enum class ColumnColour { None, Grey, LightGrey, LightGreen, LightYellow, LightOrange };

struct GridColumn {
    QString field;
    QString title;
    int width = 64;
    bool sortable = false;
    ColumnColour colour = ColumnColour::None;
    bool footerSum = false; // a right-aligned sum under the column, in its colour
    bool fixed = false;     // stays at the left and does not scroll sideways
};

// What a grid can show: its fixed columns, the columns the user may arrange in their default
// order, and where its sort column is remembered.
struct GridDefinition {
    GridId id;
    std::vector<GridColumn> fixedColumns;
    std::vector<GridColumn> available;
    int sortValueNumber = 0; // profile value holding the sort field; 0 = none
    QString defaultSortField;
};

const GridDefinition& gridDefinition(GridId id);
inline int layoutMemoNumber(GridId id) {
    return static_cast<int>(id);
}

// A column's place and width as the layout memo keeps it.
struct SavedColumn {
    QString field;
    int width = 0;
};

// The columns a grid shows, in order, fixed ones first, and its sort marker.
struct GridLayout {
    std::vector<GridColumn> columns;
    // The sort field as remembered, or empty when it named no column.
    QString sortField;
    // The column that shows the ascending sort marker, or -1.
    int sortColumn = -1;

    int indexOf(const QString& field) const; // ignoring case, or -1
};

// Builds a grid from its saved layout text (a damaged or empty one gives the default order):
// saved columns that are still available in their saved order and width, then the remaining
// available ones in default order; the sort marker on the column named by `sortField`.
GridLayout buildGridLayout(GridId id, const QString& savedLayout, const QString& sortField);
// The layout text of the columns in their current order. Fixed columns are left out, except
// that the offer items start with the last fixed one, which loading passes over.
QString layoutText(GridId id, const std::vector<SavedColumn>& columns);
std::vector<SavedColumn> savedColumns(const GridLayout& layout);

} // namespace orvento::services
