#include "DemoWorkbook.h"

#include <QFile>

#include <xlsxwriter.h>

namespace {

constexpr lxw_col_t kCatalogueColumn = 0;
constexpr lxw_col_t kDescriptionColumn = 1;
constexpr lxw_col_t kUnitColumn = 2;
constexpr lxw_col_t kPriceColumn = 3;
constexpr lxw_col_t kVatColumn = 4;
constexpr double kCatalogueWidth = 14;
constexpr double kDescriptionWidth = 44;
constexpr double kNarrowWidth = 8;
constexpr double kPriceWidth = 14;

} // namespace

bool writeSupplierWorkbook(const QString& path,
                           const std::vector<orvento::import::SupplierRow>& rows) {
    QFile::remove(path);
    const QByteArray file = QFile::encodeName(path);
    lxw_workbook* workbook = workbook_new(file.constData());
    if (workbook == nullptr)
        return false;
    const QByteArray sheetName = orvento::import::demoWorkbookSheet().toUtf8();
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, sheetName.constData());
    lxw_format* bold = workbook_add_format(workbook);
    format_set_bold(bold);
    lxw_format* money = workbook_add_format(workbook);
    format_set_num_format(money, "#,##0.00");

    const QStringList titles = orvento::import::supplierColumns();
    for (lxw_col_t c = 0; c < static_cast<lxw_col_t>(titles.size()); ++c)
        worksheet_write_string(sheet, 0, c, titles.at(c).toUtf8().constData(), bold);
    worksheet_set_column(sheet, kCatalogueColumn, kCatalogueColumn, kCatalogueWidth, nullptr);
    worksheet_set_column(sheet, kDescriptionColumn, kDescriptionColumn, kDescriptionWidth, nullptr);
    worksheet_set_column(sheet, kUnitColumn, kUnitColumn, kNarrowWidth, nullptr);
    worksheet_set_column(sheet, kPriceColumn, kPriceColumn, kPriceWidth, nullptr);
    worksheet_set_column(sheet, kVatColumn, kVatColumn, kNarrowWidth, nullptr);

    lxw_row_t row = 1;
    for (const orvento::import::SupplierRow& r : rows) {
        worksheet_write_string(sheet, row, kCatalogueColumn, r.catalogue.toUtf8().constData(),
                               nullptr);
        worksheet_write_string(sheet, row, kDescriptionColumn, r.description.toUtf8().constData(),
                               nullptr);
        worksheet_write_string(sheet, row, kUnitColumn, r.unit.toUtf8().constData(), nullptr);
        worksheet_write_number(sheet, row, kPriceColumn, r.price, money);
        worksheet_write_number(sheet, row, kVatColumn, r.vat, nullptr);
        ++row;
    }
    return workbook_close(workbook) == LXW_NO_ERROR;
}
