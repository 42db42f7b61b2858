// A report template (.FRX) from the print folder, which people copy and edit by hand: read, filled
// with a small report data set and laid out on the first page, as the report runner does.
#include "FuzzSupport.h"

#include "dastrel/ReportRenderer.h"
#include "dastrel/ReportTemplate.h"
#include "output/DataSetReader.h"
#include "output/DataSetWriter.h"
#include "output/ReportTable.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>

#include <cstdlib>

namespace {

using orvento::output::ColumnType;
using orvento::output::ReportTable;

// The tables of an offer with two items and of a note, gone through the data file as the
// runner gets them.
orvento::output::DataSet reportData() {
    ReportTable offer(QStringLiteral("mtHlavickaNab"));
    offer.column(QStringLiteral("ID"), ColumnType::Integer)
        .column(QStringLiteral("Doklad"), ColumnType::Text, 20)
        .column(QStringLiteral("Nadpis"), ColumnType::Text, 50)
        .column(QStringLiteral("Celkem"), ColumnType::Currency)
        .column(QStringLiteral("Vystaveno"), ColumnType::DateTime)
        .column(QStringLiteral("TextPred"), ColumnType::Memo);
    const int o = offer.appendRow();
    offer.set(o, QStringLiteral("ID"), 1);
    offer.set(o, QStringLiteral("Doklad"), QStringLiteral("NAB-2026/0001"));
    offer.set(o, QStringLiteral("Nadpis"), QStringLiteral("Cenová nabídka"));
    offer.set(o, QStringLiteral("Celkem"), 12345.5);
    offer.set(o, QStringLiteral("TextPred"),
              QStringLiteral("{\\rtf1\\ansi{\\b Tučně} a obyčejně\\par}"));
    ReportTable items(QStringLiteral("mtPolozkyNab"));
    items.column(QStringLiteral("IDNab"), ColumnType::Integer)
        .column(QStringLiteral("Popis"), ColumnType::Text, 100)
        .column(QStringLiteral("PCSDPHPOL"), ColumnType::Currency)
        .column(QStringLiteral("Poradi"), ColumnType::Integer);
    for (int i = 0; i < 2; ++i) {
        const int r = items.appendRow();
        items.set(r, QStringLiteral("IDNab"), 1);
        items.set(r, QStringLiteral("Popis"), QStringLiteral("Položka <%1> & spol.").arg(i));
        items.set(r, QStringLiteral("PCSDPHPOL"), 100.25 * (i + 1));
        items.set(r, QStringLiteral("Poradi"), i);
    }
    ReportTable note(QStringLiteral("mtPoznTisk"));
    note.column(QStringLiteral("Nazev"), ColumnType::Text, 50)
        .column(QStringLiteral("Detail"), ColumnType::Memo);
    const int n = note.appendRow();
    note.set(n, QStringLiteral("Nazev"), QStringLiteral("Poznámka"));
    note.set(n, QStringLiteral("Detail"), QStringLiteral("První řádek\nDruhý řádek"));

    orvento::output::DataSetWriter writer(QStringLiteral("NewDataSet"));
    writer.addTable(offer);
    writer.addTable(items);
    writer.addTable(note);
    writer.addRelation(QStringLiteral("NabPol"), QStringLiteral("mtHlavickaNab"),
                       QStringLiteral("ID"), QStringLiteral("mtPolozkyNab"),
                       QStringLiteral("IDNab"));
    QString error;
    auto set = orvento::output::readDataSetText(writer.text().toUtf8(), &error);
    if (!set)
        std::abort(); // the harness's own data must read back
    return std::move(*set);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvento;
    static const output::DataSet reportSet = reportData();
    QString error;
    auto report = dastrel::parseTemplate(QString::fromUtf8(fuzz::bytes(data, size)), &error);
    if (!report)
        return 0;
    dastrel::ReportRenderer renderer(std::move(*report), reportSet);
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    QPdfWriter writer(&pdf);
    QPainter painter(&writer);
    (void)renderer.paint(writer, painter, 1, 1);
    return 0;
}
