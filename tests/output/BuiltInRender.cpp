#include "BuiltInRender.h"

#include "dastrel/ReportRenderer.h"
#include "dastrel/ReportTemplate.h"
#include "output/DataSetWriter.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace orvento::testsupport {

QString builtInTemplates() {
    return QStringLiteral(ORVENTO_SOURCE_DIR "/resources/Res/FRMRES/");
}

output::DataSet roundTrip(const std::vector<const output::ReportTable*>& tables) {
    output::DataSetWriter writer(QStringLiteral("ReportDataset"));
    for (const output::ReportTable* t : tables)
        writer.addTable(*t);
    QString error;
    auto set = output::readDataSetText(writer.text().toUtf8(), &error);
    EXPECT_TRUE(set) << error.toStdString();
    return set ? *set : output::DataSet{};
}

QString renderBuiltIn(const QString& name, const output::DataSet& data, const QTemporaryDir& dir) {
    QString error;
    auto report = dastrel::loadTemplate(builtInTemplates() + name + QStringLiteral(".FRX"), &error);
    EXPECT_TRUE(report) << error.toStdString();
    if (!report)
        return QString();
    dastrel::ReportRenderer renderer(*report, data);
    const QString pdf = dir.filePath(name + QStringLiteral(".pdf"));
    EXPECT_TRUE(renderer.exportPdf(pdf, &error)) << error.toStdString();
    return pdf;
}

} // namespace orvento::testsupport
