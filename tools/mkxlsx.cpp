// Writes the spreadsheet templates of the built-in price-list exports into a folder.
#include "PriceListWorkbooks.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: orvento_mkxlsx <folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    for (const QString& name : priceListWorkbookNames()) {
        if (!writePriceListWorkbook(name, QDir(folder).filePath(name + QStringLiteral(".xlsx")))) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(name));
            return 1;
        }
    }
    return 0;
}
