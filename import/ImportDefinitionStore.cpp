#include "import/ImportDefinitionStore.h"

#include "core/Database.h"
#include "core/RecordMapping.h"

namespace orvento::import {

namespace {

// One row of `Import` as stored.
struct StoredDefinition {
    int TypOperace = 0;
    QString Nastaveni;
    QString Nazev;
    QString Popis;
};

const core::RecordMapping<StoredDefinition>& importMapping() {
    static const auto mapping = core::RecordMapping<StoredDefinition>(QStringLiteral("Import"))
                                    .member("TypOperace", &StoredDefinition::TypOperace)
                                    .member("Nastaveni", &StoredDefinition::Nastaveni)
                                    .member("Nazev", &StoredDefinition::Nazev)
                                    .member("Popis", &StoredDefinition::Popis);
    return mapping;
}

StoredDefinition toStored(const ImportDefinition& definition) {
    return {static_cast<int>(definition.kind), writeDefinitionText(definition), definition.name,
            definition.description};
}

// The failure of a save with the database's own reason, read before anything else runs.
QString saveFailure(const core::Database& db) {
    const QString reason = db.lastError();
    QString text = core::saveFailedMessage();
    if (!reason.isEmpty())
        text += QLatin1Char('\n') + reason;
    return text;
}

DefinitionListRow listRow(const QSqlRecord& record) {
    const StoredDefinition stored = importMapping().read(record);
    return {record.value(QStringLiteral("ID")).toLongLong(),
            static_cast<DefinitionKind>(stored.TypOperace), stored.Nazev, stored.Popis};
}

} // namespace

std::optional<std::vector<DefinitionListRow>> ImportDefinitionStore::list(QString& error) const {
    QSqlQuery query =
        m_agenda.select(QStringLiteral("SELECT ID, TypOperace, Nazev, Popis FROM Import "
                                       "ORDER BY ID"));
    if (!query.isActive()) {
        error = core::readFailedMessage();
        return std::nullopt;
    }
    std::vector<DefinitionListRow> rows;
    while (query.next())
        rows.push_back(listRow(query.record()));
    return rows;
}

std::optional<ImportDefinition> ImportDefinitionStore::read(qint64 id, QString& error) const {
    error.clear();
    QSqlQuery query = m_agenda.select(QStringLiteral("SELECT * FROM Import WHERE ID = :ID"),
                                      {{QStringLiteral("ID"), id}});
    if (!query.isActive()) {
        error = core::readFailedMessage();
        return std::nullopt;
    }
    if (!query.next())
        return std::nullopt;
    const StoredDefinition stored = importMapping().read(query.record());
    ImportDefinition definition = newDefinition(static_cast<DefinitionKind>(stored.TypOperace));
    definition.id = id;
    definition.name = stored.Nazev;
    definition.description = stored.Popis;
    if (!readDefinitionText(definition, stored.Nastaveni, error))
        return std::nullopt;
    return definition;
}

std::vector<DefinitionListRow> ImportDefinitionStore::findByName(const QString& name,
                                                                 QString& error) const {
    std::vector<DefinitionListRow> found;
    const auto rows = list(error);
    if (!rows)
        return found;
    for (const DefinitionListRow& row : *rows) {
        if (row.name.compare(name, Qt::CaseInsensitive) == 0)
            found.push_back(row);
    }
    return found;
}

std::optional<qint64> ImportDefinitionStore::insert(const ImportDefinition& definition,
                                                    QString& error) {
    const auto& mapping = importMapping();
    std::optional<qint64> id;
    {
        core::Transaction unit(m_agenda);
        id = m_agenda.insertRow(mapping.insertSql(), mapping.params(toStored(definition)));
        if (id && unit.commit())
            return id;
        error = saveFailure(m_agenda);
    }
    return std::nullopt;
}

bool ImportDefinitionStore::update(const ImportDefinition& definition, QString& error) {
    core::Transaction unit(m_agenda);
    if (importMapping().update(m_agenda, toStored(definition), definition.id) && unit.commit())
        return true;
    error = saveFailure(m_agenda);
    return false;
}

bool ImportDefinitionStore::remove(qint64 id, QString& error) {
    core::Transaction unit(m_agenda);
    if (m_agenda.execute(QStringLiteral("DELETE FROM Import WHERE ID = :ID"),
                         {{QStringLiteral("ID"), id}}) &&
        unit.commit())
        return true;
    error = saveFailure(m_agenda);
    return false;
}

} // namespace orvento::import
