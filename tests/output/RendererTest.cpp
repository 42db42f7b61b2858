#include "dastrel/ReportRenderer.h"
#include "dastrel/RunnerJob.h"
#include "output/DataSetReader.h"
#include "output/DataSetWriter.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace orvento;
using output::ColumnType;
using output::ReportTable;

namespace {

output::DataSet priceList() {
    ReportTable sheets(QStringLiteral("mtTiskSklady"));
    sheets.column(QStringLiteral("ID"), ColumnType::Integer)
        .column(QStringLiteral("Nazev"), ColumnType::Text, 50);
    ReportTable items(QStringLiteral("mtTiskZasoby"));
    items.column(QStringLiteral("Sklad"), ColumnType::Integer)
        .column(QStringLiteral("Popis"), ColumnType::Text, 50)
        .column(QStringLiteral("Cena"), ColumnType::Double)
        .column(QStringLiteral("Pocet"), ColumnType::Double)
        .column(QStringLiteral("Akce"), ColumnType::Boolean)
        .column(QStringLiteral("Od"), ColumnType::DateTime)
        .column(QStringLiteral("Poznamka"), ColumnType::Memo);
    for (const auto& [id, name] : {std::pair{1, "Kabely"}, std::pair{2, "Jističe"}}) {
        const int r = sheets.appendRow();
        sheets.set(r, 0, id);
        sheets.set(r, 1, QString::fromUtf8(name));
    }
    const auto item = [&items](int sheet, const char* popis, double cena, double pocet, bool akce) {
        const int r = items.appendRow();
        items.set(r, 0, sheet);
        items.set(r, 1, QString::fromUtf8(popis));
        items.set(r, 2, cena);
        items.set(r, 3, pocet);
        items.set(r, 4, akce);
    };
    item(2, "Jistič 16 A", 1234567.891, 2.5, true);
    item(1, "CYKY 3x2,5 <m>", 27.9, 100.0, false);
    item(2, "Jistič 10 A", -0.004, 0.125, false);
    items.set(0, QStringLiteral("Od"), QDateTime(QDate(2024, 3, 5), QTime(14, 7)));
    items.set(1, QStringLiteral("Poznamka"),
              QStringLiteral("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Prvn\\'ed \\u345?\\'e1dek"
                             "\\par druh\\u253? \\{x\\}}"));
    output::DataSetWriter writer(QStringLiteral("ReportDataset"));
    writer.addTable(sheets);
    writer.addTable(items);
    writer.addRelation(QStringLiteral("Sklady_Zasoby"), QStringLiteral("mtTiskSklady"),
                       QStringLiteral("ID"), QStringLiteral("mtTiskZasoby"),
                       QStringLiteral("Sklad"));
    return *output::readDataSetText(writer.text().toUtf8(), nullptr);
}

QString bodyOf(const QString& body) {
    QString error;
    auto t = dastrel::parseTemplate(QStringLiteral("[body]\n") + body, &error);
    EXPECT_TRUE(t) << error.toStdString();
    return t ? dastrel::ReportRenderer(*t, priceList()).bodyHtml().trimmed() : QString();
}

} // namespace

// Master rows hold their detail rows under the relation's name; values come in Czech writing;
// texts are shown as written, line breaks kept, stored rich text as its plain text in _text.
TEST(ReportRenderer, RelationsAndCzechValueForms) {
    EXPECT_EQ(bodyOf(QStringLiteral("{{#mtTiskSklady}}[{{Nazev}}:{{#Sklady_Zasoby}}{{Popis}};"
                                    "{{/Sklady_Zasoby}}]{{/mtTiskSklady}}")),
              QStringLiteral("[Kabely:CYKY 3x2,5 &lt;m&gt;;][Jističe:Jistič 16 A;Jistič 10 A;]"));
    EXPECT_EQ(bodyOf(QStringLiteral("{{#mtTiskZasoby}}{{Cena}}|{{Pocet_qty}}|{{Cena_int}}|"
                                    "{{#Akce}}A{{/Akce}}{{^Akce}}N{{/Akce}}|{{Od}} {{Od_time}}|"
                                    "{{_index}}{{#_last}}.{{/_last}}\n{{/mtTiskZasoby}}"))
                  .toStdString(),
              QStringLiteral("1 234 567,89|2,5|1 234 568|A|05.03.2024 14:07|1\n"
                             "27,90|100|28|N| |2\n"
                             "0,00|0,125|0|N| |3.")
                  .toStdString());
    EXPECT_EQ(bodyOf(QStringLiteral("{{#mtTiskZasoby}}{{#Poznamka_set}}{{Poznamka_text}}"
                                    "{{/Poznamka_set}}{{/mtTiskZasoby}}")),
              QStringLiteral("První řádek<br/>druhý {x}"));
    // The rich text itself is put into the laid-out page, never its RTF source into the HTML.
    EXPECT_FALSE(bodyOf(QStringLiteral("{{#mtTiskZasoby}}{{Poznamka}}{{/mtTiskZasoby}}"))
                     .contains(QStringLiteral("rtf")));
}

