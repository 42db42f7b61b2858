#include "FaultSweep.h"

#include <QFile>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QSqlRecord>

#include <iostream>

namespace orvento::testsupport {

namespace {

QString withoutTimes(QString text) {
    static const QRegularExpression time(
        QStringLiteral(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d(\.\d{1,3})?)"));
    return text.replace(time, QStringLiteral("<čas>"));
}

QString savedCopyOf(const QString& file) {
    return file + QStringLiteral(".pred-behem");
}

} // namespace

QStringList DataSnapshot::differingTables(const DataSnapshot& other) const {
    QStringList names;
    for (const auto& [name, rows] : tables) {
        const auto found = other.tables.find(name);
        if (found == other.tables.end() || found->second != rows)
            names << name;
    }
    for (const auto& [name, rows] : other.tables) {
        if (!tables.contains(name))
            names << name;
    }
    return names;
}

DataSnapshot DataSnapshot::only(const QStringList& names) const {
    DataSnapshot part;
    for (const QString& name : names) {
        if (const auto found = tables.find(name); found != tables.end())
            part.tables.emplace(name, found->second);
    }
    return part;
}

bool DataSnapshot::eachRowBeforeOrAfter(const DataSnapshot& before,
                                        const DataSnapshot& after) const {
    auto rowOf = [](const DataSnapshot& s, const QString& table,
                    qint64 id) -> std::optional<QString> {
        const auto t = s.tables.find(table);
        if (t == s.tables.end())
            return std::nullopt;
        const auto row = t->second.find(id);
        return row == t->second.end() ? std::nullopt : std::optional<QString>(row->second);
    };
    std::map<QString, std::set<qint64>> ids;
    for (const DataSnapshot* s : {this, &before, &after}) {
        for (const auto& [name, rows] : s->tables) {
            for (const auto& row : rows)
                ids[name].insert(row.first);
        }
    }
    for (const auto& [name, keys] : ids) {
        for (const qint64 id : keys) {
            const auto now = rowOf(*this, name, id);
            if (now != rowOf(before, name, id) && now != rowOf(after, name, id))
                return false;
        }
    }
    return true;
}

DataSnapshot snapshotOf(core::Database& db, const QStringList& tables, const QStringList& ignored) {
    DataSnapshot snapshot;
    for (const QString& table : tables) {
        auto& rows = snapshot.tables[table];
        // Table names are the test's own constants.
        QSqlQuery q = db.select(QStringLiteral("SELECT * FROM %1 ORDER BY ID").arg(table));
        EXPECT_TRUE(q.isActive()) << table.toStdString() << ": " << db.lastError().toStdString();
        while (q.next()) {
            QStringList values;
            for (int i = 0; i < q.record().count(); ++i) {
                if (!ignored.contains(q.record().fieldName(i)))
                    values << q.value(i).toString();
            }
            rows.emplace(q.value(QStringLiteral("ID")).toLongLong(),
                         withoutTimes(values.join(QLatin1Char('|'))));
        }
    }
    return snapshot;
}

std::ostream& operator<<(std::ostream& out, const DataSnapshot& snapshot) {
    for (const auto& [name, rows] : snapshot.tables) {
        out << name.toStdString() << ":\n";
        for (const auto& [id, row] : rows)
            out << "  " << id << ": " << row.toStdString() << "\n";
    }
    return out;
}

SavedDatabases::SavedDatabases(std::vector<std::pair<core::Database*, QString>> databases)
    : m_databases(std::move(databases)) {
    for (const auto& [db, file] : m_databases) {
        db->close();
        QFile::remove(savedCopyOf(file));
        EXPECT_TRUE(QFile::copy(file, savedCopyOf(file)));
        EXPECT_TRUE(db->open(file));
    }
}

void SavedDatabases::putBack() const {
    for (const auto& [db, file] : m_databases) {
        db->close();
        QFile::remove(file);
        EXPECT_TRUE(QFile::copy(savedCopyOf(file), file));
        EXPECT_TRUE(db->open(file)) << db->lastError().toStdString();
    }
}

const char* kindName(core::InjectedFailure kind) {
    switch (kind) {
    case core::InjectedFailure::DiskFull:
        return "disk full";
    case core::InjectedFailure::Busy:
        return "busy";
    case core::InjectedFailure::Constraint:
        return "constraint";
    }
    return "?";
}

int sweepStatements(const std::function<void()>& prepare, const std::function<bool()>& run,
                    const std::function<void()>& afterClean,
                    const std::function<void(const FaultedRun&)>& check,
                    const std::vector<core::InjectedFailure>& kinds) {
    prepare();
    int total = 0;
    {
        core::FaultPlan counting;
        EXPECT_TRUE(run()) << "the scenario fails without a fault";
        total = counting.statements();
    }
    afterClean();
    EXPECT_GT(total, 0);
    // The figures of the sweep, for the reliability notes.
    std::cout << "[  sweep   ] " << total << " statements, " << kinds.size() << " kinds, "
              << total * static_cast<int>(kinds.size()) << " faulted runs\n";
    for (const core::InjectedFailure kind : kinds) {
        for (int n = 1; n <= total; ++n) {
            SCOPED_TRACE(QStringLiteral("statement %1 of %2 failing (%3)")
                             .arg(n)
                             .arg(total)
                             .arg(QLatin1String(kindName(kind)))
                             .toStdString());
            prepare();
            FaultedRun faulted;
            faulted.failAt = n;
            faulted.kind = kind;
            {
                core::FaultPlan plan({.failAt = n, .kind = kind});
                faulted.reportedSuccess = run();
                faulted.failedStatement = plan.failedStatement();
                EXPECT_TRUE(plan.fired())
                    << "statement " << n << " of " << total << " was never reached ("
                    << plan.statements() << " counted)";
            }
            SCOPED_TRACE("the statement: " + faulted.failedStatement.toStdString());
            EXPECT_FALSE(core::Database::anyUnitOpen());
            check(faulted);
            if (::testing::Test::HasFailure())
                return total;
        }
    }
    return total;
}

bool toldFailure(const ScriptedInteraction& ui) {
    static const QRegularExpression czech(QStringLiteral("[áčďéěíňóřšťúůýž]"),
                                          QRegularExpression::CaseInsensitiveOption);
    QStringList told = ui.texts(ScriptedInteraction::Kind::Error);
    told << ui.texts(ScriptedInteraction::Kind::Warning);
    for (const QString& text : told) {
        if (text.contains(czech))
            return true;
    }
    return false;
}

} // namespace orvento::testsupport
