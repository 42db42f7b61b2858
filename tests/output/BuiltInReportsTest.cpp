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

#include "BuiltInRender.h"
#include "PdfProbe.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

using namespace orvento;
using testsupport::pdfImageCount;
using testsupport::pdfText;
using testsupport::roundTrip;
using testsupport::ScriptedInteraction;

namespace {

const QString kTemplates = testsupport::builtInTemplates();

QByteArray pngOf(const QColor& colour, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

QString render(const QString& name, const output::DataSet& data, const QTemporaryDir& dir) {
    return testsupport::renderBuiltIn(name, data, dir);
}

class BuiltInReportsTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (testsupport::popplerMissing())
            GTEST_SKIP() << "the poppler tools (poppler-utils) are not installed";
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
        // The texts before and after the items as the offer card's editor stores them.
        ASSERT_TRUE(db().execute(
            QStringLiteral("UPDATE Nabidky SET TextPred = :P, TextZa = :Z WHERE ID = :ID"),
            {{QStringLiteral("P"),
              QStringLiteral("{\\rtf1\\ansi\\ansicpg1250{\\fonttbl{\\f0 DejaVu Sans;}}\\f0 "
                             "{\\b V\\'e1\\'9een\\'fd z\\'e1kazn\\'edku,}\\par "
                             "nab\\'edz\\'edme v\\'e1m {\\i dod\\'e1vku a mont\\'e1\\'9e} "
                             "podle va\\'9a\\'ed popt\\'e1vky.\\par}")},
             {QStringLiteral("Z"),
              QStringLiteral("{\\rtf1\\ansi\\ansicpg1250{\\fonttbl{\\f0 DejaVu Sans;}}"
                             "{\\colortbl ;\\red31\\green58\\blue95;}\\pard\\qr\\f0\\cf1 "
                             "T\\'ec\\'9a\\'edme se na spolupr\\'e1ci.\\par}")},
             {QStringLiteral("ID"), m_offer}}));
    }

    static core::ProgramState& state() { return core::programState(); }
    static core::Database& db() { return state().db->agenda; }
    output::ReportContext context() { return {state().settings, state().user, db(), nullptr}; }

    testsupport::TestEnvironment env;
    qint64 m_offer = 0;
};

// Figures as the reports write them: amounts "1 234,50", "-0,45"; quantities and rates "4",
// "2,5". An amount never starts with a zero group, so "5 000,00" after a discount of "5" is not
// read as "5" and "000,00".
const QString kAmount = QStringLiteral("-?(?:0|[1-9]\\d{0,2}(?: \\d{3})*),\\d{2}");
const QString kQuantity = QStringLiteral("\\d+(?:,\\d+)?");

double figureOf(QString text) {
    text.remove(QLatin1Char(' '));
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    return text.toDouble();
}

// The amount that follows `label` and is followed by the currency; nothing when the page has no
// such line. "DPH" is not the end of "Celkem bez DPH" or "Celkem s DPH".
std::optional<double> amountAfter(const QString& text, const QString& label, const QString& mena) {
    const QRegularExpression line(QStringLiteral("(?:^|\\s)(?<!bez )(?<!s )") +
                                      QRegularExpression::escape(label) + QStringLiteral("\\s+(") +
                                      kAmount + QStringLiteral(") ") +
                                      QRegularExpression::escape(mena),
                                  QRegularExpression::MultilineOption);
    const auto m = line.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    return figureOf(m.captured(1));
}

