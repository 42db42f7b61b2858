#include "output/DataSetWriter.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace orvento;

// A file of several blocks reads back as the whole text, a shared table is written as it stands
// when the file is written.
TEST(DataSetWriterStreamTest, BlocksMakeTheWholeFileAndSharedTablesAreNotCopied) {
    auto items = std::make_shared<output::ReportTable>(QStringLiteral("mtTiskZasoby"));
    items->column(QStringLiteral("Popis"), output::ColumnType::Text, 50)
        .column(QStringLiteral("Cena"), output::ColumnType::Double);
    for (int i = 0; i < 30000; ++i) {
        const int r = items->appendRow();
        items->set(r, 0, QStringLiteral("Položka č. %1 <&>").arg(i));
        items->set(r, 1, i * 1.5);
    }
    output::DataSetWriter writer(QStringLiteral("ReportDataset"));
    ASSERT_TRUE(writer.addTable(std::shared_ptr<const output::ReportTable>(items)));
    items->set(0, 0, QStringLiteral("změněno"));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("data.xml"));
    ASSERT_TRUE(writer.saveToFile(path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_GT(bytes.size(), 2 << 20);
    EXPECT_EQ(bytes, writer.text().toUtf8());
    EXPECT_TRUE(bytes.contains("<Popis>změněno</Popis>"));
    EXPECT_TRUE(bytes.contains("<Popis>Položka č. 29999 &lt;&amp;&gt;</Popis>"));
    EXPECT_TRUE(bytes.endsWith("</ReportDataset>\r\n"));
}
