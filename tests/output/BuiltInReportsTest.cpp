#include "core/AgendaSettings.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/SilentInteraction.h"
#include "dastrel/ReportRenderer.h"
#include "output/DataSetReader.h"
#include "output/DataSetWriter.h"
#include "output/ReportData.h"
#include "output/ReportSession.h"
#include "output/ReportTables.h"
#include "support/OpenAgenda.h"
#include "support/ScriptedInteraction.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace orvento;
using testsupport::ScriptedInteraction;

namespace {

const QString kTemplates = QStringLiteral(ORVENTO_SOURCE_DIR "/resources/Res/FRMRES/");

QByteArray pngOf(const QColor& colour, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

// The PDF's text as pdftotext reads it; empty when the tool is missing.
QString pdfText(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(30000))
        return QString();
    // Ligatures ("ﬁ") back to their letters.
    return QString::fromUtf8(p.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
}

int pdfImageCount(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
    p.waitForFinished(30000);
    return static_cast<int>(p.readAllStandardOutput().count('\n')) - 2; // two heading lines
}

bool popplerMissing() {
    return QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() ||
           QStandardPaths::findExecutable(QStringLiteral("pdfimages")).isEmpty();
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

// Renders a built-in template with the data to a PDF in `dir`; its path.
QString render(const QString& name, const output::DataSet& data, const QTemporaryDir& dir) {
    QString error;
    auto report = dastrel::loadTemplate(kTemplates + name + QStringLiteral(".FRX"), &error);
    EXPECT_TRUE(report) << error.toStdString();
    if (!report)
        return QString();
    dastrel::ReportRenderer renderer(*report, data);
    const QString pdf = dir.filePath(name + QStringLiteral(".pdf"));
    EXPECT_TRUE(renderer.exportPdf(pdf, &error)) << error.toStdString();
    return pdf;
}

class BuiltInReportsTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (popplerMissing())
            GTEST_SKIP() << "pdftotext/pdfimages (poppler-utils) are not installed";
        ASSERT_TRUE(
            testsupport::openTestAgenda(env, QStringLiteral("0003.res"), QStringLiteral("DEMO")));
        core::SilentInteraction silent;
        ASSERT_TRUE(core::loadAgendaSettings(db(), env.dataFolder(), QStringLiteral("DEMO"),
                                             state().settings, silent));
        state().settings.logo = pngOf(QColor(31, 58, 95), QSize(120, 40));
        state().user.jmeno = QStringLiteral("Jana Nováková");
        QSqlQuery first = db().select(QStringLiteral("SELECT MIN(ID) FROM Nabidky"));
        ASSERT_TRUE(first.next());
        m_offer = first.value(0).toLongLong();
        first.finish();
        // A note under the first priced item, and a picture for its catalogue item.
        QSqlQuery item = db().select(
            QStringLiteral("SELECT ID, CisloKarty FROM NabPolozky WHERE CisloNab = :N AND "
                           "Nadpisova = 0 AND Textova = 0 ORDER BY Poradi LIMIT 1"),
            {{QStringLiteral("N"), m_offer}});
        ASSERT_TRUE(item.next());
        const qint64 itemId = item.value(0).toLongLong();
        qint64 card = item.value(1).toLongLong();
        item.finish();
        if (card == 0) {
            // A free item: tie it to a catalogue item so that it can have a picture.
            card =
                db().scalar(QStringLiteral("SELECT MIN(ID) FROM Zasoby")).value_or(0).toLongLong();
            ASSERT_TRUE(
                db().execute(QStringLiteral("UPDATE NabPolozky SET CisloKarty = :K WHERE ID = :ID"),
                             {{QStringLiteral("K"), card}, {QStringLiteral("ID"), itemId}}));
        }
        ASSERT_TRUE(
            db().execute(QStringLiteral("UPDATE NabPolozky SET Poznamka = :P WHERE ID = :ID"),
                         {{QStringLiteral("P"), QStringLiteral("Montáž včetně kotvení & <revize>")},
                          {QStringLiteral("ID"), itemId}}));
        ASSERT_NE(card, 0);
        QDir().mkpath(state().settings.slozkaObrazku);
        QFile picture(state().settings.slozkaObrazku + QStringLiteral("vyrobek.png"));
        ASSERT_TRUE(picture.open(QIODevice::WriteOnly));
        picture.write(pngOf(Qt::darkGreen, QSize(80, 60)));
        picture.close();
        ASSERT_TRUE(db().execute(
            QStringLiteral("UPDATE Zasoby SET Obrazek = :O WHERE ID = :ID"),
            {{QStringLiteral("O"), QStringLiteral("vyrobek.png")}, {QStringLiteral("ID"), card}}));
    }

    static core::ProgramState& state() { return core::programState(); }
    static core::Database& db() { return state().db->agenda; }
    output::ReportContext context() { return {state().settings, state().user, db(), nullptr}; }

    testsupport::TestEnvironment env;
    qint64 m_offer = 0;
};

} // namespace

