#pragma once

#include <QString>
#include <QStringList>

// The spreadsheet templates of the built-in price-list exports (.xlsx), written with
// libxlsxwriter: the firm's header, the sheets and groups as headings and the items in rows
// whose cells name the table and column they are filled from ("{{Zasoby.Popis}}").

// The names of the fourteen built-in templates, without extension.
QStringList priceListWorkbookNames();
// Writes the template `name` (one of the above) to `path`; false when it cannot be written.
bool writePriceListWorkbook(const QString& name, const QString& path);
