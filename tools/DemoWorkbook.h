#pragma once

#include "import/DemoImport.h"

#include <QString>

#include <vector>

// The demo supplier's price list as an Excel workbook (.xlsx): one sheet with a bold title row,
// texts and numbers in their own cells. False when the file cannot be written.
bool writeSupplierWorkbook(const QString& path,
                           const std::vector<orvento::import::SupplierRow>& rows);
