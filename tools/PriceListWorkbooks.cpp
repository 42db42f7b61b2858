#include "PriceListWorkbooks.h"

#include <QFile>

#include <xlsxwriter.h>

#include <vector>

namespace {

// What a template shows, read from its name.
struct Layout {
    bool groups = false;
    int dealerColumns = 0;   // 0: the standard columns, else 4 or 6 price columns
    bool noteMerged = false; // the note under the item across the row
    bool noteRow = false;    // the note in a row of its own, in the description's column
};

Layout layoutOf(const QString& name) {
    Layout l;
    l.groups = name.contains(QLatin1String("SK"));
    if (name.startsWith(QLatin1String("_CEND4")))
        l.dealerColumns = 4;
    else if (name.startsWith(QLatin1String("_CEND6")))
        l.dealerColumns = 6;
    l.noteRow = name.endsWith(QLatin1String("P2"));
    l.noteMerged = !l.noteRow && name.endsWith(QLatin1Char('P'));
    return l;
}

constexpr double kDescriptionWidth = 46;
constexpr double kCatalogueWidth = 16;
constexpr double kUnitWidth = 7;
constexpr double kPriceWidth = 15;
constexpr double kTitleSize = 16;
constexpr double kSheetSize = 13;
constexpr lxw_color_t kGroupFill = 0xDDE7F3;
constexpr lxw_color_t kTitleColour = 0x1F3864;
constexpr lxw_color_t kNoteColour = 0x595959;

struct Column {
    const char* title;       // a fixed title, or nothing when `heading` names it
    const char* placeholder; // what the item row shows
    const char* heading;     // the header's column that titles it
    bool amount;
    double width;
};

std::vector<Column> columnsOf(const Layout& l) {
    std::vector<Column> columns = {
        {"Popis", "{{Zasoby.Popis}}", nullptr, false, kDescriptionWidth},
        {"Katalog", "{{Zasoby.Katalog}}", nullptr, false, kCatalogueWidth}};
    if (l.dealerColumns == 0) {
        columns.push_back({"MJ", "{{Zasoby.TextMJ}}", nullptr, false, kUnitWidth});
        columns.push_back({"Cena bez DPH", "{{Zasoby.PrCenaBDPH}}", nullptr, true, kPriceWidth});
        columns.push_back({"Cena s DPH", "{{Zasoby.PrCenaSDPH}}", nullptr, true, kPriceWidth});
        return columns;
    }
    static const char* const prices[] = {"{{Zasoby.Cena1}}", "{{Zasoby.Cena2}}",
                                         "{{Zasoby.Cena3}}", "{{Zasoby.Cena4}}",
                                         "{{Zasoby.Cena5}}", "{{Zasoby.Cena6}}"};
    static const char* const headings[] = {"{{Hlavicka.Nadpis1}}", "{{Hlavicka.Nadpis2}}",
                                           "{{Hlavicka.Nadpis3}}", "{{Hlavicka.Nadpis4}}",
                                           "{{Hlavicka.Nadpis5}}", "{{Hlavicka.Nadpis6}}"};
    for (int k = 0; k < l.dealerColumns; ++k)
        columns.push_back({nullptr, prices[k], headings[k], true, kPriceWidth});
    return columns;
}

} // namespace

QStringList priceListWorkbookNames() {
    return {QStringLiteral("_CENSK"),    QStringLiteral("_CENSKP"),   QStringLiteral("_CENSKP2"),
            QStringLiteral("_CEND4SK"),  QStringLiteral("_CEND4SKP"), QStringLiteral("_CEND6SK"),
            QStringLiteral("_CEND6SKP"), QStringLiteral("_CEN"),      QStringLiteral("_CENP"),
            QStringLiteral("_CENP2"),    QStringLiteral("_CEND4"),    QStringLiteral("_CEND4P"),
            QStringLiteral("_CEND6"),    QStringLiteral("_CEND6P")};
}

