#pragma once

#include "core/Database.h"
#include "core/ProgramState.h"
#include "import/ImportProtocol.h"
#include "import/MoneyImport.h"
#include "support/OpenAgenda.h"
#include "support/ScriptedInteraction.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSqlQuery>
#include <QSqlRecord>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <set>

namespace orvento::testsupport {

using MoneyRecord = QVariantMap;

// Money's three tables held in memory: what each table's file (by its name) holds, and which
// opening or index is to fail.
struct MoneyTables {
    std::map<QString, std::vector<MoneyRecord>> records; // by upper-case table name
    std::set<QString> failOpen;
    std::set<QString> failIndex;
    std::set<QString> opened;
    // Told of every move to a following record, with the table and the record's place.
    std::function<void(const QString& table, std::size_t at)> onNext;
};

// A Money table over MoneyTables: records in their order, an index sorts them by its fields.
class FakeMoneyTable final : public import::MoneyTable {
public:
    explicit FakeMoneyTable(MoneyTables& tables)
        : m_tables(tables) {}

    int open(const QString& path, const QStringList&) override {
        m_name = QFileInfo(path).fileName().toUpper();
        if (m_tables.failOpen.count(m_name))
            return kFailed;
        m_tables.opened.insert(m_name);
        m_records = m_tables.records[m_name];
        return kOpened;
    }
    void close() override { m_records.clear(); }
    qint64 recordCount() const override { return static_cast<qint64>(m_records.size()); }
    void first() override { m_at = 0; }
    int next() override {
        if (m_at + 1 >= m_records.size())
            return kNoFurtherRecord;
        ++m_at;
        if (m_tables.onNext)
            m_tables.onNext(m_name, m_at);
        return kMoved;
    }
    int seek(const QVariant& key) override { return seekKeys({key}); }
    int seekKeys(const QVariantList& keys) override {
        for (std::size_t i = 0; i < m_records.size(); ++i) {
            bool all = true;
            for (qsizetype k = 0; k < keys.size(); ++k)
                all = all && field(m_records[i], m_index.value(k)) == keys[k].toString();
            if (all) {
                m_at = i;
                return kFound;
            }
        }
        return kNotFound;
    }
    int setIndex(const QString& name) override {
        if (m_tables.failIndex.count(m_name))
            return kFailed;
        m_index = name.split(QLatin1Char('+'));
        std::stable_sort(m_records.begin(), m_records.end(),
                         [this](const MoneyRecord& a, const MoneyRecord& b) {
                             for (const QString& f : m_index) {
                                 const double x = a.value(f).toDouble();
                                 const double y = b.value(f).toDouble();
                                 if (x != y)
                                     return x < y;
                             }
                             return false;
                         });
        return kIndexSet;
    }
    QVariant value(const QString& name) const override {
        return m_at < m_records.size() ? m_records[m_at].value(name) : QVariant();
    }
    QString why() const override { return QStringLiteral("soubor je poškozený"); }

private:
    static QString field(const MoneyRecord& record, const QString& name) {
        return record.value(name).toString();
    }

    MoneyTables& m_tables;
    QString m_name;
    std::vector<MoneyRecord> m_records;
    QStringList m_index;
    std::size_t m_at = 0;
};

// An empty agenda, a Money year folder and firm folder with the three (empty) files, and the
// run over the fake tables.
class MoneyImportAgenda : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(openTestAgenda(env, QStringLiteral("0001.res"), QStringLiteral("Firma1")));
        ASSERT_TRUE(QDir().mkpath(core::programState().folders.lock));
        // New agendas hold the Money definition; the tests count only their own offers.
        ASSERT_TRUE(db().execute(QStringLiteral("DELETE FROM Nabidky")));
        money = env.dataFolder() + QStringLiteral("Money/");
        for (const QString& file :
             {QStringLiteral("Rok/ObSezObj.dat"), QStringLiteral("Rok/ObPolObj.dat"),
              QStringLiteral("Firma/SkSezZas.dat")}) {
            ASSERT_TRUE(QDir().mkpath(QFileInfo(money + file).path()));
            QFile f(money + file);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        }
        core::programState().user.uzivId = 7;
        core::programState().user.jmeno = QStringLiteral("Nováková");
    }

    static core::Database& db() { return core::programState().db->agenda; }

    QString definitionText(const QString& extra = QString()) const {
        return QStringLiteral("AgendaPath=") + money + QStringLiteral("Firma\r\nYearPath=") +
               money + QStringLiteral("Rok\r\n") + extra;
    }

    int run(const QString& text, core::ProgressScope::Display display = {}) {
        import::ImportDefinition d;
        d.kind = import::DefinitionKind::Money;
        d.rawText = text;
        import::MoneyImport importRun(
            db(), ui, protocol, std::move(display),
            [this] { return std::make_unique<FakeMoneyTable>(tables);
    });
    const int result = importRun.run(d, env.dataFolder());
    imported = importRun.imported();
    interrupted = importRun.interrupted();
    return result;
}

    void addDocument(MoneyRecord record) {
    MoneyRecord document{{QStringLiteral("Druh dokl."), QStringLiteral("N")},
                         {QStringLiteral("Vyrizeno"), 0.0}};
    for (auto it = record.cbegin(); it != record.cend(); ++it)
        document.insert(it.key(), it.value());
    tables.records[QStringLiteral("OBSEZOBJ")].push_back(document);
}
void addItem(double cislo, MoneyRecord record) {
    record.insert(QStringLiteral("Cislo"), cislo);
    if (!record.contains(QStringLiteral("MasterCisl")))
        record.insert(QStringLiteral("MasterCisl"), 0.0);
    tables.records[QStringLiteral("OBPOLOBJ")].push_back(record);
}

QStringList lines() const {
    QStringList texts;
    for (const auto& line : protocol.lines())
        texts << line.text;
    return texts;
}
bool hasLine(const QString& text, import::ImportProtocol::Style style) const {
    return std::any_of(protocol.lines().begin(), protocol.lines().end(),
                       [&](const auto& l) { return l.text == text && l.style == style; });
}
std::vector<QSqlRecord> rows(const QString& sql) const {
    std::vector<QSqlRecord> out;
    QSqlQuery query = db().select(sql);
    while (query.next())
        out.push_back(query.record());
    return out;
}
QStringList numbers() const {
    QStringList out;
    for (const QSqlRecord& r : rows(QStringLiteral("SELECT Doklad FROM Nabidky ORDER BY ID")))
        out << r.value(0).toString();
    return out;
}

TestEnvironment env;
ScriptedInteraction ui;
import::ImportProtocol protocol;
MoneyTables tables;
QString money;
qint64 imported = 0;
bool interrupted = false;
}; // namespace orvento::testsupport

} // namespace orvento::testsupport
