// The address book at the size of a large customer base: 10,000 firms with 30,000 contacts. Opens
// the address book window offscreen and times what a person does: the opening, the keys of a
// quick find, and a firm's card with its contacts. Each figure is printed beside its target.
#include "addressbook/FirmCard.h"
#include "bench/support/BenchFigures.h"
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
#include <QRandomGenerator>
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

bool generateFirms(core::Database& db, int firms, int contactsEach) {
    const QStringList first = {QStringLiteral("Stavby"),      QStringLiteral("Elektro"),
                               QStringLiteral("Čistírna"),    QStringLiteral("Autoservis"),
                               QStringLiteral("Pekárna"),     QStringLiteral("Chemie"),
                               QStringLiteral("Truhlářství"), QStringLiteral("Kovo"),
                               QStringLiteral("Řeznictví"),   QStringLiteral("Zahradnictví")};
    const QStringList second = {QStringLiteral("Novák"),  QStringLiteral("Dvořák"),
                                QStringLiteral("Černý"),  QStringLiteral("Procházka"),
                                QStringLiteral("Kučera"), QStringLiteral("Veselý"),
                                QStringLiteral("Horák"),  QStringLiteral("Šimek")};
    const QStringList places = {QStringLiteral("Jihlava"), QStringLiteral("Aš"),
                                QStringLiteral("Beroun"), QStringLiteral("Blansko"),
                                QStringLiteral("Louny")};
    QRandomGenerator random(7);
    core::Transaction unit(db);
    core::Statement firm(db, QStringLiteral("INSERT INTO Adresar (Nazev, Ulice, Psc, Misto, ICO, "
                                            "Telefon, Email) VALUES (:Nazev, :Ulice, :Psc, "
                                            ":Misto, :ICO, :Telefon, :Email)"));
    core::Statement contact(db, QStringLiteral("INSERT INTO Kontakty (CisloAdr, Prijmeni, Jmeno, "
                                               "Zobrazit) VALUES (:CisloAdr, :Prijmeni, :Jmeno, "
                                               ":Zobrazit)"));
    for (int i = 0; i < firms; ++i) {
        const QString name = first.at(random.bounded(first.size())) + QLatin1Char(' ') +
                             second.at(random.bounded(second.size())) +
                             QStringLiteral(" %1 s.r.o.").arg(random.bounded(100000));
        if (!firm.exec({{QStringLiteral("Nazev"), name},
                        {QStringLiteral("Ulice"), QStringLiteral("Hlavní %1").arg(i % 300)},
                        {QStringLiteral("Psc"), QStringLiteral("%1").arg(10000 + i % 89999)},
                        {QStringLiteral("Misto"), places.at(i % places.size())},
                        {QStringLiteral("ICO"), QString::number(10000000 + i * 7)},
                        {QStringLiteral("Telefon"), QStringLiteral("600 %1").arg(i)},
                        {QStringLiteral("Email"), QStringLiteral("info@f%1.cz").arg(i)}}))
            return false;
        const qint64 id = firm.newRowId();
        for (int c = 0; c < contactsEach; ++c)
            if (!contact.exec({{QStringLiteral("CisloAdr"), id},
                               {QStringLiteral("Prijmeni"), second.at((i + c) % second.size())},
                               {QStringLiteral("Jmeno"), QStringLiteral("Jan")},
                               {QStringLiteral("Zobrazit"), c == 0}}))
                return false;
    }
    return unit.commit();
}

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
