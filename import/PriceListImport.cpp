#include "import/PriceListImport.h"

#include "catalogue/CatalogueRecords.h"
#include "catalogue/ItemCard.h"
#include "core/Database.h"
#include "core/RowBatch.h"
#include "core/SlicedWrite.h"
#include "core/UserInteraction.h"
#include "import/ImportProtocol.h"
#include "import/PriceListTexts.h"
#include "import/PriceRowConversion.h"
#include "import/RunSource.h"

#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>

namespace orvento::import {

namespace text = pricelisttext;
using Style = ImportProtocol::Style;

namespace {

// Phase II reads this many marked items at a time and writes them in slices of at most
// kSliceRows; a slice ends sooner once it has held the write lock for the slice budget.
constexpr int kRecomputeWindow = 5000;
constexpr std::size_t kSliceRows = 5000;

struct Reference {
    QString column;  // of `Zasoby`
    QString caption; // as the protocol names it
};

std::optional<Reference> referenceOf(const QString& refField) {
    const QString key = refField.trimmed().toUpper();
    if (key == QLatin1String("KATALOG"))
        return Reference{QStringLiteral("Katalog"), QStringLiteral("Katalogu")};
    if (key == QLatin1String("BARCODE"))
        return Reference{QStringLiteral("BarCode"), QStringLiteral("Čár. kódu")};
    if (key == QLatin1String("PLU"))
        return Reference{QStringLiteral("PLU"), QStringLiteral("PLU")};
    if (key == QLatin1String("ZKRATKA"))
        return Reference{QStringLiteral("Zkratka"), QStringLiteral("Zkratky")};
    if (key == QLatin1String("POPIS"))
        return Reference{QStringLiteral("Popis"), QStringLiteral("Popisu pol.")};
    return std::nullopt;
}

bool takesNewItems(const ImportDefinition& definition) {
    return !definition.compare || definition.createMissing;
}

core::SqlParams markedParams(const QDateTime& mark) {
    return {{QStringLiteral("Chyba"), true}, {QStringLiteral("Znacka"), mark}};
}

} // namespace

PriceListImport::PriceListImport(core::Database& agenda, core::UserInteraction& ui,
                                 ImportProtocol& protocol, SourceOpener opener,
                                 core::ProgressScope::Display display)
    : m_db(agenda)
    , m_ui(ui)
    , m_protocol(protocol)
    , m_opener(std::move(opener))
    , m_display(std::move(display)) {}

std::optional<PriceListImport::Place> PriceListImport::placeOf(qint64 sheet,
                                                               std::optional<qint64> group) {
    const auto sheetName = m_db.scalar(QStringLiteral("SELECT Nazev FROM Sklady WHERE ID = :ID"),
                                       {{QStringLiteral("ID"), sheet}});
    if (!sheetName)
        return std::nullopt;
    Place place{sheetName->toString(), {}};
    if (group) {
        const auto row = catalogue::readGroup(m_db, *group);
        if (!row || row->sklad != sheet)
            return std::nullopt;
        place.groupName = row->nazev;
    }
    return place;
}

bool PriceListImport::checkPlaces(const ImportDefinition& definition) {
    const PriceListSettings& s = definition.priceList;
    if (takesNewItems(definition) && !placeOf(s.newItemsSheet, s.newItemsGroup)) {
        m_protocol.add(text::newItemsPlaceGone(), Style::Red);
        return false;
    }
    // The filter narrows the search for found items; without comparing it has no work.
    if (!definition.compare || !s.filterOn)
        return true;
    const auto sheet = placeOf(s.filterSheet, std::nullopt);
    if (!sheet) {
        m_protocol.add(text::filterSheetGone(), Style::Red);
        return false;
    }
    m_filterPlace = *sheet;
    if (s.filterGroupOn) {
        const auto group = placeOf(s.filterSheet, s.filterGroup);
        if (!group) {
            m_protocol.add(text::filterGroupGone(), Style::Red);
            return false;
        }
        m_filterPlace = *group;
    }
    return true;
}

bool PriceListImport::readReferences(const ImportDefinition& definition, const QString& column) {
    const PriceListSettings& s = definition.priceList;
    QString sql = QStringLiteral("SELECT ID, %1, SazbaDPH FROM Zasoby").arg(column);
    core::SqlParams params;
    if (s.filterOn) {
        params.emplace_back(QStringLiteral("Sklad"), s.filterSheet);
        if (s.filterGroupOn) {
            sql += QStringLiteral(" WHERE (Sklad = :Sklad) AND (Skupina = :Skupina)");
            params.emplace_back(QStringLiteral("Skupina"), s.filterGroup);
        } else {
            sql += QStringLiteral(" WHERE Sklad = :Sklad");
        }
    }
    QSqlQuery query = m_db.select(sql + QStringLiteral(" ORDER BY ID"), params);
    if (!query.isActive())
        return false;
    while (query.next()) {
        const QString key = query.value(1).toString();
        if (key.isEmpty())
            continue;
        const qint64 id = query.value(0).toLongLong();
        if (m_references.add(key, id))
            m_storedRates.insert(id, query.value(2).toDouble());
    }
    return query.lastError().type() == QSqlError::NoError;
}

void PriceListImport::addStartLines(const ImportDefinition& definition) {
    if (definition.compare) {
        m_protocol.add(
            text::startComparing(referenceOf(definition.refField)->caption, definition.refColumn));
        if (definition.priceList.filterOn) {
            m_protocol.add(text::filterSheet(m_filterPlace.sheetName));
            if (definition.priceList.filterGroupOn)
                m_protocol.add(text::filterGroup(m_filterPlace.groupName));
        } else {
            m_protocol.add(text::filterOff());
        }
    } else {
        m_protocol.add(text::startAddingAll());
    }
    m_protocol.add(text::mayTakeLong());
    m_protocol.add(text::phaseOne());
}

bool PriceListImport::askToStop(core::ProgressScope& scope, const QString& question) {
    if (m_ui.question(question))
        return true;
    scope.resume();
    return false;
}

int PriceListImport::run(const ImportDefinition& definition) {
    QElapsedTimer timer;
    timer.start();
    m_mark = QDateTime::currentDateTime();
    m_counts = {};
    m_timings = {};
    m_interrupted = false;
    m_rows.clear();
    m_references = {};
    m_storedRates.clear();
    m_protocol.add(text::title(), Style::Bold);
    if (!checkPlaces(definition))
        return Failed;

    const auto opened = openRunSource(definition, m_protocol, m_opener);
    if (!opened)
        return Failed;
    core::sources::SourceTable* const table = opened->table.get();

    const auto groups = catalogue::PriceGroupData::load(m_db);
    if (!groups) {
        m_protocol.add(text::catalogueReadFailed(core::readFailedMessage()), Style::Red);
        return Failed;
    }
    if (definition.compare) {
        const auto reference = referenceOf(definition.refField);
        if (!reference) {
            m_protocol.add(text::referenceUnknown(), Style::Red);
            return Failed;
        }
        if (!readReferences(definition, reference->column)) {
            m_protocol.add(text::catalogueReadFailed(core::readFailedMessage()), Style::Red);
            return Failed;
        }
    }
    m_protocol.removeLast(); // the "please wait" line

    m_counts.sourceRows = table->rowCount();
    if (m_counts.sourceRows == 0) {
        m_protocol.add(text::emptySource());
        addSummary(m_protocol, text::catalogueHeading(), m_counts);
        return Ok;
    }
    addStartLines(definition);

    PreparedItemsTable prepared(m_db);
    {
        core::ProgressScope scope(m_ui, m_display, static_cast<int>(m_counts.sourceRows));
        const int result = prepareRows(definition, *table, scope);
        if (result != Ok)
            return result;
        if (!m_interrupted && !m_rows.empty()) {
            QElapsedTimer aside;
            aside.start();
            const auto filled = prepared.fill(m_rows, [&scope] { scope.step(scope.done()); });
            m_timings.aside = aside.elapsed();
            if (!filled) {
                m_protocol.add(text::saveFailed(core::writeFailureText(m_db.lastError())),
                               Style::Red);
                return Failed;
            }
            // "Přerušit" while the rows were stored aside: still nothing is written.
            if (scope.cancelled() && askToStop(scope, text::stopImportQuestion()))
                m_interrupted = true;
        }
    }
    m_timings.phaseOne = timer.restart();
    if (m_interrupted) {
        m_protocol.add(text::interrupted(), Style::Bold);
        return Ok;
    }
    m_rows.clear();
    m_rows.shrink_to_fit();

    if (m_counts.added + m_counts.updated > 0) {
        const int result = applyRows(definition, prepared);
        m_timings.unit = timer.restart();
        if (result != Ok)
            return result;
    }
    const int result = recompute(*groups);
    m_timings.phaseTwo = timer.elapsed();
    if (m_interrupted)
        m_protocol.add(text::interrupted(), Style::Bold);
    else
        addSummary(m_protocol, text::catalogueHeading(), m_counts);
    return result;
}

int PriceListImport::prepareRows(const ImportDefinition& definition,
                                 core::sources::SourceTable& table, core::ProgressScope& scope) {
    const QStringList columns = table.columns();
    QString error;
    const auto conversion = PriceRowConversion::make(definition, columns, error);
    if (!conversion) {
        m_protocol.add(error, Style::Red);
        return Failed;
    }
    std::optional<qsizetype> referenceAt;
    if (definition.compare) {
        referenceAt = columnIndex(columns, definition.refColumn);
        if (!referenceAt) {
            m_protocol.add(text::readFailed(text::missingColumn(definition.refColumn)), Style::Red);
            return Failed;
        }
    }
    m_updatedColumns = conversion->updatedColumns();
    m_rows.reserve(static_cast<std::size_t>(m_counts.sourceRows));
    // A found item that several rows update is written once, as the last of them leaves it.
    QHash<qint64, std::size_t> rowOfItem;

    core::sources::Row row;
    int rowNumber = 0;
    while (table.next(row)) {
        ++rowNumber;
        qint64 target = PreparedItem::kNewItem;
        double rate = 0;
        if (referenceAt) {
            const auto at = static_cast<std::size_t>(*referenceAt);
            const QString value = at < row.size() ? row[at].toText() : QString();
            if (value.trimmed().isEmpty()) {
                m_protocol.add(text::emptyReference(rowNumber, definition.refColumn));
            } else if (const auto hit = m_references.find(value)) {
                target = hit->id;
                rate = m_storedRates.value(target);
            }
        }
        if (target != PreparedItem::kNewItem || takesNewItems(definition)) {
            PreparedItem item;
            item.item.ID = target;
            item.sourceRow = rowNumber;
            if (!conversion->convert(row, rowNumber, rate, item, error)) {
                m_protocol.add(error, Style::Red);
                return Failed;
            }
            if (target == PreparedItem::kNewItem) {
                ++m_counts.added;
                m_rows.push_back(std::move(item));
            } else {
                ++m_counts.updated;
                const auto earlier = rowOfItem.constFind(target);
                if (earlier != rowOfItem.constEnd()) {
                    m_rows[*earlier] = std::move(item);
                } else {
                    rowOfItem.insert(target, m_rows.size());
                    m_rows.push_back(std::move(item));
                }
            }
        }
        if (!scope.step(rowNumber) && askToStop(scope, text::stopImportQuestion())) {
            m_interrupted = true;
            return Ok;
        }
    }
    if (!table.error().isEmpty()) {
        m_protocol.add(text::readFailed(table.error()), Style::Red);
        return Failed;
    }
    return Ok;
}

int PriceListImport::applyRows(const ImportDefinition& definition, PreparedItemsTable& prepared) {
    const PriceListSettings& s = definition.priceList;
    bool placeGone = false;
    const bool written = [&] {
        core::Transaction unit(m_db);
        if (!unit.isActive())
            return false;
        if (m_counts.added > 0) {
            // Checked again under the write lock: the group may have gone since the start.
            if (!placeOf(s.newItemsSheet, s.newItemsGroup)) {
                placeGone = true;
                return false;
            }
            if (!prepared.insertNew(s.newItemsSheet, s.newItemsGroup, m_mark))
                return false;
        }
        if (m_counts.updated > 0 && !prepared.updateFound(m_updatedColumns, m_mark))
            return false;
        return unit.commit();
    }();
    if (written)
        return Ok;
    m_protocol.add(placeGone ? text::newItemsPlaceGone()
                             : text::saveFailed(core::writeFailureText(m_db.lastError())),
                   Style::Red);
    return Failed;
}

int PriceListImport::recompute(const catalogue::PriceGroupData& groups) {
    m_protocol.add(text::phaseTwo());
    const core::SqlParams marked = markedParams(m_mark);
    const auto total = m_db.scalar(
        QStringLiteral("SELECT COUNT(*) FROM Zasoby WHERE Chyba = :Chyba AND Znacka = :Znacka"),
        marked);
    if (!total) {
        m_ui.error(core::readFailedMessage());
        return RecomputeFailed;
    }
    core::ProgressScope scope(m_ui, m_display, total->toInt());
    // The silent run needs the price data alone, read by position in the mapping's order.
    const auto& mapping = catalogue::zasobyPriceMapping();
    // Recomputed items leave the selection, so each window starts after the last one's end.
    const QString windowSql =
        QStringLiteral("SELECT ID, %1 FROM Zasoby WHERE Chyba = :Chyba AND Znacka = :Znacka AND "
                       "ID > :Posledni ORDER BY ID LIMIT :Okno")
            .arg(mapping.columns().join(QStringLiteral(", ")));
    qint64 last = 0;
    std::size_t done = 0;
    std::vector<catalogue::ItemRecord> items;
    items.reserve(kRecomputeWindow);
    catalogue::RecomputedItemWriter store(m_db);
    for (;;) {
        core::SqlParams params = marked;
        params.emplace_back(QStringLiteral("Posledni"), last);
        params.emplace_back(QStringLiteral("Okno"), kRecomputeWindow);
        items.clear();
        {
            QSqlQuery window = m_db.select(windowSql, params);
            if (!window.isActive()) {
                m_ui.error(core::readFailedMessage());
                return RecomputeFailed;
            }
            while (window.next()) {
                catalogue::ItemRecord item;
                item.ID = window.value(0).toLongLong();
                int at = 1;
                for (const auto& field : mapping.fields())
                    field.set(item, window.value(at++));
                items.push_back(catalogue::ItemCard::recomputedSilently(std::move(item), groups));
            }
            if (window.lastError().type() != QSqlError::NoError) {
                m_ui.error(core::readFailedMessage());
                return RecomputeFailed;
            }
        }
        if (items.empty())
            return Ok;
        last = items.back().ID;
        bool stop = false;
        const core::SlicedWriteResult result = core::writeBatchesInSlices(
            m_db, items.size(), kSliceRows, core::kRowsPerBatch,
            [&](std::size_t begin, std::size_t end) {
                return store.storeAll(std::span(items).subspan(begin, end - begin));
            },
            [&](std::size_t written, std::size_t) {
                if (scope.step(static_cast<int>(done + written)))
                    return true;
                stop = askToStop(scope, text::stopRecomputeQuestion());
                return !stop;
            });
        done += result.written;
        if (result.failed) {
            m_ui.error(core::saveFailedMessage(QStringLiteral("Zasoby")));
            return RecomputeFailed;
        }
        if (stop) {
            m_interrupted = true;
            return Ok;
        }
    }
}

} // namespace orvento::import