// Every offer layout renders the demo offer with its number, parties, items and totals in Czech
// writing; the layouts differ as their descriptions say.
TEST_F(BuiltInReportsTest, OfferLayoutsShowWhatTheirDescriptionsSay) {
    const auto report = output::offerReport(context(), m_offer);
    ASSERT_TRUE(report);
    const output::DataSet data = roundTrip({&report->header, &report->items, &report->identifiers});
    const QString doklad = report->header.value(0, QStringLiteral("Doklad")).toString();
    const QString total =
        dastrel::czechAmount(report->header.value(0, QStringLiteral("Celkem")).toDouble());
    ASSERT_TRUE(total.contains(QLatin1Char(',')));
    QTemporaryDir dir;
    struct Layout {
        const char* file;
        bool discount, notes, pictures, prices;
    };
    for (const Layout& l :
         {Layout{"_NABKSP", true, true, false, true}, Layout{"_NABKS", true, false, false, true},
          Layout{"_NABKSPO", true, true, true, true}, Layout{"_NABKP", false, true, false, true},
          Layout{"_NABK", false, false, false, true}, Layout{"_NABKPC", false, true, false, false},
          Layout{"_NABKC", false, false, false, false}}) {
        SCOPED_TRACE(l.file);
        const QString pdf = render(QString::fromLatin1(l.file), data, dir);
        const QString text = pdfText(pdf);
        if (qEnvironmentVariableIsSet("KEEP_PDF"))
            QFile::copy(pdf, QStringLiteral("/tmp/wt16gen/") + QString::fromLatin1(l.file) +
                                 QStringLiteral(".pdf"));
        EXPECT_TRUE(text.contains(doklad));
        EXPECT_TRUE(text.contains(QStringLiteral("DEMO - fiktivní firma")));
        EXPECT_TRUE(text.contains(QStringLiteral("Stavby Novák s.r.o.")));
        EXPECT_TRUE(text.contains(QStringLiteral("Materiál a práce")));
        EXPECT_TRUE(text.contains(QStringLiteral("Ceny platí při objednání celého rozsahu.")));
        EXPECT_TRUE(text.contains(total)) << total.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("Strana 1 z 1")));
        EXPECT_EQ(text.contains(QStringLiteral("Sleva")), l.discount);
        EXPECT_EQ(text.contains(QStringLiteral("Cena/MJ")), l.prices);
        EXPECT_EQ(text.contains(QStringLiteral("Montáž včetně kotvení &")), l.notes);
        EXPECT_EQ(text.contains(QStringLiteral("<revize>")), l.notes);
        // The logo, and in the layout with pictures the item's picture too.
        EXPECT_EQ(pdfImageCount(pdf), l.pictures ? 2 : 1);
    }
}

TEST_F(BuiltInReportsTest, OfferListAndNote) {
    std::vector<qint64> ids;
    QSqlQuery q = db().select(QStringLiteral("SELECT ID FROM Nabidky ORDER BY Doklad"));
    while (q.next())
        ids.push_back(q.value(0).toLongLong());
    ASSERT_GE(ids.size(), 3u);
    const auto list = output::offerListReport(context(), ids);
    ASSERT_TRUE(list);
    QTemporaryDir dir;
    const QString text =
        pdfText(render(QStringLiteral("_NABSZ"), roundTrip({&list->header, &list->offers}), dir));
    EXPECT_TRUE(text.contains(QStringLiteral("Seznam nabídek")));
    for (int r = 0; r < list->offers.rowCount(); ++r)
        EXPECT_TRUE(text.contains(list->offers.value(r, QStringLiteral("Doklad")).toString()));
    EXPECT_TRUE(text.contains(
        dastrel::czechAmount(list->header.value(0, QStringLiteral("CelkemSDPH")).toDouble())));

    // A 10,000-character note flows over several pages.
    output::ReportTable note = output::noteTable();
    note.set(note.appendRow(), QStringLiteral("Nazev"), QStringLiteral("Úkoly na příští týden"));
    QString detail;
    while (detail.size() < 10000)
        detail += QStringLiteral("Zavolat odběrateli a ověřit termín dodání žluťoučkého koně. ");
    note.set(0, QStringLiteral("Detail"), detail.left(10000));
    const QString noteText = pdfText(render(QStringLiteral("_POZN"), roundTrip({&note}), dir));
    EXPECT_TRUE(noteText.contains(QStringLiteral("Úkoly na příští týden")));
    EXPECT_TRUE(noteText.contains(QStringLiteral("Strana 2 z")));
}

