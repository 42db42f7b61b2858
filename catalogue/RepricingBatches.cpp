#include "catalogue/RepricingBatches.h"

#include "core/SlicedWrite.h"
#include "core/UserInteraction.h"

#include <QElapsedTimer>
#include <QThread>

#include <QSqlError>
#include <QSqlQuery>

namespace orvento::catalogue {

QString idListCondition(const std::vector<qint64>& ids, std::size_t from, std::size_t count,
                        core::SqlParams& params) {
    QStringList names;
    const std::size_t end = std::min(ids.size(), from + count);
    for (std::size_t i = from; i < end; ++i) {
        const QString name = QStringLiteral("I%1").arg(i - from);
        names << QLatin1Char(':') + name;
        params.emplace_back(name, ids[i]);
    }
    return QStringLiteral("ID IN (") + names.join(QLatin1Char(',')) + QLatin1Char(')');
}

std::optional<std::vector<ItemRecord>> readPriceRows(core::Database& db, const QString& where,
                                                     const core::SqlParams& params) {
    const auto& mapping = zasobyPriceMapping();
    QSqlQuery q =
        db.select(QStringLiteral("SELECT ID, ") + mapping.columns().join(QStringLiteral(", ")) +
                      QStringLiteral(" FROM Zasoby WHERE ") + where,
                  params);
    if (!q.isActive())
        return std::nullopt;
    std::vector<ItemRecord> rows;
    while (q.next()) {
        ItemRecord item;
        item.ID = q.value(0).toLongLong();
        int at = 1;
        for (const auto& field : mapping.fields())
            field.set(item, q.value(at++));
        rows.push_back(std::move(item));
    }
    if (q.lastError().type() != QSqlError::NoError)
        return std::nullopt;
    return rows;
}

BatchesEnd runInUnits(core::Database& db, const std::function<BatchStep()>& batch,
                      const std::function<bool(bool last)>& committed) {
    for (bool first = true;; first = false) {
        if (!first)
            QThread::msleep(static_cast<unsigned long>(core::kSliceGap.count()));
        BatchStep step = BatchStep::More;
        {
            core::Transaction unit(db);
            if (!unit.isActive())
                return BatchesEnd::Failed;
            QElapsedTimer held;
            held.start();
            int batches = 0;
            do
                step = batch();
            while (step == BatchStep::More && ++batches < kBatchesPerUnit &&
                   held.elapsed() < core::kSliceLockBudget.count());
            if (step == BatchStep::Failed || !unit.commit())
                return BatchesEnd::Failed;
        }
        const bool last = step == BatchStep::Last;
        if (!committed(last))
            return last ? BatchesEnd::Done : BatchesEnd::Stopped;
        if (last)
            return BatchesEnd::Done;
    }
}

void FailedItems::add(qint64 id) {
    if (!m_told && !m_pending) {
        m_pending = true;
        return;
    }
    m_lines << QStringLiteral("• Položka ID %1: ").arg(id) +
                   core::saveFailedMessage(QStringLiteral("Zasoby"));
}

void FailedItems::tellFirst(core::UserInteraction& ui) {
    if (!m_pending)
        return;
    m_pending = false;
    m_told = true;
    ui.error(core::saveFailedMessage(QStringLiteral("Zasoby")));
}

} // namespace orvento::catalogue
