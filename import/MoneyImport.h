#pragma once

#include "core/Database.h"
#include "core/ProgressScope.h"
#include "import/ImportDefinition.h"
#include "import/MoneyImportSettings.h"
#include "import/MoneyTable.h"
#include "offers/OfferRecords.h"

#include <QElapsedTimer>
#include <QSet>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

class QTextDocument;

namespace orvento::core {
class UserInteraction;
}

namespace orvento::import {

class ImportProtocol;

// The run of a Money definition (ImportFromMoney): the documents of Money's document list that
// are of the definition's kind, not settled and not yet among the agenda's offers become new
// offers with their items. Each document is written whole or not at all; a unit of work holds a
// few of them and closes at the first five-record point after its time budget, so the write
// lock is never held for long and no disk flush follows every document.
class MoneyImport {
public:
    enum Result : int { Ok = 0, Failed = -1 };
    // How many documents are looked at between two looks at "Přerušit" and the unit's clock.
    static constexpr int kRecordsPerStep = 5;

    MoneyImport(core::Database& agenda, core::UserInteraction& ui, ImportProtocol& protocol,
                core::ProgressScope::Display display, MoneyTableFactory tables);
    ~MoneyImport();
    MoneyImport(const MoneyImport&) = delete;
    MoneyImport& operator=(const MoneyImport&) = delete;

    // `dataFolder` expands the data folder's mark in the definition's paths.
    int run(const ImportDefinition& definition, const QString& dataFolder);
    bool interrupted() const { return m_interrupted; }
    // The offers created and committed.
    qint64 imported() const { return m_imported; }
    // The units of work the run committed (for the benchmark).
    int units() const { return m_units; }

private:
    struct Document {
        offers::OfferHeader header;
        std::vector<offers::OfferItem> items;
        QString key; // the number as stored, case-folded
    };
    struct Tables {
        std::unique_ptr<MoneyTable> documents;
        std::unique_ptr<MoneyTable> items;
        std::unique_ptr<MoneyTable> stock;
        void close();
    };

    bool checkFiles(const QStringList& files);
    bool openTables(const QStringList& files);
    bool setIndexes(const QStringList& files);
    bool readStoredNumbers();
    int importDocuments();
    // The document record when it is to be imported, with its items computed.
    std::optional<Document> readDocument();
    void readItems(Document& document);
    offers::OfferItem readItem(Document& document);
    // Writes the document in the open unit (opening one first); false after the red line.
    bool write(const Document& document);
    bool openUnit();
    bool commitUnit();
    void saveFailed();

    QString text(const MoneyTable& table, const QString& field) const;
    QString cut(const QString& table, const QString& column, const QString& value) const;
    double number(const MoneyTable& table, const QString& field);
    QDateTime date(const MoneyTable& table, const QString& field);
    QString richText(const QString& plain);
    QString key(const QString& doklad) const;

    core::Database& m_db;
    core::UserInteraction& m_ui;
    ImportProtocol& m_protocol;
    core::ProgressScope::Display m_display;
    MoneyTableFactory m_factory;
    MoneySettings m_settings;
    Tables m_tables;
    std::unique_ptr<QTextDocument> m_rich;

    QSet<QString> m_numbers; // the stored offers' numbers and those of this run, case-folded
    QString m_doklad;        // of the document being read, for its warning lines
    std::optional<core::Transaction> m_unit;
    QElapsedTimer m_unitClock;
    qint64 m_inUnit = 0;
    qint64 m_imported = 0;
    int m_units = 0;
    bool m_interrupted = false;
};

} // namespace orvento::import
