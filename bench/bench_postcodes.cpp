// The whole Czech post-code list as the global template ships it (some 16,600 places): opens the
// list window offscreen and times what a person does there, the opening and the keys of a quick
// find over both sort columns. Each figure is printed beside its target.
#include "addressbook/PostCodeList.h"
#include "bench/support/BenchFigures.h"
#include "core/AppContext.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/SilentInteraction.h"
#include "services/ProfileSession.h"
#include "services/StandardStartupHooks.h"
#include "ui/ProgramNavigator.h"
#include "ui/addressbook/PostCodeListWindow.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

using namespace orvento;
using namespace orvento::bench;

namespace {

struct Program {
    core::SilentInteraction interaction;
    services::ProfileSession profile;
    services::StandardStartupHooks hooks;
    ui::ProgramNavigator navigator{context, nullptr};
    core::AppContext context{interaction, navigator, profile, hooks};
};

// The slowest of the keys typed into the list's quick find, the first one into the grid.
double slowestKey(ui::PostCodeListWindow& window, const QList<Qt::Key>& keys) {
    double worst = 0;
    QElapsedTimer timer;
    for (int k = 0; k < keys.size(); ++k) {
        timer.start();
        QTest::keyClick(k == 0 ? static_cast<QWidget*>(window.table()) : window.findBox(),
                        keys.at(k));
        QApplication::processEvents();
        worst = std::max(worst, elapsedMs(timer));
    }
    QTest::keyClick(window.findBox(), Qt::Key_Tab);
    return worst;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QTemporaryDir folder;
    core::ProgramState& state = core::programState();
    state.folders.setData(folder.path() + QLatin1Char('/'));
    const QString globalPath = state.folders.data + QStringLiteral("Global.MDB");
    if (!QFile::copy(QStringLiteral(ORVENTO_PROGRAM_DIR "/Res/0002.res"), globalPath) ||
        !state.db->global.open(globalPath)) {
        std::fprintf(stderr, "the global template could not be opened\n");
        return 1;
    }
    const int rows = state.db->global.scalar(QStringLiteral("SELECT COUNT(*) FROM Mista"))->toInt();
    std::printf("%d post codes in the global template\n", rows);

    Program program;
    QElapsedTimer timer;
    timer.start();
    ui::PostCodeListWindow window(program.context, addressbook::PostCodeList::Mode::Pick);
    window.show();
    QApplication::processEvents();
    report("open the post-code list", elapsedMs(timer), "ms", 100);
    if (window.table()->model()->rowCount() != rows)
        std::fprintf(stderr, "the list shows %d rows\n", window.table()->model()->rowCount());

    report("quick find by code, slowest key",
           slowestKey(window, {Qt::Key_6, Qt::Key_0, Qt::Key_2, Qt::Key_0}), "ms", 100);
    timer.start();
    window.sortByColumn(1);
    QApplication::processEvents();
    report("sort by place", elapsedMs(timer), "ms", 100);
    report("quick find by place, slowest key",
           slowestKey(window, {Qt::Key_Z, Qt::Key_A, Qt::Key_B, Qt::Key_R}), "ms", 100);
    window.reject();
    return 0;
}
