// The address book at the size of a large customer base: 10,000 firms with 30,000 contacts. Opens
// the address book window offscreen and times what a person does: the opening, the keys of a
// quick find, and a firm's card with its contacts. Each figure is printed beside its target.
#include "addressbook/FirmCard.h"
#include "bench/support/BenchFigures.h"
#include "bench/support/BenchFirms.h"
#include "bench/support/QuietInteraction.h"
#include "core/AppContext.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/SilentInteraction.h"
#include "core/TemplateDatabases.h"
#include "services/ProfileSession.h"
#include "services/StandardStartupHooks.h"
#include "ui/ProgramNavigator.h"
#include "ui/addressbook/AddressBookWindow.h"
#include "ui/addressbook/FirmCardDialog.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

using namespace orvento;
using namespace orvento::bench;

namespace {

// The program's context as the application wires it.
struct Program {
    QuietInteraction interaction;
    services::ProfileSession profile;
    services::StandardStartupHooks hooks;
    ui::ProgramNavigator navigator{context, nullptr};
    core::AppContext context{interaction, navigator, profile, hooks};
};

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int firms = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 10000;

    QTemporaryDir folder;
    core::ProgramState& state = core::programState();
    state.folders.setData(folder.path() + QLatin1Char('/'));
    QDir().mkpath(state.folders.lock);
    state.agenda = QStringLiteral("VELKY");
    const QString path = state.folders.data + QStringLiteral("VELKY.MDB");
    const QString globalPath = state.folders.data + QStringLiteral("Global.MDB");
    QString error;
    if (!core::buildDatabaseFile(path, core::DatabaseKind::Agenda, false, &error) ||
        !core::buildDatabaseFile(globalPath, core::DatabaseKind::Global, false, &error) ||
        !state.db->agenda.open(path) || !state.db->global.open(globalPath)) {
        std::fprintf(stderr, "agenda: %s\n", qPrintable(error));
        return 1;
    }
    Program program;
    QElapsedTimer timer;
    timer.start();
    if (!generateFirms(state.db->agenda, firms, 3)) {
        std::fprintf(stderr, "generating firms failed\n");
        return 1;
    }
    std::printf("%d firms with %d contacts generated in %.0f ms\n", firms, firms * 3,
                elapsedMs(timer));

    timer.restart();
    ui::AddressBookWindow window(program.context, addressbook::AddressBookMode::Browse);
    window.show();
    QApplication::processEvents();
    report("open the address book", elapsedMs(timer), "ms", 200);

    QTableView* grid = window.grid();
    double worst = 0;
    const QList<Qt::Key> keys = {Qt::Key_P, Qt::Key_E, Qt::Key_K, Qt::Key_A};
    for (int k = 0; k < keys.size(); ++k) {
        timer.restart();
        QTest::keyClick(k == 0 ? static_cast<QWidget*>(grid) : window.findBox(), keys.at(k));
        QApplication::processEvents();
        worst = std::max(worst, elapsedMs(timer));
    }
    report("quick find, slowest key", worst, "ms", 20);
    QTest::keyClick(window.findBox(), Qt::Key_Tab);

    const qint64 id = window.logic().currentFirmId();
    timer.restart();
    addressbook::FirmCard card(state.db->agenda, state.db->global, program.interaction);
    const bool opened = card.open(addressbook::FirmCardMode::Edit, id);
    ui::FirmCardDialog dialog(program.context, card);
    dialog.show();
    QApplication::processEvents();
    report("open a firm card", elapsedMs(timer), "ms", 50);
    if (!opened || card.contacts().size() != 3)
        std::fprintf(stderr, "the card did not show the firm's contacts\n");
    dialog.close();
    window.close();
    return 0;
}