TEST(ReportTemplate, DamagedTemplatesAreRefusedWithTheirLine) {
    QString error;
    EXPECT_FALSE(dastrel::parseTemplate(QStringLiteral("[page]\nsize = A4\n"), &error));
    EXPECT_EQ(error, QStringLiteral("šablona nemá část [body]"));
    EXPECT_FALSE(
        dastrel::parseTemplate(QStringLiteral("[page]\n\nmargins = 1 2\n[body]\n"), &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("řádek 3: okraje"))) << error.toStdString();
    EXPECT_FALSE(dastrel::parseTemplate(QStringLiteral("[body]\n{{#mtX}}\n"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("[body]")));
    EXPECT_FALSE(dastrel::parseTemplate(QStringLiteral("<html>\n[body]\n"), &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("řádek 1:")));

    QTemporaryDir dir;
    EXPECT_FALSE(dastrel::loadTemplate(dir.filePath(QStringLiteral("NENI.FRX")), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("nebyla nalezena")));
    QFile binary(dir.filePath(QStringLiteral("BIN.FRX")));
    ASSERT_TRUE(binary.open(QIODevice::WriteOnly));
    binary.write(QByteArray("[body]\n\0\xff\xfe", 10));
    binary.close();
    EXPECT_FALSE(dastrel::loadTemplate(binary.fileName(), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("UTF-8")));
}

// The runner's arguments: the two markers as separate arguments (paths with spaces) or as one
// string; the job from the system data file.
TEST(RunnerJob, ArgumentsAndTheInfoRow) {
    auto files = dastrel::dataFilesOf({QStringLiteral("?SYSTEMDATA=/tmp/a b/{1}?SYSTEMDATA"),
                                       QStringLiteral("?REPORTDATA=/tmp/a b/{2}?REPORTDATA")},
                                      nullptr);
    ASSERT_TRUE(files);
    EXPECT_EQ(files->first, QStringLiteral("/tmp/a b/{1}"));
    EXPECT_EQ(files->second, QStringLiteral("/tmp/a b/{2}"));
    files = dastrel::dataFilesOf(
        {QStringLiteral("--batch"),
         QStringLiteral("?SYSTEMDATA=/x/s?SYSTEMDATA ?REPORTDATA=/x/r?REPORTDATA")},
        nullptr);
    ASSERT_TRUE(files);
    EXPECT_EQ(files->second, QStringLiteral("/x/r"));
    QString error;
    EXPECT_FALSE(dastrel::dataFilesOf({QStringLiteral("?SYSTEMDATA=/x/s")}, &error));
    EXPECT_FALSE(error.isEmpty());

    QTemporaryDir dir;
    const auto writeInfo = [&dir](const QString& operation, const QString& exportFile) {
        ReportTable info(QStringLiteral("Info"));
        info.column(QStringLiteral("OperationType"), ColumnType::Text, 255)
            .column(QStringLiteral("ReportFileName"), ColumnType::Text, 255)
            .column(QStringLiteral("PageRangeFrom"), ColumnType::Integer)
            .column(QStringLiteral("PageRangeTo"), ColumnType::Integer)
            .column(QStringLiteral("PageCopies"), ColumnType::Integer)
            .column(QStringLiteral("ExportFileName"), ColumnType::Text, 255);
        const int r = info.appendRow();
        info.set(r, 0, operation);
        info.set(r, 1, QStringLiteral("/p/_NABK.FRX"));
        info.set(r, 2, 0);
        info.set(r, 3, 20000);
        info.set(r, 4, 2);
        info.set(r, 5, exportFile);
        output::DataSetWriter writer(QStringLiteral("SystemDataset"));
        writer.addTable(info);
        const QString path = dir.filePath(QStringLiteral("system"));
        EXPECT_TRUE(writer.saveToFile(path));
        return path;
    };
    auto job = dastrel::readJob(writeInfo(QStringLiteral("print"), QString()), QStringLiteral("/r"),
                                &error);
    ASSERT_TRUE(job) << error.toStdString();
    EXPECT_EQ(job->operation, QStringLiteral("PRINT"));
    EXPECT_EQ(job->pageFrom, 1);
    EXPECT_EQ(job->pageTo, 9999);
    EXPECT_EQ(job->copies, 2);
    EXPECT_FALSE(dastrel::readJob(writeInfo(QStringLiteral("PDFEXPORT"), QString()),
                                  QStringLiteral("/r"), &error));
    EXPECT_FALSE(dastrel::readJob(writeInfo(QStringLiteral("FORMAT"), QString()),
                                  QStringLiteral("/r"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("FORMAT")));
}
