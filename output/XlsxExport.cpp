#include "output/XlsxExport.h"

#include "output/PriceListTables.h"
#include "output/XlsxTemplateFill.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <filesystem>

namespace orvento::output {

std::function<QString(const QString&, const QString&)>
priceListExporter(std::shared_ptr<const PriceListTables> tables) {
    if (!tables)
        return {};
    return [tables](const QString& templatePath, const QString& exportFile) {
        return fillXlsxTemplate(templatePath, exportFile, *tables);
    };
}

std::optional<QString> temporaryBeside(const QString& file) {
    const QFileInfo info(file);
    QTemporaryFile temporary(info.absolutePath() + QStringLiteral("/~") + info.completeBaseName() +
                             QStringLiteral("-XXXXXX.tmp"));
    temporary.setAutoRemove(false);
    if (!temporary.open())
        return std::nullopt;
    const QString name = temporary.fileName();
    temporary.close();
    return name;
}

bool replaceFile(const QString& from, const QString& to) {
    std::error_code error;
    std::filesystem::rename(QFile::encodeName(from).toStdString(),
                            QFile::encodeName(to).toStdString(), error);
    return !error;
}

} // namespace orvento::output
