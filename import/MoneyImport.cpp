#include "import/MoneyImport.h"

#include "catalogue/pricing/Rounding.h"
#include "core/PathUtil.h"
#include "core/ProgramState.h"
#include "core/RtfCodec.h"
#include "core/Schema.h"
#include "import/ImportProtocol.h"
#include "import/RunTexts.h"
#include "offers/OfferItemPricing.h"
#include "offers/OfferStore.h"
#include "services/ChangeStamps.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <cmath>
#include <limits>

namespace orvento::import {

namespace {

using Style = ImportProtocol::Style;
using offers::OfferHeader;
using offers::OfferItem;

const QString kNabidky = QStringLiteral("Nabidky");
const QString kNabPolozky = QStringLiteral("NabPolozky");
const QString kDatExtension = QStringLiteral(".dat");
const QString kDocumentTable = QStringLiteral("ObSezObj");
const QString kItemTable = QStringLiteral("ObPolObj");
const QString kStockTable = QStringLiteral("SkSezZas");
const QString kStockIndex = QStringLiteral("Sklad+Cislo");
const QString kItemIndex = QStringLiteral("Cislo+MasterCisl+Poradi");
const QString kSetType = QStringLiteral("S");
const QString kHeading = QStringLiteral("Nabídka");
const QString kRichFont = QStringLiteral("Arial");
constexpr double kRichPointSize = 9;

// A unit of work closes at the first five-record point after this long, so the write lock is
// held well under the 200 ms that other workstations wait without a message.
constexpr qint64 kUnitBudgetMs = 150;
// The item card's least quantity and first position.
constexpr double kLeastQuantity = 0.0001;
constexpr int kFirstPosition = 1;
// "Cena s DPH": the item's price includes VAT.
constexpr int kPriceWithVat = 1;
constexpr int kPriceWithVatRounded = 4;
constexpr int kItemRounding = catalogue::RoundingCode::WholeUnits;
constexpr int kTotalDecimals = 2;
constexpr int kFirstYear = 1900;
constexpr int kLastYear = 9999;

const QStringList kDocumentFields{
    QStringLiteral("Druh dokl."), QStringLiteral("Vyrizeno"),  QStringLiteral("Doklad"),
    QStringLiteral("Cislo"),      QStringLiteral("Popis"),     QStringLiteral("PlatPodm"),
    QStringLiteral("Doprava"),    QStringLiteral("Vystaveno"), QStringLiteral("Vyridit do"),
    QStringLiteral("O_NazevOb"),  QStringLiteral("O_UliceOb"), QStringLiteral("O_PscOb"),
    QStringLiteral("O_MestoOb"),  QStringLiteral("A_ICO"),     QStringLiteral("A_DIC"),
    QStringLiteral("TextPredPo"), QStringLiteral("TextZaPol"), QStringLiteral("Poznamka"),
    QStringLiteral("A_Jmeno"),    QStringLiteral("SazbaDPH2"), QStringLiteral("SazbaDPH1"),
    QStringLiteral("Celkem"),     QStringLiteral("Zaklad0"),   QStringLiteral("Zaklad5"),
    QStringLiteral("Zaklad22")};
const QStringList kItemFields{
    QStringLiteral("Cislo"),      QStringLiteral("MasterCisl"), QStringLiteral("TypPolozky"),
    QStringLiteral("Cislo Zas."), QStringLiteral("Sklad"),      QStringLiteral("Popis"),
    QStringLiteral("Katalog"),    QStringLiteral("BarCode"),    QStringLiteral("Poznamka"),
    QStringLiteral("PLU"),        QStringLiteral("Zkratka"),    QStringLiteral("Sazba DPH"),
    QStringLiteral("Cena s DPH"), QStringLiteral("Poradi"),     QStringLiteral("SlevaZakl"),
    QStringLiteral("Sleva"),      QStringLiteral("PocetMJ"),    QStringLiteral("MJ")};
const QStringList kStockFields{QStringLiteral("Sklad"), QStringLiteral("Cislo"),
                               QStringLiteral("Posl.N.Cen")};

QString withoutExtension(const QString& file) {
    return file.left(file.size() - kDatExtension.size());
}

// Two key values of Money's tables: numbers as numbers, anything else as trimmed text.
bool sameKey(const QVariant& a, const QVariant& b) {
    bool aNumber = false;
    bool bNumber = false;
    const double x = a.toDouble(&aNumber);
    const double y = b.toDouble(&bNumber);
    if (aNumber && bNumber)
        return x == y;
    return a.toString().trimmed() == b.toString().trimmed();
}

int positionOf(double value) {
    if (!(value >= kFirstPosition))
        return kFirstPosition;
    return static_cast<int>(std::min<double>(std::round(value), std::numeric_limits<int>::max()));
}

int wholeOf(double value) {
    if (!std::isfinite(value) || std::abs(value) > std::numeric_limits<int>::max())
        return 0;
    return static_cast<int>(std::round(value));
}

} // namespace

void MoneyImport::Tables::close() {
    for (auto* table : {&documents, &items, &stock}) {
        if (*table)
            (*table)->close();
        table->reset();
    }
}

MoneyImport::MoneyImport(core::Database& agenda, core::UserInteraction& ui,
                         ImportProtocol& protocol, core::ProgressScope::Display display,
                         MoneyTableFactory tables)
    : m_db(agenda)
    , m_ui(ui)
    , m_protocol(protocol)
    , m_display(std::move(display))
    , m_factory(std::move(tables)) {}

MoneyImport::~MoneyImport() = default;

int MoneyImport::run(const ImportDefinition& definition, const QString& dataFolder) {
    m_imported = 0;
    m_units = 0;
    m_interrupted = false;
    m_numbers.clear();
    m_protocol.clear();
    m_protocol.add(QStringLiteral("Import dat z Money - Start ") + runtext::now() +
                       QStringLiteral(" hod"),
                   Style::Bold);
    m_protocol.add(QString());
    m_settings = readMoneySettings(definition.rawText, dataFolder);

    m_protocol.add(QStringLiteral("Objednávky/nabídky"), Style::Bold);
    QStringList files{core::resolveInFolder(m_settings.yearPath, kDocumentTable + kDatExtension),
                      core::resolveInFolder(m_settings.yearPath, kItemTable + kDatExtension)};
    if (m_settings.importPC)
        files << core::resolveInFolder(m_settings.agendaPath, kStockTable + kDatExtension);
    if (!checkFiles(files) || !openTables(files) || !setIndexes(files))
        return Failed;

    m_protocol.add(QStringLiteral("• otevření interních databází..."));
    m_protocol.add(kNabidky);
    if (!readStoredNumbers()) {
        m_protocol.add(QStringLiteral("!CHYBA - nelze otevřít tabulku ") + kNabidky +
                           QStringLiteral(": ") + core::readFailedMessage(),
                       Style::Red);
        m_tables.close();
        return Failed;
    }
    m_protocol.add(kNabPolozky);
    m_protocol.add(QStringLiteral(".. interní databáze OK"));
    m_protocol.add(QStringLiteral("• import nových dokladů... prosím čekejte..."));

    const int result = importDocuments();
    m_protocol.add(QStringLiteral("• celkem naimportovaných dokladů: ") +
                   QString::number(m_imported));
    m_tables.close();
    if (result != Ok)
        return Failed;
    m_protocol.add(QString());
    m_protocol.add(QStringLiteral("Import dat z Money - Dokončeno ") + runtext::now() +
                       QStringLiteral(" hod"),
                   Style::Bold);
    m_protocol.add(QString());
    m_protocol.add(QString());
    return Ok;
}

bool MoneyImport::checkFiles(const QStringList& files) {
    m_protocol.add(QStringLiteral("• kontrola souborů na disku..."));
    for (const QString& file : files) {
        m_protocol.add(file);
        if (!QFileInfo(file).isFile()) {
            m_protocol.add(QStringLiteral("!CHYBA - soubor ") + file +
                               QStringLiteral(" neexistuje"),
                           Style::Red);
            return false;
        }
    }
    m_protocol.add(QStringLiteral("...kontrola OK"));
    return true;
}

bool MoneyImport::openTables(const QStringList& files) {
    m_protocol.add(QStringLiteral("• otevření databází..."));
    const std::vector<std::pair<std::unique_ptr<MoneyTable>*, const QStringList*>> tables{
        {&m_tables.documents, &kDocumentFields},
        {&m_tables.items, &kItemFields},
        {&m_tables.stock, &kStockFields}};
    for (qsizetype i = 0; i < files.size(); ++i) {
        const auto& [table, fields] = tables[static_cast<std::size_t>(i)];
        m_protocol.add(withoutExtension(files[i]));
        *table = m_factory();
        if ((*table)->open(withoutExtension(files[i]), *fields) != MoneyTable::kOpened) {
            m_protocol.add(QStringLiteral("!CHYBA - nelze otevřít databázi ") + files[i],
                           Style::Red);
            if (const QString why = (*table)->why(); !why.isEmpty())
                m_protocol.add(why, Style::Red);
            m_tables.close();
            return false;
        }
    }
    m_protocol.add(QStringLiteral("...otevření OK"));
    return true;
}

bool MoneyImport::setIndexes(const QStringList& files) {
    m_protocol.add(QStringLiteral("• nastavení indexu..."));
    const auto set = [this](MoneyTable& table, const QString& name, const QString& index,
                            const QString& file) {
        m_protocol.add(name);
        if (table.setIndex(index) == MoneyTable::kIndexSet)
            return true;
        m_protocol.add(QStringLiteral("!CHYBA - nelze nastavit index v ") + file, Style::Red);
        if (const QString why = table.why(); !why.isEmpty())
            m_protocol.add(why, Style::Red);
        m_tables.close();
        return false;
    };
    if (m_settings.importPC && !set(*m_tables.stock, kStockTable, kStockIndex, files.value(2)))
        return false;
    if (!set(*m_tables.items, kItemTable, kItemIndex, files.value(1)))
        return false;
    m_protocol.add(QStringLiteral("...index OK"));
    return true;
}

QString MoneyImport::key(const QString& doklad) const {
    return cut(kNabidky, QStringLiteral("Doklad"), doklad).toCaseFolded();
}

bool MoneyImport::readStoredNumbers() {
    QSqlQuery query = m_db.select(QStringLiteral("SELECT Doklad FROM Nabidky"));
    if (!query.isActive())
        return false;
    while (query.next())
        m_numbers.insert(query.value(0).toString().toCaseFolded());
    return query.lastError().type() == QSqlError::NoError;
}

int MoneyImport::importDocuments() {
    MoneyTable& documents = *m_tables.documents;
    const qint64 count = documents.recordCount();
    if (count <= 0)
        return Ok;
    documents.first();
    core::ProgressScope scope(
        m_ui, m_display,
        static_cast<int>(std::min<qint64>(count, std::numeric_limits<int>::max())));
    qint64 record = 0;
    for (;;) {
        ++record;
        if (const std::optional<Document> document = readDocument()) {
            if (!write(*document)) {
                saveFailed();
                return Failed;
            }
        }
        if (record % kRecordsPerStep == 0) {
            // The interface repaints only between units, never while one holds the write lock;
            // within its short budget a unit only looks at the flag "Přerušit" sets.
            if (m_unit && m_unitClock.elapsed() < kUnitBudgetMs) {
                if (scope.cancelled()) {
                    m_interrupted = true;
                    break;
                }
            } else {
                if (m_unit && !commitUnit()) {
                    saveFailed();
                    return Failed;
                }
                if (!scope.step(static_cast<int>(std::min<qint64>(record, count)))) {
                    m_interrupted = true;
                    break;
                }
            }
        }
        if (documents.next() == MoneyTable::kNoFurtherRecord)
            break;
    }
    if (m_unit && !commitUnit()) {
        saveFailed();
        return Failed;
    }
    return Ok;
}

std::optional<MoneyImport::Document> MoneyImport::readDocument() {
    const MoneyTable& in = *m_tables.documents;
    if (text(in, QStringLiteral("Druh dokl.")) != m_settings.druhDokl)
        return std::nullopt;
    const QString doklad = text(in, QStringLiteral("Doklad"));
    if (doklad.trimmed().isEmpty())
        return std::nullopt;
    m_doklad = doklad;
    if (number(in, QStringLiteral("Vyrizeno")) != 0)
        return std::nullopt;
    Document document;
    document.key = key(doklad);
    if (m_numbers.contains(document.key))
        return std::nullopt;

    OfferHeader& h = document.header;
    const auto headerText = [&](const char* column, const char* field) {
        return cut(kNabidky, QString::fromLatin1(column), text(in, QString::fromLatin1(field)));
    };
    h.Doklad = cut(kNabidky, QStringLiteral("Doklad"), doklad);
    h.Popis = headerText("Popis", "Popis");
    h.ZpPlatby = headerText("ZpPlatby", "PlatPodm");
    h.Doprava = headerText("Doprava", "Doprava");
    h.DatVystaveni = date(in, QStringLiteral("Vystaveno"));
    h.DatPlatnosti = date(in, QStringLiteral("Vyridit do"));
    h.AdrCislo = 0;
    h.AdrNazev = headerText("AdrNazev", "O_NazevOb");
    h.AdrUlice = headerText("AdrUlice", "O_UliceOb");
    h.AdrPsc = headerText("AdrPsc", "O_PscOb");
    h.AdrMisto = headerText("AdrMisto", "O_MestoOb");
    h.AdrICO = headerText("AdrICO", "A_ICO");
    h.AdrDIC = headerText("AdrDIC", "A_DIC");
    h.AdrKontakt = headerText("AdrKontakt", "A_Jmeno");
    h.Nadpis = kHeading;
    h.TextPred = richText(text(in, QStringLiteral("TextPredPo")));
    h.TextZa = richText(text(in, QStringLiteral("TextZaPol")));
    h.Poznamka = text(in, QStringLiteral("Poznamka"));
    h.IDStav = 0;
    h.SazDPHZakl = number(in, QStringLiteral("SazbaDPH2"));
    h.SazDPHSniz = number(in, QStringLiteral("SazbaDPH1"));
    h.NabZaok = core::programState().settings.zaokrouhlitCelkem;
    if (m_settings.importPC) {
        h.Celkem = number(in, QStringLiteral("Celkem"));
        h.CelkemBDPH = number(in, QStringLiteral("Zaklad0")) +
                       number(in, QStringLiteral("Zaklad5")) +
                       number(in, QStringLiteral("Zaklad22"));
    }
    h.CenHladAdr = false;
    const core::CurrentUser& user = core::programState().user;
    h.VytvorID = user.uzivId;
    h.UpravID = user.uzivId;
    h.Vytvoril = cut(kNabidky, QStringLiteral("Vytvoril"), user.jmeno);
    h.Zamek = false;
    readItems(document);
    return document;
}

void MoneyImport::readItems(Document& document) {
    MoneyTable& items = *m_tables.items;
    const QVariant cislo = m_tables.documents->value(QStringLiteral("Cislo"));
    if (items.seek(cislo) != MoneyTable::kFound)
        return;
    const QString master = QStringLiteral("MasterCisl");
    do {
        if (!sameKey(items.value(QStringLiteral("Cislo")), cislo))
            break;
        // The parts of a set follow the set itself; only the set is an item of the offer.
        if (number(items, master) == 0)
            document.items.push_back(readItem(document));
    } while (items.next() != MoneyTable::kNoFurtherRecord);
}

OfferItem MoneyImport::readItem(Document& document) {
    const MoneyTable& in = *m_tables.items;
    if (text(in, QStringLiteral("TypPolozky")).trimmed() == kSetType)
        m_protocol.add(QStringLiteral("• VAROVÁNÍ - importovaný doklad č. ") +
                           document.header.Doklad +
                           QStringLiteral(" obsahuje položku typu SADA, - záznam bude "
                                          "naimportován s nulovou sazbou DPH. Otevřete "
                                          "naimportovaný doklad a sazbu DPH doplňte ručně!"),
                       Style::Red);
    OfferItem item;
    const auto itemText = [&](const QString& field) {
        return cut(kNabPolozky, field, text(in, field));
    };
    for (const auto& [target, field] : {std::pair{&item.Popis, QStringLiteral("Popis")},
                                        {&item.Katalog, QStringLiteral("Katalog")},
                                        {&item.BarCode, QStringLiteral("BarCode")},
                                        {&item.PLU, QStringLiteral("PLU")},
                                        {&item.Zkratka, QStringLiteral("Zkratka")},
                                        {&item.MJ, QStringLiteral("MJ")}})
        *target = itemText(field);
    item.Poznamka = text(in, QStringLiteral("Poznamka"));
    item.Zaok = kItemRounding;
    const double salePrice = number(in, QStringLiteral("SlevaZakl"));
    const double quantity = number(in, QStringLiteral("PocetMJ"));
    const double rate = number(in, QStringLiteral("Sazba DPH"));
    const double position = number(in, QStringLiteral("Poradi"));
    OfferHeader& h = document.header;
    if (!m_settings.importPC) {
        item.NakCena = salePrice;
        item.PocetMJ = quantity;
        item.SazbaDPH = rate;
        item.Poradi = wholeOf(position);
        h.CelkemNC +=
            catalogue::roundPrice(static_cast<long double>(salePrice) * quantity, kTotalDecimals);
        return item;
    }
    double purchase = 0;
    const QVariant card = in.value(QStringLiteral("Cislo Zas."));
    if (number(in, QStringLiteral("Cislo Zas.")) != 0) {
        MoneyTable& stock = *m_tables.stock;
        if (stock.seekKeys({in.value(QStringLiteral("Sklad")), card}) == MoneyTable::kFound)
            purchase = number(stock, QStringLiteral("Posl.N.Cen"));
    }
    const int withVat = wholeOf(number(in, QStringLiteral("Cena s DPH")));
    item.SDPH = withVat == kPriceWithVat || withVat == kPriceWithVatRounded;
    item.SazbaDPH = rate;
    item.NakCena = purchase;
    item.ProdCena = salePrice;
    item.Sleva = number(in, QStringLiteral("Sleva"));
    item.PocetMJ = quantity;
    item.Poradi = positionOf(position);
    offers::holdFieldPrecision(item);
    item.PocetMJ = std::max(item.PocetMJ, kLeastQuantity);
    offers::marginFromPrice(item);
    offers::rabatFromPrice(item);
    offers::computeFromSalePrice(item);
    h.Zisk += item.ZiskPol;
    h.CelkemNC += catalogue::roundPrice(static_cast<long double>(item.NakCena) * item.PocetMJ,
                                        kTotalDecimals);
    return item;
}

bool MoneyImport::openUnit() {
    m_unit.emplace(m_db);
    if (!m_unit->isActive())
        return false;
    m_unitClock.start();
    m_inUnit = 0;
    // Another workstation may have run the same import since: its documents count as stored.
    return readStoredNumbers();
}

bool MoneyImport::commitUnit() {
    const bool committed = m_unit->commit();
    m_unit.reset();
    if (!committed)
        return false;
    m_imported += m_inUnit;
    m_inUnit = 0;
    ++m_units;
    return true;
}

bool MoneyImport::write(const Document& document) {
    if (!m_unit && !openUnit())
        return false;
    if (m_numbers.contains(document.key))
        return true;
    const std::optional<qint64> id =
        m_db.insertRow(offers::headerInsertSql(), offers::headerInsertParams(document.header));
    if (!id)
        return false;
    for (const OfferItem& item : document.items) {
        if (!m_db.execute(offers::itemInsertSql(), offers::itemInsertParams(item, *id)))
            return false;
    }
    m_numbers.insert(document.key);
    ++m_inUnit;
    return true;
}

void MoneyImport::saveFailed() {
    // The database's own words, read before the rollback can replace them.
    const QString why = m_db.lastError();
    m_unit.reset();
    m_inUnit = 0;
    m_protocol.add(QStringLiteral("!CHYBA při ukládání do databáze: ") + why, Style::Red);
}

QString MoneyImport::text(const MoneyTable& table, const QString& field) const {
    const QVariant value = table.value(field);
    if (value.typeId() == QMetaType::Double) {
        const double number = value.toDouble();
        if (std::isfinite(number) && number == std::floor(number) &&
            std::abs(number) < static_cast<double>(std::numeric_limits<qint64>::max()))
            return QString::number(static_cast<qint64>(number));
    }
    return value.toString();
}

QString MoneyImport::cut(const QString& table, const QString& column, const QString& value) const {
    const core::TableDef* def = core::findTable(core::DatabaseKind::Agenda, table);
    const core::ColumnDef* col = def ? def->column(column) : nullptr;
    if (!col || col->width <= 0)
        return value;
    return value.left(col->width);
}

double MoneyImport::number(const MoneyTable& table, const QString& field) {
    const QVariant value = table.value(field);
    if (value.isNull())
        return 0;
    bool ok = false;
    double result = value.toDouble(&ok);
    if (!ok) {
        QString text = value.toString().trimmed();
        if (text.isEmpty())
            return 0;
        result = text.replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    }
    if (ok && std::isfinite(result))
        return result;
    m_protocol.add(QStringLiteral("• VAROVÁNÍ - doklad č. %1: pole \"%2\" neobsahuje platné "
                                  "číslo (%3), použije se 0")
                       .arg(m_doklad, field, value.toString()),
                   Style::Red);
    return 0;
}

QDateTime MoneyImport::date(const MoneyTable& table, const QString& field) {
    const double day = number(table, field);
    if (day == 0)
        return {};
    const QDateTime value = services::fromStampValue(day);
    const int year = value.date().year();
    if (value.isValid() && year >= kFirstYear && year <= kLastYear)
        return value;
    m_protocol.add(QStringLiteral("• VAROVÁNÍ - doklad č. %1: pole \"%2\" (%3) není datum mezi "
                                  "roky %4 a %5, doklad bude bez tohoto data")
                       .arg(m_doklad, field, QString::number(day, 'g', 15))
                       .arg(kFirstYear)
                       .arg(kLastYear),
                   Style::Red);
    return {};
}

QString MoneyImport::richText(const QString& plain) {
    if (plain.isEmpty())
        return {};
    if (!m_rich) {
        m_rich = std::make_unique<QTextDocument>();
        QFont font(kRichFont);
        font.setPointSizeF(kRichPointSize);
        m_rich->setDefaultFont(font);
    }
    QString text = plain;
    text.remove(QLatin1Char('\r'));
    m_rich->setPlainText(text);
    QTextCharFormat format;
    format.setFontFamilies({kRichFont});
    format.setFontPointSize(kRichPointSize);
    format.setFontWeight(QFont::Normal);
    format.setFontItalic(false);
    QTextCursor all(m_rich.get());
    all.select(QTextCursor::Document);
    all.setCharFormat(format);
    return core::rtf::write(*m_rich);
}

} // namespace orvento::import
