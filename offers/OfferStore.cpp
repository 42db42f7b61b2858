#include "offers/OfferStore.h"

#include "core/AmountFormat.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/ProgressScope.h"
#include "core/UserInteraction.h"
#include "offers/OfferNumbering.h"
#include "offers/OfferStates.h"
#include "offers/OfferTemplateRecords.h"
#include "offers/SharedDocuments.h"
#include "services/AccessRights.h"
#include "services/ActionHistory.h"
#include "services/RecordRefresh.h"

#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>
#include <set>

namespace orvento::offers {

namespace {

const QString kNabidky = QStringLiteral("Nabidky");
const QString kNabPolozky = QStringLiteral("NabPolozky");
const QString kDokumentyNab = QStringLiteral("DokumentyNab");

QString insertWith(const QString& mappingInsert, const QStringList& extra) {
    // "INSERT INTO T (a, b) VALUES (:a, :b)" with the extra columns added to both lists.
    QString sql = mappingInsert;
    const qsizetype columnsEnd = sql.indexOf(QStringLiteral(") VALUES ("));
    QStringList placeholders;
    for (const QString& c : extra)
        placeholders << QLatin1Char(':') + c;
    sql.insert(sql.size() - 1, QStringLiteral(", ") + placeholders.join(QStringLiteral(", ")));
    sql.insert(columnsEnd, QStringLiteral(", ") + extra.join(QStringLiteral(", ")));
    return sql;
}

const QString& documentInsertSql() {
    static const QString sql =
        insertWith(documentMapping().insertSql(), {QStringLiteral("CisloNab")});
    return sql;
}

void resetHeader(OfferHeader& h) {
    const core::AgendaSettings& settings = core::programState().settings;
    h = OfferHeader{};
    h.Nadpis = defaultTitle();
    h.CenHladAdr = true;
    h.SazDPHZakl = settings.sazbaDphZakladni;
    h.SazDPHSniz = settings.sazbaDphSnizena;
    h.NabZaok = settings.zaokrouhlitCelkem;
}

// Deletes the offer's rows of a detail table that the working copy no longer has. Table names
// come from this file only, never from input.
bool deleteRowsNotIn(core::Database& db, const QString& table, qint64 offerId,
                     const std::set<qint64>& kept) {
    QSqlQuery rows =
        db.select(QStringLiteral("SELECT ID FROM %1 WHERE CisloNab = :CisloNab").arg(table),
                  {{QStringLiteral("CisloNab"), offerId}});
    if (!rows.isActive())
        return false;
    std::vector<qint64> gone;
    while (rows.next()) {
        const qint64 rowId = rows.value(0).toLongLong();
        if (!kept.contains(rowId))
            gone.push_back(rowId);
    }
    rows.finish();
    const QString sql = QStringLiteral("DELETE FROM %1 WHERE ID = :ID").arg(table);
    return std::all_of(gone.begin(), gone.end(), [&](qint64 rowId) {
        return db.execute(sql, {{QStringLiteral("ID"), rowId}});
    });
}

template <class Row>
core::SqlParams detailInsertParams(const core::RecordMapping<Row>& mapping, const Row& row,
                                   qint64 offerId) {
    core::SqlParams params = mapping.params(row);
    params.emplace_back(QStringLiteral("CisloNab"), offerId);
    return params;
}

// Writes the detail rows of an offer: the stored ones dropped from the working copy are deleted
// (existing offers), rows without an ID (below 1) inserted and given theirs, the others updated.
template <class Row>
bool writeDetailRows(core::Database& db, bool existing, qint64 offerId, std::vector<Row>& rows,
                     const core::RecordMapping<Row>& mapping, const QString& insertSql,
                     qint64 Row::*rowId) {
    if (existing) {
        std::set<qint64> kept;
        for (const Row& row : rows)
            if (row.*rowId >= 1)
                kept.insert(row.*rowId);
        if (!deleteRowsNotIn(db, mapping.table(), offerId, kept))
            return false;
    }
    for (Row& row : rows) {
        bool ok = false;
        if (row.*rowId < 1) {
            ok = db.execute(insertSql, detailInsertParams(mapping, row, offerId));
            row.*rowId = db.newRowId();
        } else {
            ok = mapping.update(db, row, row.*rowId);
        }
        if (!ok)
            return false;
    }
    return true;
}

} // namespace

const QString& headerInsertSql() {
    static const QString sql = insertWith(
        headerMapping().insertSql(),
        {QStringLiteral("VytvorID"), QStringLiteral("Vytvoril"), QStringLiteral("Zamek")});
    return sql;
}

core::SqlParams headerInsertParams(const OfferHeader& header) {
    core::SqlParams params = headerMapping().params(header);
    params.emplace_back(QStringLiteral("VytvorID"), header.VytvorID);
    params.emplace_back(QStringLiteral("Vytvoril"), header.Vytvoril);
    params.emplace_back(QStringLiteral("Zamek"), header.Zamek);
    return params;
}

const QString& itemInsertSql() {
    static const QString sql = insertWith(itemMapping().insertSql(), {QStringLiteral("CisloNab")});
    return sql;
}

core::SqlParams itemInsertParams(const OfferItem& item, qint64 offerId) {
    return detailInsertParams(itemMapping(), item, offerId);
}

QString historyDescription(int state, double totalWithVat, const QString& currency) {
    return QStringLiteral("Stav: %1, Celkem s DPH: %2 %3")
        .arg(stateText(state), core::formatAmount(totalWithVat), currency.trimmed());
}

bool OfferStore::load(qint64 id, OfferWorkingCopy& copy) {
    const core::SqlParams key = {{QStringLiteral("ID"), id}};
    QSqlQuery row = m_db.select(QStringLiteral("SELECT * FROM Nabidky WHERE ID = :ID"), key);
    if (!row.next())
        return false;
    const OfferHeader stored = headerMapping().read(row.record());
    const bool zamek = row.value(QStringLiteral("Zamek")).toInt() != 0;
    const int vytvorId = row.value(QStringLiteral("VytvorID")).toInt();
    const QString vytvoril = row.value(QStringLiteral("Vytvoril")).toString();
    row.finish();

    const bool existing = copy.mode() == OfferMode::Existing;
    OfferHeader& h = copy.header();
    resetHeader(h);
    h.SazDPHZakl = stored.SazDPHZakl;
    h.SazDPHSniz = stored.SazDPHSniz;
    h.NabZaok = stored.NabZaok;
    h.Popis = stored.Popis;
    h.Nadpis = stored.Nadpis;
    h.ZpPlatby = stored.ZpPlatby;
    h.Doprava = stored.Doprava;
    if (existing) {
        h.Doklad = stored.Doklad;
        h.DatVystaveni = stored.DatVystaveni;
        h.DatPlatnosti = stored.DatPlatnosti;
        h.DatVyrizeni = stored.DatVyrizeni;
        h.IDStav = stored.IDStav;
        h.Zamek = zamek;
        h.VytvorID = vytvorId;
        h.Vytvoril = vytvoril;
        h.UpravID = stored.UpravID;
        copy.setOfferId(id);
    }
    h.AdrCislo = stored.AdrCislo;
    h.AdrNazev = stored.AdrNazev;
    h.AdrUlice = stored.AdrUlice;
    h.AdrPsc = stored.AdrPsc;
    h.AdrMisto = stored.AdrMisto;
    h.AdrICO = stored.AdrICO;
    h.AdrDIC = stored.AdrDIC;
    h.AdrKontakt = stored.AdrKontakt;
    h.TextPred = stored.TextPred;
    h.TextZa = stored.TextZa;
    h.Poznamka = stored.Poznamka;
    h.CenHladAdr = stored.CenHladAdr;
    h.CenHladina = stored.CenHladina;

    copy.addressPriceLevel.reset();
    if (h.AdrCislo != 0) {
        if (const auto level =
                m_db.scalar(QStringLiteral("SELECT CenHladina FROM Adresar WHERE ID = :ID"),
                            {{QStringLiteral("ID"), h.AdrCislo}}))
            copy.addressPriceLevel = level->toString();
    }

    QSqlQuery itemRows = m_db.select(
        QStringLiteral("SELECT * FROM NabPolozky WHERE CisloNab = :ID ORDER BY Poradi"), key);
    if (!itemRows.isActive())
        return false;
    std::vector<OfferItem> items;
    while (itemRows.next()) {
        const QSqlRecord record = itemRows.record();
        OfferItem item = itemMapping().read(record);
        item.LockID = existing ? record.value(QStringLiteral("ID")).toLongLong() : -1;
        items.push_back(std::move(item));
    }
    copy.setItems(std::move(items));

    QSqlQuery documentRows =
        m_db.select(QStringLiteral("SELECT * FROM DokumentyNab WHERE CisloNab = :ID"), key);
    if (!documentRows.isActive())
        return false;
    const QString sourceFolder = core::programState().offerDocumentsFolder(id);
    std::vector<OfferDocument>& documents = copy.documents();
    documents.clear();
    while (documentRows.next()) {
        const QSqlRecord record = documentRows.record();
        OfferDocument document = documentMapping().read(record);
        document.ID = existing ? record.value(QStringLiteral("ID")).toLongLong() : -1;
        if (!existing && isSharedLink(document.File)) {
            document.File = expandLink(document.File, sourceFolder);
            document.CopyFile = true;
        }
        documents.push_back(std::move(document));
    }
    copy.sortDocuments();
    copy.setAutomaticNumber(!existing);
    copy.changed = false;
    return true;
}

std::optional<OpenedOffer> OfferStore::open(OfferMode mode, std::optional<qint64> id,
                                            core::UserInteraction& ui) {
    OpenedOffer opened;
    opened.copy = OfferWorkingCopy(mode);
    OfferWorkingCopy& copy = opened.copy;
    if (mode == OfferMode::Existing) {
        const services::RecordAccess access = services::openRecord(services::Module::Nabidky, ui);
        if (access == services::RecordAccess::Denied)
            return std::nullopt;
        copy.readOnly = access == services::RecordAccess::ReadOnly;
    } else if (!services::checkModule(services::Module::Nabidky, services::ModuleAction::Create,
                                      ui)) {
        return std::nullopt;
    }
    resetHeader(copy.header());

    if (mode != OfferMode::New) {
        // The lock before the rows: another workstation that held it may commit while this one
        // waits for it, and the card must edit what it committed, not what was there before.
        if (mode == OfferMode::Existing && !copy.readOnly && id) {
            switch (services::RecordLock::take(kNabidky, *id, ui, opened.lock)) {
            case services::RecordLock::State::Held:
                break;
            case services::RecordLock::State::ReadOnly:
                copy.readOnly = true;
                break;
            case services::RecordLock::State::Failed:
                return std::nullopt;
            }
        }
        core::ProgressScope wait(ui, QStringLiteral("Načítám doklad\nprosím čekejte..."), 0, false);
        if (!id || !load(*id, copy)) {
            wait.end();
            ui.warning(services::recordGoneMessage());
            return std::nullopt;
        }
    } else {
        // The user's default template, found whatever letter case the profile or the table
        // spell it in; one deleted meanwhile is simply not applied.
        if (const auto chosen =
                templateByCode(m_db, core::programState().settings.profil.vychoziSablona))
            applyTemplate(*chosen, copy.header());
    }
    if (mode != OfferMode::Existing) {
        OfferHeader& h = copy.header();
        h.IDStav = OfferState::InProgress;
        h.DatVystaveni = QDate::currentDate().startOfDay();
        h.DatPlatnosti = {};
        h.DatVyrizeni = {};
        h.Zamek = false;
        copy.setAutomaticNumber(true);
        const core::AgendaSettings& settings = core::programState().settings;
        opened.ratesDifferFromAgenda =
            mode == OfferMode::Copy &&
            (h.SazDPHZakl != settings.sazbaDphZakladni || h.SazDPHSniz != settings.sazbaDphSnizena);
    }
    copy.recomputeTotals();
    if (copy.header().Zamek && !copy.readOnly) {
        ui.information(QStringLiteral("Doklad je uzamčený, případné změny nebude možné uložit!"));
        copy.readOnly = true;
    }
    // A read-only card keeps no lock file: it cannot save, so it must not keep others out.
    if (copy.readOnly)
        opened.lock.release();
    copy.changed = false;
    return opened;
}

std::optional<QString> OfferStore::writeHeader(OfferWorkingCopy& work, qint64& id) {
    const core::CurrentUser& user = core::programState().user;
    OfferHeader& h = work.header();
    h.UpravID = user.uzivId;
    bool ok = false;
    if (work.offerId()) {
        id = *work.offerId();
        // An offer deleted on another workstation meanwhile is not written back.
        if (!m_db.scalar(QStringLiteral("SELECT ID FROM Nabidky WHERE ID = :ID"),
                         {{QStringLiteral("ID"), id}}))
            return core::saveFailedMessage(kNabidky);
        // Zamek is left out: a lock set from the list meanwhile is not undone by the card.
        ok = headerMapping().update(m_db, h, id);
    } else {
        h.VytvorID = user.uzivId;
        h.Vytvoril = user.jmeno;
        h.Zamek = false;
        ok = m_db.execute(headerInsertSql(), headerInsertParams(h));
        id = m_db.newRowId();
        if (ok && !m_db.scalar(QStringLiteral("SELECT ID FROM Nabidky WHERE ID = :ID"),
                               {{QStringLiteral("ID"), id}}))
            return core::newRowNotFoundMessage();
    }
    if (!ok)
        return core::saveFailedMessage(kNabidky);
    return std::nullopt;
}

std::optional<QString> OfferStore::writeItems(OfferWorkingCopy& work, qint64 id) {
    std::vector<OfferItem> items = work.items();
    if (!writeDetailRows(m_db, work.mode() == OfferMode::Existing, id, items, itemMapping(),
                         itemInsertSql(), &OfferItem::LockID))
        return core::saveFailedMessage(kNabPolozky);
    work.setItems(std::move(items));
    return std::nullopt;
}

std::optional<QString> OfferStore::writeDocuments(OfferWorkingCopy& work, qint64 id) {
    if (!writeDetailRows(m_db, work.mode() == OfferMode::Existing, id, work.documents(),
                         documentMapping(), documentInsertSql(), &OfferDocument::ID))
        return core::saveFailedMessage(kDokumentyNab);
    return std::nullopt;
}

void OfferStore::copyDocuments(OfferWorkingCopy& work, qint64 id, core::UserInteraction& ui) {
    std::vector<services::PendingCopy> copies;
    std::vector<OfferDocument*> pending;
    for (OfferDocument& document : work.documents()) {
        if (!document.CopyFile)
            continue;
        document.CopyFile = false;
        copies.push_back({document.ID, &document.File});
        pending.push_back(&document);
    }
    // Links that could not be stored leave their files to be copied by the next save.
    if (!services::copyLinkedFiles(m_db, kDokumentyNab, copies,
                                   core::programState().offerDocumentsFolder(id), ui)) {
        for (OfferDocument* document : pending)
            document->CopyFile = true;
    }
}

bool OfferStore::save(OfferWorkingCopy& copy, core::UserInteraction& ui) {
    if (copy.readOnly)
        return false;
    core::ProgressScope wait(
        ui,
        QStringLiteral("Prosím čekejte... probíhá ukládání nabídky, příp. "
                       "kopírování dokumentů do sdílené složky (to může nějaký "
                       "čas trvat)"),
        0, false);
    OfferWorkingCopy work = copy;
    OfferHeader& h = work.header();
    if (h.Nadpis.trimmed().isEmpty())
        h.Nadpis = defaultTitle();
    if (!isSettledState(h.IDStav))
        h.DatVyrizeni = {};
    work.recomputeTotals();

    qint64 id = 0;
    bool historyWritten = true;
    // Nothing waits for the person while the unit holds the write lock: a failure is reported
    // once the unit has been rolled back.
    const std::optional<QString> failure = [&]() -> std::optional<QString> {
        core::Transaction unit(m_db);
        if (!unit.isActive())
            return core::saveFailedMessage(kNabidky);
        if (work.isNew() && work.automaticNumber()) {
            NextNumber next;
            if (!takeNextNumber(m_db, next))
                return core::saveFailedMessage(QStringLiteral("CisRady"));
            h.Doklad = next.formatted;
        }
        if (auto failed = writeHeader(work, id))
            return failed;
        if (auto failed = writeItems(work, id))
            return failed;
        if (auto failed = writeDocuments(work, id))
            return failed;
        const int level = core::programState().settings.urovenHistorie;
        if (level != services::HistoryLevel::Off) {
            const QString description = historyDescription(
                h.IDStav, work.totals().totalGross, core::programState().settings.symbolMeny);
            // A history row that cannot be written is reported; the offer is saved all the same.
            historyWritten = services::recordOfferSave(m_db, id,
                                                       work.isNew() ? services::ActionType::Created
                                                                    : services::ActionType::Changed,
                                                       description, level);
        }
        if (!unit.commit())
            return core::saveFailedMessage(kNabidky);
        return std::nullopt;
    }();
    if (failure) {
        ui.error(*failure);
        return false;
    }
    if (!historyWritten)
        ui.error(services::historyFailedMessage());
    // The files are copied once the offer is stored and has its ID, outside any unit of work:
    // the copy may ask whether to overwrite a file and may take its time.
    copyDocuments(work, id, ui);
    copy = std::move(work);
    copy.setOfferId(id);
    copy.markSaved();
    return true;
}

} // namespace orvento::offers
