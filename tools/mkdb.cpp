// Writes the template databases the program copies on first start: an empty agenda, the global
// database and the demo agenda.
#include "catalogue/DemoCatalogue.h"
#include "core/Schema.h"
#include "core/TemplateDatabases.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

using namespace orvento::core;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        QTextStream(stderr) << "usage: orvento_mkdb <Res folder>\n";
        return 2;
    }
    const QString folder = args.at(1);
    QDir().mkpath(folder);
    struct Target {
        const char* name;
        DatabaseKind kind;
        bool demo;
    };
    for (const Target& t : {Target{"0001.res", DatabaseKind::Agenda, false},
                            Target{"0002.res", DatabaseKind::Global, false},
                            Target{"0003.res", DatabaseKind::Agenda, true}}) {
        QString error;
        if (!buildDatabaseFile(QDir(folder).filePath(QString::fromLatin1(t.name)), t.kind, t.demo,
                               &error,
                               t.demo ? orvento::catalogue::fillDemoCatalogue : DatabaseFiller())) {
            QTextStream(stderr) << "orvento_mkdb: " << t.name << ": " << error << "\n";
            return 1;
        }
    }
    return 0;
}