// A priced item as the offer stores it.
struct StoredItem {
    QString popis, mj;
    double pocet, prodCena, prodCenaPo, sleva, net, gross;
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
        // KEEP_PDF=<folder> keeps the PDFs, for the pictures of the documentation.
        if (const QString keep = qEnvironmentVariable("KEEP_PDF"); !keep.isEmpty())
            QFile::copy(pdf,
                        QDir(keep).filePath(QString::fromLatin1(l.file) + QStringLiteral(".pdf")));
        EXPECT_TRUE(text.contains(doklad));
        EXPECT_TRUE(text.contains(QStringLiteral("DEMO - fiktivní firma")));
        EXPECT_TRUE(text.contains(QStringLiteral("Stavby Novák s.r.o.")));
        EXPECT_TRUE(text.contains(QStringLiteral("Materiál a práce")));
        EXPECT_TRUE(text.contains(QStringLiteral("Ceny platí při objednání celého rozsahu.")));
        EXPECT_TRUE(
            text.contains(QStringLiteral("nabízíme vám dodávku a montáž podle vaší poptávky.")));
        EXPECT_TRUE(text.contains(QStringLiteral("Těšíme se na spolupráci.")));
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

// What the offer layouts print adds up on the page. An item line: quantity × unit price, less the
// discount where the layout shows "Sleva %", is the line total (the unit price is the one before
// the discount there, the one after it elsewhere). The VAT table: base + VAT per rate, their
// sum; then the totals: without VAT + VAT + "Zaokrouhlení" = the offer's total. The layouts
// without item prices print none and only the totals.
TEST_F(BuiltInReportsTest, PrintedFiguresAddUp) {
    QSqlQuery stored = db().select(
        QStringLiteral("SELECT Popis, MJ, PocetMJ, ProdCena, ProdCenaPo, Sleva, PCBDPHPOL, "
                       "PCSDPHPOL, SDPH, Nakladova FROM NabPolozky WHERE CisloNab = :N AND "
                       "Nadpisova = 0 AND Textova = 0"),
        {{QStringLiteral("N"), m_offer}});
    std::vector<StoredItem> items;
    bool anyDiscount = false;
    while (stored.next()) {
        // The demo offer is priced without VAT and has no cost items: its item lines are all
        // its price.
        ASSERT_EQ(stored.value(8).toInt(), 0);
        ASSERT_EQ(stored.value(9).toInt(), 0);
        items.push_back({stored.value(0).toString(), stored.value(1).toString(),
                         stored.value(2).toDouble(), stored.value(3).toDouble(),
                         stored.value(4).toDouble(), stored.value(5).toDouble(),
                         stored.value(6).toDouble(), stored.value(7).toDouble()});
        anyDiscount = anyDiscount || items.back().sleva != 0.0;
    }
    stored.finish();
    ASSERT_GE(items.size(), 3u);
    ASSERT_TRUE(anyDiscount);
    const double celkem = db().scalar(QStringLiteral("SELECT Celkem FROM Nabidky WHERE ID = :ID"),
                                      {{QStringLiteral("ID"), m_offer}})
                              .value_or(0)
                              .toDouble();

    const auto report = output::offerReport(context(), m_offer);
    ASSERT_TRUE(report);
    const QString mena = report->header.value(0, QStringLiteral("Mena")).toString();
    ASSERT_FALSE(mena.isEmpty());
    const output::DataSet data = roundTrip({&report->header, &report->items, &report->identifiers});
    QTemporaryDir dir;
    struct Layout {
        const char* file;
        bool discount, prices;
    };
    for (const Layout& l : {Layout{"_NABKSP", true, true}, Layout{"_NABKS", true, true},
                            Layout{"_NABKSPO", true, true}, Layout{"_NABKP", false, true},
                            Layout{"_NABK", false, true}, Layout{"_NABKPC", false, false},
                            Layout{"_NABKC", false, false}}) {
        SCOPED_TRACE(l.file);
        const QString text = pdfText(render(QString::fromLatin1(l.file), data, dir));
        ASSERT_FALSE(text.isEmpty());

        double linesNet = 0.0;
        for (const StoredItem& item : items) {
            SCOPED_TRACE(item.popis.toStdString());
            const QString start = QStringLiteral("^\\s*") + QRegularExpression::escape(item.popis) +
                                  QStringLiteral("\\s+(") + kQuantity + QStringLiteral(")\\s+") +
                                  QRegularExpression::escape(item.mj);
            if (!l.prices) {
                EXPECT_TRUE(QRegularExpression(start + QStringLiteral("\\s*$"),
                                               QRegularExpression::MultilineOption)
                                .match(text)
                                .hasMatch())
                    << text.toStdString();
                continue;
            }
            const QString a = QStringLiteral("(") + kAmount + QStringLiteral(")");
            const QString discount =
                l.discount ? QStringLiteral("(?:(") + kQuantity + QStringLiteral(")\\s+)?")
                           : QStringLiteral("()");
            const QRegularExpression line(start + QStringLiteral("\\s+") + a +
                                              QStringLiteral("\\s+") + discount + a +
                                              QStringLiteral("\\s+") + kQuantity +
                                              QStringLiteral("\\s+") + a + QStringLiteral("\\s*$"),
                                          QRegularExpression::MultilineOption);
            const auto m = line.match(text);
            ASSERT_TRUE(m.hasMatch()) << text.toStdString();
            const double quantity = figureOf(m.captured(1));
            const double unit = figureOf(m.captured(2));
            const double sleva = figureOf(m.captured(3));
            const double net = figureOf(m.captured(4));
            // Unit prices are kept to four decimals and printed with two.
            EXPECT_DOUBLE_EQ(quantity, item.pocet);
            EXPECT_NEAR(unit, l.discount ? item.prodCena : item.prodCenaPo, 0.005);
            EXPECT_DOUBLE_EQ(sleva, l.discount ? item.sleva : 0.0);
            EXPECT_NEAR(net, item.net, 0.001);
            EXPECT_NEAR(figureOf(m.captured(5)), item.gross, 0.001);
            EXPECT_NEAR(quantity * unit * (1.0 - sleva / 100.0), net, 0.005 * quantity + 0.01)
                << quantity << " × " << unit << " − " << sleva << " %";
            linesNet += net;
        }

        std::optional<double> sumNet, sumVat;
        if (l.prices) {
            const QRegularExpression rateRow(
                QStringLiteral("(?:^|\\s)") + kQuantity + QStringLiteral(" %\\s+(") + kAmount +
                    QStringLiteral(")\\s+(") + kAmount + QStringLiteral(")\\s+(") + kAmount +
                    QStringLiteral(")"),
                QRegularExpression::MultilineOption);
            double bases = 0.0, vats = 0.0, grosses = 0.0;
            int rates = 0;
            for (auto it = rateRow.globalMatch(text); it.hasNext(); ++rates) {
                const auto row = it.next();
                const double base = figureOf(row.captured(1));
                const double vat = figureOf(row.captured(2));
                const double gross = figureOf(row.captured(3));
                EXPECT_NEAR(base + vat, gross, 0.005) << row.captured(0).toStdString();
                bases += base;
                vats += vat;
                grosses += gross;
            }
            EXPECT_GE(rates, 1) << text.toStdString();
            const auto sum =
                QRegularExpression(QStringLiteral("Součet\\s+(") + kAmount +
                                   QStringLiteral(")\\s+(") + kAmount + QStringLiteral(")\\s+(") +
                                   kAmount + QStringLiteral(")"))
                    .match(text);
            ASSERT_TRUE(sum.hasMatch()) << text.toStdString();
            sumNet = figureOf(sum.captured(1));
            sumVat = figureOf(sum.captured(2));
            EXPECT_NEAR(*sumNet, bases, 0.005);
            EXPECT_NEAR(*sumVat, vats, 0.005);
            EXPECT_NEAR(figureOf(sum.captured(3)), grosses, 0.005);
            EXPECT_NEAR(*sumNet, linesNet, 0.005);
        } else {
            EXPECT_FALSE(text.contains(QStringLiteral("Sazba DPH")));
            for (const StoredItem& item : items)
                EXPECT_FALSE(text.contains(dastrel::czechAmount(item.net)));
        }

        const auto net = amountAfter(text, QStringLiteral("Celkem bez DPH"), mena);
        const auto vat = amountAfter(text, QStringLiteral("DPH"), mena);
        const auto rounding = amountAfter(text, QStringLiteral("Zaokrouhlení"), mena);
        const auto total = amountAfter(text, QStringLiteral("Celkem s DPH"), mena);
        ASSERT_TRUE(net && vat && total) << text.toStdString();
        // The demo agenda rounds totals to whole crowns, and this offer's total needs it.
        ASSERT_TRUE(rounding) << text.toStdString();
        EXPECT_NE(*rounding, 0.0);
        EXPECT_NEAR(*net + *vat + *rounding, *total, 0.005);
        EXPECT_DOUBLE_EQ(*total, celkem);
        EXPECT_DOUBLE_EQ(*total, std::round(*total));
        if (sumNet) {
            EXPECT_NEAR(*net, *sumNet, 0.005);
            EXPECT_NEAR(*vat, *sumVat, 0.005);
        }
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
    choice.printType = output::print_type::Note;
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