// A long offer: the table's header repeats on every page and no row is cut by a page break, also
// rows with long notes.
TEST_F(BuiltInReportsTest, PageBreaksNeverCutARow) {
    output::ReportTable header = output::offerHeaderTable();
    header.set(header.appendRow(), QStringLiteral("Doklad"), QStringLiteral("NB99999"));
    output::ReportTable items = output::offerItemsTable();
    for (int i = 1; i <= 160; ++i) {
        const int r = items.appendRow();
        items.set(r, QStringLiteral("Popis"), QStringLiteral("Položka %1").arg(i));
        items.set(r, QStringLiteral("Poradi"), i);
        items.set(r, QStringLiteral("PocetMJ"), 1.5);
        items.set(r, QStringLiteral("PCBDPHPOL"), 1234.5 * i);
        if (i % 7 == 0)
            items.set(r, QStringLiteral("Poznamka"),
                      QStringLiteral("Dlouhá poznámka k položce, která zabere několik řádků. ")
                          .repeated(1 + i % 5));
    }
    const output::DataSet data = roundTrip({&header, &items});
    QString error;
    auto report = dastrel::loadTemplate(kTemplates + QStringLiteral("_NABKSP.FRX"), &error);
    ASSERT_TRUE(report) << error.toStdString();
    dastrel::ReportRenderer renderer(*report, data);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("dlouha.pdf"));
    ASSERT_TRUE(renderer.exportPdf(pdf, &error));
    const auto rows = renderer.rowPages();
    ASSERT_GT(rows.size(), 160u);
    int pages = 0;
    for (const auto& [first, last] : rows) {
        EXPECT_EQ(first, last);
        pages = std::max(pages, last);
    }
    ASSERT_GT(pages, 2);
    const QString text = pdfText(pdf);
    EXPECT_EQ(text.count(QStringLiteral("Množství")), pages);
    EXPECT_TRUE(text.contains(QStringLiteral("Strana %1 z %1").arg(pages)));
    EXPECT_TRUE(text.contains(QStringLiteral("185 175,00"))); // 1234.5 × 150 in Czech writing
}

