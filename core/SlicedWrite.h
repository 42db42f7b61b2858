#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <vector>

namespace orvento::core {

class Database;
class ProgressScope;

// How bulk work shares the database with the other workstations: the rows are prepared in memory
// first, then written slice by slice, each slice its own short unit of work. A slice ends after
// `sliceSize` rows or once it has held the write lock for `kSliceLockBudget`, whichever comes
// first, so another workstation's save waits at most about that long.
inline constexpr std::chrono::milliseconds kSliceLockBudget{100};
// The pause after each slice, long enough for a waiting workstation to take the lock.
inline constexpr std::chrono::milliseconds kSliceGap{10};

struct SlicedWriteResult {
    std::size_t written = 0; // rows of the committed slices
    bool failed = false;     // a row or a commit failed; that slice was rolled back
    bool stopped = false;    // the progress callback asked to stop
};

// Writes rows 0 .. count-1 with `writeOne(index)` (false: the row failed), slice by slice. After
// each committed slice `progress(done, total)` is told how far it got and may return false to
// stop there (a cancelled run keeps the finished slices). A failure stops the run after its slice
// has been rolled back, with Database::lastError() and the failure kind telling why; the caller
// reports it then, never from inside `writeOne`. Refuses to run inside an open unit of work,
// where the slices would all hold the one lock.
SlicedWriteResult
writeInSlices(Database& db, std::size_t count, std::size_t sliceSize,
              const std::function<bool(std::size_t index)>& writeOne,
              const std::function<bool(std::size_t done, std::size_t total)>& progress = {});

// The same with the rows written `batchSize` at a time by `writeBatch(begin, end)`, for a writer
// that sends many rows in one statement (RowBatchWriter); the slice's lock budget is looked at
// between batches.
SlicedWriteResult
writeBatchesInSlices(Database& db, std::size_t count, std::size_t sliceSize, std::size_t batchSize,
                     const std::function<bool(std::size_t begin, std::size_t end)>& writeBatch,
                     const std::function<bool(std::size_t done, std::size_t total)>& progress = {});

// The same over rows prepared in memory.
template <typename Row, typename WriteOne>
SlicedWriteResult
writeInSlices(Database& db, const std::vector<Row>& rows, std::size_t sliceSize,
              WriteOne&& writeOne,
              const std::function<bool(std::size_t done, std::size_t total)>& progress = {}) {
    return writeInSlices(
        db, rows.size(), sliceSize, [&](std::size_t index) { return writeOne(rows[index]); },
        progress);
}

// The progress callback of a run shown in a progress scope: step `done` after each slice, and the
// scope's cancel (for a cancellable one) stops the run there.
std::function<bool(std::size_t done, std::size_t total)> progressOf(ProgressScope& scope);

} // namespace orvento::core
