#pragma once

#include <QString>

#include <vector>

namespace orvento::output {

// A report the program brings with it; its template is print folder + file + ".FRX" (".xls" for
// the spreadsheet price lists).
struct BuiltInReport {
    QString name; // shown in the print window
    QString file; // begins with "_"
    QString description;
    int kind = 1; // TypSest
};

// The built-in reports of a print type in the order the print window lists them: offers (1),
// price lists with and without groups (2, 3; exported to a spreadsheet 102, 103), the address
// book (4) and desktop notes (5).
std::vector<BuiltInReport> builtInReports(int printType);

} // namespace orvento::output
