#include "core/SlicedWrite.h"

#include "core/Database.h"
#include "core/ProgressScope.h"

#include <QElapsedTimer>
#include <QThread>

#include <algorithm>

namespace orvento::core {

SlicedWriteResult writeInSlices(Database& db, std::size_t count, std::size_t sliceSize,
                                const std::function<bool(std::size_t)>& writeOne,
                                const std::function<bool(std::size_t, std::size_t)>& progress) {
    return writeBatchesInSlices(
        db, count, sliceSize, 1, [&](std::size_t begin, std::size_t) { return writeOne(begin); },
        progress);
}

SlicedWriteResult
writeBatchesInSlices(Database& db, std::size_t count, std::size_t sliceSize, std::size_t batchSize,
                     const std::function<bool(std::size_t, std::size_t)>& writeBatch,
                     const std::function<bool(std::size_t, std::size_t)>& progress) {
    SlicedWriteResult result;
    if (db.transactionDepth() > 0) {
        result.failed = true;
        return result;
    }
    sliceSize = std::max<std::size_t>(sliceSize, 1);
    batchSize = std::max<std::size_t>(batchSize, 1);
    std::size_t next = 0;
    while (next < count) {
        if (next > 0)
            QThread::msleep(static_cast<unsigned long>(kSliceGap.count()));
        Transaction slice(db);
        if (!slice.isActive()) {
            result.failed = true;
            return result;
        }
        QElapsedTimer held;
        held.start();
        const std::size_t end = std::min(count, next + sliceSize);
        std::size_t index = next;
        while (index < end && (index == next || held.elapsed() < kSliceLockBudget.count())) {
            const std::size_t batchEnd = std::min(end, index + batchSize);
            if (!writeBatch(index, batchEnd)) {
                result.failed = true;
                return result; // the slice rolls back as it goes out of scope
            }
            index = batchEnd;
        }
        if (!slice.commit()) {
            result.failed = true;
            return result;
        }
        result.written = index;
        next = index;
        if (progress && !progress(result.written, count)) {
            result.stopped = next < count;
            return result;
        }
    }
    return result;
}

std::function<bool(std::size_t, std::size_t)> progressOf(ProgressScope& scope) {
    return [&scope](std::size_t done, std::size_t) {
        return scope.step(static_cast<int>(done));
    };
}

} // namespace orvento::core