// The runner as the program starts it: its own process, the two files as separate arguments in
// a folder whose name has spaces and shell characters; a damaged template is refused without a
// crash and no PDF is left behind.
TEST_F(BuiltInReportsTest, RunnerExportsAPdfAndRefusesADamagedTemplate) {
    QTemporaryDir tmp;
    const QString odd = tmp.filePath(QStringLiteral("dočasné $(touch x) 'a;b'"));
    ASSERT_TRUE(QDir().mkpath(odd));
    const QByteArray oldTmp = qgetenv("TMPDIR");
    qputenv("TMPDIR", odd.toUtf8());
    QDir().mkpath(state().folders.print);
    QFile::copy(kTemplates + QStringLiteral("_NABKSP.FRX"),
                state().folders.print + QStringLiteral("_NABKSP.FRX"));
    QFile damaged(state().folders.print + QStringLiteral("POKAZENA.FRX"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("[page]\nsize = A9\n[body]\n{{#mtHlavickaNab}}\n");
    damaged.close();

    ScriptedInteraction ui;
    {
        output::ReportSession session(context(), ui);
        session.setRunnerProgram(QStringLiteral(ORVENTO_PROGRAM_DIR "/Dastrel"));
        output::ReportChoice choice;
        choice.file = QStringLiteral("_NABKSP");
        output::ReportSubject subject;
        subject.offerId = m_offer;
        const QString pdf = odd + QStringLiteral("/nabidka.pdf");
        ASSERT_EQ(session.prepareReportData(choice, subject, QStringLiteral("PDFEXPORT"), pdf), 0);
        EXPECT_TRUE(session.workFolder().startsWith(odd));
        EXPECT_TRUE(session.startReportRunner());
        EXPECT_TRUE(pdfText(pdf).contains(QStringLiteral("DEMO - fiktivní firma")));
        EXPECT_FALSE(QFile::exists(odd + QStringLiteral("/x")));

        QFile::remove(pdf);
        choice.file = QStringLiteral("POKAZENA");
        ASSERT_EQ(session.prepareReportData(choice, subject, QStringLiteral("PDFEXPORT"), pdf), 0);
        EXPECT_TRUE(session.startReportRunner());
        EXPECT_FALSE(QFile::exists(pdf));
    }
    EXPECT_TRUE(ui.texts(ScriptedInteraction::Kind::Error).isEmpty());
    qputenv("TMPDIR", oldTmp);
}

// The address book's reports, from rows as the address book hands them over.
TEST_F(BuiltInReportsTest, AddressReports) {
    output::ReportTable firms = output::addressListTable();
    for (int i = 1; i <= 40; ++i) {
        const int r = firms.appendRow();
        firms.set(r, QStringLiteral("Nazev"), QStringLiteral("Firma č. %1 & syn \"Žár\"").arg(i));
        firms.set(r, QStringLiteral("Misto"), QStringLiteral("Ústí nad Labem"));
        firms.set(r, QStringLiteral("ICO"), QStringLiteral("%1").arg(10000000 + i));
        firms.set(r, QStringLiteral("Poznamka"),
                  i % 3 == 0 ? QStringLiteral("Platí předem.") : QString());
        firms.set(r, QStringLiteral("ID"), i);
    }
    const output::DataSet data = roundTrip({&firms});
    QTemporaryDir dir;
    const QString list = pdfText(render(QStringLiteral("_ADRSZ"), data, dir));
    EXPECT_TRUE(list.contains(QStringLiteral("Firma č. 40 & syn \"Žár\"")));
    EXPECT_TRUE(list.contains(QStringLiteral("10000017")));
    const QString cards = pdfText(render(QStringLiteral("_ADRSZKT"), data, dir));
    EXPECT_TRUE(cards.contains(QStringLiteral("Firma č. 1 & syn \"Žár\"")));
    EXPECT_TRUE(cards.contains(QStringLiteral("Platí předem.")));
    EXPECT_TRUE(cards.contains(QStringLiteral("Strana 2 z")));
}

// Printing: a printer that is not installed is told by the runner, which ends without a crash;
// a page range paints only its pages.
TEST_F(BuiltInReportsTest, PrinterAndPageRange) {
    QDir().mkpath(state().folders.print);
    QFile::copy(kTemplates + QStringLiteral("_POZN.FRX"),
                state().folders.print + QStringLiteral("_POZN.FRX"));
    ScriptedInteraction ui;
    output::ReportSession session(context(), ui);
    output::ReportChoice choice;
    choice.printType = 5;
    choice.file = QStringLiteral("_POZN");
    choice.printerName = QStringLiteral("Tiskárna, která není");
    ASSERT_EQ(session.prepareReportData(choice, {}, QStringLiteral("PRINT")), 0);
    QProcess runner;
    runner.start(QStringLiteral(ORVENTO_PROGRAM_DIR "/Dastrel"),
                 {QStringLiteral("?SYSTEMDATA=%1?SYSTEMDATA").arg(session.systemDataFile()),
                  QStringLiteral("?REPORTDATA=%1?REPORTDATA").arg(session.reportDataFile())});
    ASSERT_TRUE(runner.waitForFinished(30000));
    EXPECT_EQ(runner.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(runner.exitCode(), 1);
    const QString said = QString::fromLocal8Bit(runner.readAllStandardError());
    EXPECT_TRUE(
        said.contains(QStringLiteral("Tiskárna \"Tiskárna, která není\" není k dispozici")) ||
        said.contains(QStringLiteral("není nainstalována žádná tiskárna")))
        << said.toStdString();

    output::ReportTable note = output::noteTable();
    note.set(note.appendRow(), QStringLiteral("Nazev"), QStringLiteral("Dlouhá"));
    note.set(0, QStringLiteral("Detail"), QStringLiteral("Řádek poznámky.\n").repeated(400));
    QString error;
    auto report = dastrel::loadTemplate(kTemplates + QStringLiteral("_POZN.FRX"), &error);
    ASSERT_TRUE(report);
    dastrel::ReportRenderer renderer(*report, roundTrip({&note}));
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("rozsah.pdf"));
    {
        QPdfWriter writer(pdf);
        writer.setPageLayout(report->pageLayout());
        QPainter painter(&writer);
        EXPECT_GT(renderer.paint(writer, painter, 2, 3), 4);
    }
    const QString text = pdfText(pdf);
    EXPECT_FALSE(text.contains(QStringLiteral("Strana 1 z")));
    EXPECT_TRUE(text.contains(QStringLiteral("Strana 2 z")));
    EXPECT_TRUE(text.contains(QStringLiteral("Strana 3 z")));
    EXPECT_FALSE(text.contains(QStringLiteral("Strana 4 z")));
}

// Every template that ships with the program can be read.
TEST(BuiltInTemplates, EveryShippedTemplateParses) {
    const QStringList files =
        QDir(kTemplates).entryList({QStringLiteral("*.FRX"), QStringLiteral("*.frx")}, QDir::Files);
    EXPECT_GE(files.size(), 11);
    for (const QString& file : files) {
        QString error;
        EXPECT_TRUE(dastrel::loadTemplate(kTemplates + file, &error))
            << file.toStdString() << ": " << error.toStdString();
    }
}