bool writePriceListWorkbook(const QString& name, const QString& path) {
    const Layout layout = layoutOf(name);
    const std::vector<Column> columns = columnsOf(layout);
    const auto last = static_cast<lxw_col_t>(columns.size() - 1);
    QFile::remove(path);
    const QByteArray file = QFile::encodeName(path);
    lxw_workbook* book = workbook_new(file.constData());
    if (!book)
        return false;
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Ceník");

    lxw_format* title = workbook_add_format(book);
    format_set_bold(title);
    format_set_font_size(title, kTitleSize);
    format_set_font_color(title, kTitleColour);
    lxw_format* firm = workbook_add_format(book);
    format_set_italic(firm);
    lxw_format* sheetName = workbook_add_format(book);
    format_set_bold(sheetName);
    format_set_font_size(sheetName, kSheetSize);
    format_set_bottom(sheetName, LXW_BORDER_MEDIUM);
    lxw_format* group = workbook_add_format(book);
    format_set_bold(group);
    format_set_bg_color(group, kGroupFill);
    lxw_format* head = workbook_add_format(book);
    format_set_bold(head);
    format_set_bottom(head, LXW_BORDER_THIN);
    lxw_format* headAmount = workbook_add_format(book);
    format_set_bold(headAmount);
    format_set_bottom(headAmount, LXW_BORDER_THIN);
    format_set_align(headAmount, LXW_ALIGN_RIGHT);
    lxw_format* amount = workbook_add_format(book);
    format_set_num_format(amount, "# ### ### ##0.00");
    lxw_format* note = workbook_add_format(book);
    format_set_italic(note);
    format_set_font_color(note, kNoteColour);
    format_set_text_wrap(note);
    format_set_indent(note, 1);

    lxw_row_t row = 0;
    worksheet_merge_range(sheet, row, 0, row, last, "{{Hlavicka.NadpisCen}}", title);
    ++row;
    worksheet_write_string(sheet, row++, 0, "{{Hlavicka.DodNazev}}", firm);
    worksheet_write_string(
        sheet, row++, 0, "{{Hlavicka.DodUlice}}   {{Hlavicka.DodPSC}} {{Hlavicka.DodMisto}}", firm);
    worksheet_write_string(sheet, row++, 0,
                           "IČO {{Hlavicka.DodICO}}   DIČ {{Hlavicka.DodDIC}}   "
                           "{{Hlavicka.DodTel}}   {{Hlavicka.DodEmail}}   {{Hlavicka.DodWWW}}",
                           firm);
    ++row; // a gap before the first sheet
    worksheet_merge_range(sheet, row, 0, row, last, "{{Sklady.Nazev}}", sheetName);
    ++row;
    if (layout.groups) {
        worksheet_merge_range(sheet, row, 0, row, last, "{{Skupiny.Nazev}}", group);
        ++row;
    }
    for (lxw_col_t c = 0; c <= last; ++c) {
        const Column& col = columns[c];
        worksheet_write_string(sheet, row, c, col.title ? col.title : col.heading,
                               col.amount ? headAmount : head);
        worksheet_set_column(sheet, c, c, col.width, nullptr);
    }
    ++row;
    for (lxw_col_t c = 0; c <= last; ++c)
        worksheet_write_string(sheet, row, c, columns[c].placeholder,
                               columns[c].amount ? amount : nullptr);
    ++row;
    if (layout.noteMerged) {
        worksheet_merge_range(sheet, row, 0, row, last, "{{Zasoby.Poznamka}}", note);
        ++row;
    } else if (layout.noteRow) {
        worksheet_write_string(sheet, row++, 0, "{{Zasoby.Poznamka}}", note);
    }
    worksheet_set_landscape(sheet);
    worksheet_fit_to_pages(sheet, 1, 0);
    worksheet_set_footer(sheet, "&CStrana &P z &N");
    return workbook_close(book) == LXW_NO_ERROR;
}
