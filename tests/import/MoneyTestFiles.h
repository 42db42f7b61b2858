#pragma once

#include <QFile>
#include <QStringEncoder>
#include <QVariant>

#include <gtest/gtest.h>
#include <shapefil.h>

#include <vector>

namespace orvento::testsupport {

struct Field {
    const char* name; // as Money names it: up to ten characters, blanks and dots too
    DBFFieldType type;
    int width;
    int decimals;
};

// Writes a dBase III table with shapelib (which takes Money's field names as they are) in code
// page 1250 and gives it Money's ".dat" name. A null value is left empty.
inline void writeTable(const QString& datPath, const std::vector<Field>& fields,
                       const std::vector<QVariantList>& records) {
    const QString dbf = datPath.chopped(4) + QStringLiteral(".dbf");
    DBFHandle handle = DBFCreateEx(QFile::encodeName(dbf).constData(), "LDID/200");
    ASSERT_NE(handle, nullptr);
    for (const Field& f : fields)
        ASSERT_GE(DBFAddField(handle, f.name, f.type, f.width, f.decimals), 0) << f.name;
    QStringEncoder encoder("windows-1250");
    for (int r = 0; r < static_cast<int>(records.size()); ++r) {
        const QVariantList& record = records[static_cast<std::size_t>(r)];
        for (int c = 0; c < static_cast<int>(fields.size()); ++c) {
            const QVariant& v = record.value(c);
            if (v.isNull())
                DBFWriteNULLAttribute(handle, r, c);
            else if (fields[static_cast<std::size_t>(c)].type == FTString)
                DBFWriteStringAttribute(handle, r, c,
                                        QByteArray(encoder(v.toString())).constData());
            else
                DBFWriteDoubleAttribute(handle, r, c, v.toDouble());
        }
    }
    DBFClose(handle);
    QFile::remove(datPath);
    ASSERT_TRUE(QFile::rename(dbf, datPath));
}

// The fields the import reads from the document list and the items, in Money's spelling.
inline const std::vector<Field> kMoneyDocumentFields{
    {"Druh dokl.", FTString, 1, 0},  {"Vyrizeno", FTDouble, 10, 0},
    {"Doklad", FTString, 12, 0},     {"Cislo", FTDouble, 10, 0},
    {"Popis", FTString, 50, 0},      {"PlatPodm", FTString, 20, 0},
    {"Doprava", FTString, 20, 0},    {"Vystaveno", FTDouble, 10, 0},
    {"Vyridit do", FTDouble, 10, 0}, {"O_NazevOb", FTString, 50, 0},
    {"O_UliceOb", FTString, 30, 0},  {"O_PscOb", FTString, 10, 0},
    {"O_MestoOb", FTString, 40, 0},  {"A_ICO", FTString, 10, 0},
    {"A_DIC", FTString, 20, 0},      {"TextPredPo", FTString, 100, 0},
    {"TextZaPol", FTString, 100, 0}, {"Poznamka", FTString, 100, 0},
    {"A_Jmeno", FTString, 40, 0},    {"SazbaDPH2", FTDouble, 5, 1},
    {"SazbaDPH1", FTDouble, 5, 1},   {"Celkem", FTDouble, 12, 2},
    {"Zaklad0", FTDouble, 12, 2},    {"Zaklad5", FTDouble, 12, 2},
    {"Zaklad22", FTDouble, 12, 2}};
inline const std::vector<Field> kMoneyItemFields{
    {"Cislo", FTDouble, 10, 0},     {"MasterCisl", FTDouble, 10, 0},
    {"TypPolozky", FTString, 1, 0}, {"Cislo Zas.", FTDouble, 10, 0},
    {"Sklad", FTString, 5, 0},      {"Popis", FTString, 50, 0},
    {"Katalog", FTString, 20, 0},   {"BarCode", FTString, 20, 0},
    {"Poznamka", FTString, 50, 0},  {"PLU", FTString, 6, 0},
    {"Zkratka", FTString, 20, 0},   {"Sazba DPH", FTDouble, 5, 1},
    {"Cena s DPH", FTDouble, 1, 0}, {"Poradi", FTDouble, 5, 0},
    {"SlevaZakl", FTDouble, 12, 4}, {"Sleva", FTDouble, 6, 2},
    {"PocetMJ", FTDouble, 12, 4},   {"MJ", FTString, 10, 0}};

} // namespace orvento::testsupport
