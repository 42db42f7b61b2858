#include "import/AddressBookImport.h"

#include "catalogue/PriceLevelRecords.h"
#include "core/Database.h"
#include "core/PacedUnits.h"
#include "core/StatementSavepoint.h"
#include "core/UserInteraction.h"
#include "import/AddressBookImportTexts.h"
#include "import/ImportProtocol.h"
#include "import/PriceRowConversion.h"
#include "import/RunSource.h"

#include <QSqlError>
#include <QSqlQuery>

namespace orvento::import {

namespace text = addressbooktext;
using Style = ImportProtocol::Style;

AddressBookImport::AddressBookImport(core::Database& agenda, core::UserInteraction& ui,
                                     ImportProtocol& protocol, SourceOpener opener,
                                     core::ProgressScope::Display display)
    : m_db(agenda)
    , m_ui(ui)
    , m_protocol(protocol)
    , m_opener(std::move(opener))
    , m_display(std::move(display)) {}

bool AddressBookImport::checkPriceLevel(const AddressBookSettings& settings) {
    // An empty code clears the level of the imported addresses; any other must still exist, or
    // every address would get a code that points nowhere.
    if (!settings.setPriceLevel || settings.priceLevel.isEmpty() ||
        catalogue::levelByCode(m_db, settings.priceLevel))
        return true;
    m_protocol.add(text::priceLevelGone(), Style::Red);
    return false;
}

bool AddressBookImport::readReferences(const QString& column) {
    // The column comes from the program's own list of reference columns, never from the
    // definition's text.
    QSqlQuery query =
        m_db.select(QStringLiteral("SELECT ID, %1 FROM Adresar ORDER BY ID").arg(column));
    if (!query.isActive())
        return false;
    while (query.next()) {
        const QString key = query.value(1).toString();
        if (!key.isEmpty())
            m_references.add(key, query.value(0).toLongLong());
    }
    return query.lastError().type() == QSqlError::NoError;
}

void AddressBookImport::addStartLines(const ImportDefinition& definition) {
    if (definition.compare)
        m_protocol.add(text::startComparing(addressReferenceOf(definition.refField)->caption,
                                            definition.refColumn));
    else
        m_protocol.add(text::startAddingAll());
    m_protocol.add(text::mayTakeLong());
}

int AddressBookImport::run(const ImportDefinition& definition) {
    m_mark = QDateTime::currentDateTime();
    m_counts = {};
    m_pending = {};
    m_interrupted = false;
    m_references = {};
    m_protocol.add(text::title(), Style::Bold);
    if (!checkPriceLevel(definition.addressBook))
        return Failed;
    const auto opened = openRunSource(definition, m_protocol, m_opener);
    if (!opened)
        return Failed;
    if (definition.compare) {
        const auto reference = addressReferenceOf(definition.refField);
        if (!reference) {
            m_protocol.add(text::referenceUnknown(), Style::Red);
            return Failed;
        }
        if (!readReferences(reference->column)) {
            m_protocol.add(text::addressBookReadFailed(core::readFailedMessage()), Style::Red);
            return Failed;
        }
    }
    m_protocol.removeLast(); // the "please wait" line

    core::sources::SourceTable& table = *opened->table;
    m_counts.sourceRows = table.rowCount();
    if (m_counts.sourceRows == 0) {
        m_protocol.add(text::emptySource());
        addSummary(m_protocol, text::addressBookHeading(), m_counts);
        return Ok;
    }
    addStartLines(definition);
    QString error;
    const auto rows = AddressRows::make(definition, table.columns(), error);
    if (!rows) {
        m_protocol.add(error, Style::Red);
        return Failed;
    }
    const int result = writeRows(definition, *rows, table);
    if (result != Ok)
        return result;
    if (m_interrupted)
        m_protocol.add(text::interrupted(), Style::Bold);
    else
        addSummary(m_protocol, text::addressBookHeading(), m_counts);
    return Ok;
}

int AddressBookImport::writeRows(const ImportDefinition& definition, const AddressRows& rows,
                                 core::sources::SourceTable& table) {
    std::optional<qsizetype> referenceAt;
    std::optional<AddressReference> reference;
    if (definition.compare) {
        reference = addressReferenceOf(definition.refField);
        referenceAt = columnIndex(table.columns(), definition.refColumn);
        if (!referenceAt) {
            m_protocol.add(text::readFailed(text::missingColumn(definition.refColumn)), Style::Red);
            return Failed;
        }
    }
    core::ProgressScope scope(m_ui, m_display, static_cast<int>(m_counts.sourceRows));
    core::PacedUnits units(m_db, m_rowsPerUnit);
    core::Statement insert(m_db, rows.insertSql());
    core::Statement update(m_db, rows.updateSql());
    // Every failure below is told only once the open unit is committed: the rows before it stay.
    const auto fail = [&](const QString& line) {
        if (commit(units))
            m_protocol.add(line, Style::Red);
        return Failed;
    };

    core::sources::Row row;
    int rowNumber = 0;
    while (table.next(row)) {
        ++rowNumber;
        std::optional<qint64> found;
        if (referenceAt) {
            const auto at = static_cast<std::size_t>(*referenceAt);
            const QString value = at < row.size() ? row[at].toText() : QString();
            if (value.trimmed().isEmpty()) {
                m_protocol.add(text::emptyReference(rowNumber, definition.refColumn));
            } else if (const auto hit = m_references.find(cutToColumn(reference->field, value))) {
                found = hit->id;
            }
        }
        if (found || !definition.compare || definition.createMissing) {
            if (!units.ensureOpen())
                return fail(text::saveFailed(core::writeFailureText(m_db.lastError())));
            // A failed row leaves the rows before it in the unit, which is committed below.
            core::StatementSavepoint savepoint(m_db, QStringLiteral("import_row"));
            const bool written =
                savepoint.isReady() && (found ? update.exec(rows.updateParams(row, *found, m_mark))
                                              : insert.exec(rows.insertParams(row)));
            if (!written) {
                // Worded now, while the failure's kind is still the last one known.
                const QString message = core::saveFailedMessage(QStringLiteral("Adresar"));
                savepoint.undo();
                if (commit(units))
                    m_ui.error(message);
                return Failed;
            }
            savepoint.keep();
            units.rowWritten();
            ++(found ? m_pending.updated : m_pending.added);
        }
        if (units.isOpen() && !units.due())
            continue;
        if (!commit(units))
            return Failed;
        if (!scope.step(rowNumber)) {
            if (m_ui.question(text::stopQuestion())) {
                m_interrupted = true;
                return Ok;
            }
            scope.resume();
        }
    }
    if (!table.error().isEmpty())
        return fail(text::readFailed(table.error()));
    return commit(units) ? Ok : Failed;
}

bool AddressBookImport::commit(core::PacedUnits& units) {
    if (units.commit()) {
        m_counts.added += m_pending.added;
        m_counts.updated += m_pending.updated;
        m_pending = {};
        return true;
    }
    m_pending = {};
    m_protocol.add(text::saveFailed(core::writeFailureText(m_db.lastError())), Style::Red);
    return false;
}

} // namespace orvento::import
