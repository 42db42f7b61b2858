#pragma once

#include "import/ImportDefinition.h"

#include <QString>

#include <optional>
#include <vector>

namespace orvento::core {
class Database;
}

namespace orvento::import {

// One line of the wizard's list of definitions.
struct DefinitionListRow {
    qint64 id = 0;
    DefinitionKind kind = DefinitionKind::PriceList;
    QString name;
    QString description;
};

// The agenda's table `Import`: the list in table order, one definition read whole, and the
// saves. Every value is bound; each save is one unit of work whose failure comes back as a
// Czech message (nothing is shown from here).
class ImportDefinitionStore {
public:
    explicit ImportDefinitionStore(core::Database& agenda)
        : m_agenda(agenda) {}

    // Nothing, with `error`, when the table cannot be read.
    std::optional<std::vector<DefinitionListRow>> list(QString& error) const;
    // The definition with its text read into settings; nothing when the row is gone, or (with
    // `error` set) when it cannot be read or its text holds a bad fixed number.
    std::optional<ImportDefinition> read(qint64 id, QString& error) const;
    // The rows whose `Nazev` equals `name` (letter case ignored), for the command line.
    std::vector<DefinitionListRow> findByName(const QString& name, QString& error) const;

    // A new row; its ID, or nothing with `error`.
    std::optional<qint64> insert(const ImportDefinition& definition, QString& error);
    bool update(const ImportDefinition& definition, QString& error);
    bool remove(qint64 id, QString& error);

private:
    core::Database& m_agenda;
};

} // namespace orvento::import
