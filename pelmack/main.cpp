// Pelmack: checks, repairs and compacts the databases of Orvento's data folder. Orvento starts
// it from the agenda list with the data folder as its argument.
#include "MaintenanceWindow.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pelmack"));
    QApplication::setApplicationDisplayName(QStringLiteral("Správa databází"));
    QTranslator qtbase;
    if (qtbase.load(QLocale(QLocale::Czech, QLocale::CzechRepublic), QStringLiteral("qtbase"),
                    QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtbase);

    QString folder = QApplication::arguments().value(1);
    if (folder.isEmpty())
        folder =
            QFileDialog::getExistingDirectory(nullptr, QStringLiteral("Vyberte datovou složku"));
    if (folder.isEmpty())
        return 1;
    if (!QFileInfo(folder).isDir()) {
        QMessageBox::warning(nullptr, QStringLiteral("Správa databází"),
                             QStringLiteral("Složka %1 neexistuje!").arg(folder));
        return 1;
    }
    orvento::pelmack::MaintenanceWindow window(folder);
    window.show();
    return QApplication::exec();
}
