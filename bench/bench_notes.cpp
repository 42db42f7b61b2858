// The desktop notes with 500 user notes (400 of them settled, about 20 KB of rich text each)
// and ten notes that came with the program: fills the list on the desktop panel offscreen, with
// the settled notes hidden and shown, and times how long a selected note takes to show its text.
// Each figure is printed beside its target.
#include "bench/support/BenchFigures.h"
#include "bench/support/BenchProgram.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/RtfCodec.h"
#include "notes/NoteList.h"
#include "ui/notes/NotesPanel.h"

#include <QApplication>
#include <QFile>
#include <QListView>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextEdit>

#include <cstdio>

using namespace orvento;
using namespace orvento::bench;

namespace {

constexpr int kUserNotes = 500;
constexpr int kSettledNotes = 400;
constexpr int kBuiltInNotes = 10;
constexpr int kTextBytes = 20 * 1024;
constexpr int kTextRounds = 15;

QString noteText() {
    const QString paragraph = QStringLiteral(
        "Zákazník požaduje doplnit nabídku o montáž a dopravu; ceny ověřit u dodavatele před "
        "odesláním. Příliš žluťoučký kůň úpěl ďábelské ódy. ");
    QString html;
    while (html.size() < kTextBytes / 2)
        html += QStringLiteral("<p><b>Úkol:</b> <i>%1</i>%1</p>").arg(paragraph);
    QTextDocument document;
    document.setHtml(html);
    return core::rtf::write(document);
}

bool fillNotes(core::Database& global, const QString& folder) {
    const QString text = noteText();
    std::printf("one note's text: %lld bytes of RTF\n", static_cast<long long>(text.size()));
    core::Transaction unit(global);
    for (int i = 0; i < kUserNotes; ++i) {
        if (!global.execute(
                QStringLiteral("INSERT INTO Poznamky (Nazev, Detail, Firma, ZobrazOst, VytvorID, "
                               "Vyrizeno) VALUES (:N, :D, '', 1, 1, :V)"),
                {{QStringLiteral("N"), QStringLiteral("Poznámka číslo %1").arg(i + 1)},
                 {QStringLiteral("D"), text},
                 {QStringLiteral("V"), i < kSettledNotes}}))
            return false;
    }
    if (!unit.commit())
        return false;
    QFile index(folder + QStringLiteral("index.rpo"));
    if (!index.open(QIODevice::WriteOnly))
        return false;
    index.write("[RPO]\r\n");
    for (int n = 1; n <= kBuiltInNotes; ++n) {
        const QString name = QStringLiteral("pozn%1.rpo").arg(n);
        index.write(QStringLiteral("FILE%1=%2\r\n").arg(n).arg(name).toUtf8());
        QFile note(folder + name);
        if (!note.open(QIODevice::WriteOnly))
            return false;
        note.write(QStringLiteral("#VAL1=Vestavěná poznámka %1\r\n").arg(n).toUtf8());
        note.write(text.toUtf8());
    }
    return true;
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
        !state.db->global.open(globalPath) || !fillNotes(state.db->global, state.folders.data)) {
        std::fprintf(stderr, "the notes could not be prepared\n");
        return 1;
    }
    state.user.uzivId = 1;

    Program program;
    notes::NoteList notes(program.context);
    ui::NotesPanel panel(notes);
    panel.resize(1000, 700);
    panel.show();
    QApplication::processEvents();

    const double hidden = medianMilliseconds(5, [&] {
        notes.load(std::nullopt);
        QApplication::processEvents();
    });
    std::printf("%d rows with the settled notes hidden\n", notes.rowCount());
    report("fill the list, settled notes hidden", hidden, 100);
    notes.toggleSettled();
    const double shown = medianMilliseconds(5, [&] {
        notes.refresh();
        QApplication::processEvents();
    });
    std::printf("%d rows with the settled notes shown\n", notes.rowCount());
    report("fill the list, settled notes shown", shown, 100);

    // Each round selects a user note not shown before, so that its text is read from the table.
    int next = kBuiltInNotes;
    const double text = medianMilliseconds(kTextRounds, [&] {
        panel.listView()->setCurrentIndex(panel.listView()->model()->index(next++, 0));
        QApplication::processEvents();
    });
    if (panel.textView()->toPlainText().isEmpty())
        std::fprintf(stderr, "the selected note shows no text\n");
    report("show the selected note's text", text, 30);
    return 0;
}
