#pragma once

#include "output/PrintTypes.h"

#include <QString>

#include <vector>

namespace orvento::output {

// A report the program brings with it; its template is print folder + file + ".FRX" (".xls" for
// the spreadsheet price lists).
struct BuiltInReport {
    QString name; // shown in the print window
    QString file; // begins with "_"
    QString description;
    int kind = report_kind::Standard; // TypSest
};

// The built-in reports of a print type (`print_type`) in the order the print window lists them.
std::vector<BuiltInReport> builtInReports(int printType);

} // namespace orvento::output
