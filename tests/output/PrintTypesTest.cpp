#include "output/PrintTypes.h"
#include "output/PrintWindowLogic.h"
#include "output/ReportCatalogue.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

using namespace orvento::output;

namespace {

// The numbers are written into report templates, profiles and every user report's row: they
// must stay what they have always been.
TEST(PrintTypes, StoredNumbersStayAsTheyAre) {
    EXPECT_EQ(print_type::Offers, 1);
    EXPECT_EQ(print_type::CatalogueWithGroups, 2);
    EXPECT_EQ(print_type::CatalogueWithoutGroups, 3);
    EXPECT_EQ(print_type::AddressBook, 4);
    EXPECT_EQ(print_type::Note, 5);
    EXPECT_EQ(print_type::CatalogueWithGroupsExport, 102);
    EXPECT_EQ(print_type::CatalogueWithoutGroupsExport, 103);
    EXPECT_EQ(report_kind::Offer, 1);
    EXPECT_EQ(report_kind::OfferList, 2);
    EXPECT_EQ(report_kind::Standard, 1);
}

// Each print type is in the table once, with its report kinds, built-in reports and the profile
// values of its defaults: printing types remember a printer, exporting ones a file.
TEST(PrintTypes, EveryTypeHasItsKindsReportsAndDefaults) {
    QSet<int> seen;
    for (const PrintTypeEntry& entry : kPrintTypes) {
        SCOPED_TRACE(entry.number);
        EXPECT_FALSE(seen.contains(entry.number));
        seen.insert(entry.number);
        EXPECT_EQ(printTypeEntry(entry.number), &entry);
        EXPECT_FALSE(reportKinds(entry.number).isEmpty());
        const std::vector<BuiltInReport> reports = builtInReports(entry.number);
        ASSERT_FALSE(reports.empty());
        for (const BuiltInReport& r : reports) {
            EXPECT_GE(r.kind, 1);
            EXPECT_LE(r.kind, reportKinds(entry.number).size()) << r.file.toStdString();
        }
        const PrintDefaults defaults = printDefaults(entry.number);
        EXPECT_NE(defaults.report, 0);
        EXPECT_EQ(defaults.printer != 0, !isExportType(entry.number));
        EXPECT_EQ(defaults.exportFile != 0, isExportType(entry.number));
    }
    EXPECT_EQ(reportKinds(print_type::Offers),
              QStringList({QStringLiteral("Nabídka"), QStringLiteral("Seznam nabídek")}));
    EXPECT_TRUE(isOfferReport(print_type::Offers, report_kind::Offer));
    EXPECT_FALSE(isOfferReport(print_type::Offers, report_kind::OfferList));
    EXPECT_FALSE(isOfferReport(print_type::AddressBook, report_kind::Standard));
    for (const int none : {0, 6, 101, 104})
        EXPECT_EQ(printTypeEntry(none), nullptr);
    EXPECT_TRUE(reportKinds(6).isEmpty());
    EXPECT_TRUE(builtInReports(6).empty());
    EXPECT_EQ(printDefaults(6).report, 0);
}

// Print types and report kinds are named in the code, never written as bare numbers.
TEST(PrintTypes, NoBareNumberInTheSources) {
    const QRegularExpression bare(QStringLiteral(
        R"(\b(m_printType|printType|reportKind|onlyKind)\s*(==|!=|=|<=|>=|<|>)\s*-?\d|)"
        R"((\.|->)kind\s*(==|!=)\s*\d|)"
        R"(\b(builtInReports|printDefaults|reportKinds|isExportType|printTypeEntry)\(\s*\d|)"
        R"(PrintWindowLogic\s+\w+\([^;]*\bui,\s*\d|storeUserReports\([^,;]*,\s*\d)"));
    for (const char* folder :
         {"output", "ui", "dastrel", "offers", "addressbook", "app", "tests/output", "tests/ui"}) {
        QDirIterator it(QStringLiteral(ORVENTO_SOURCE_DIR "/") + QString::fromLatin1(folder),
                        {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (path.endsWith(QStringLiteral("output/PrintTypes.h")) ||
                path.endsWith(QStringLiteral("tests/output/PrintTypesTest.cpp")))
                continue;
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const QString text = QString::fromUtf8(file.readAll());
            const QRegularExpressionMatch match = bare.match(text);
            EXPECT_FALSE(match.hasMatch())
                << path.toStdString() << ": " << match.captured(0).toStdString();
        }
    }
}

} // namespace
