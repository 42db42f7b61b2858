#pragma once

#include <QByteArray>

#include <chrono>
#include <functional>
#include <optional>

namespace orvento::core::sources {

// Runs `read` in a child process of this one and returns the bytes it produced. For a library
// that reads outside files and cannot be trusted with a damaged or hostile one (it may read or
// write past its buffers): whatever it does to its memory stays in the child, and the program
// hears only that the file could not be read. Nothing when the child failed, was killed by a
// fault, or gave no sign of life for `silence` (a library caught in a loop). The child only
// calls `read` and ends without running this process's clean-up. On a system without fork()
// `read` runs in this process.
std::optional<QByteArray> readApart(const std::function<QByteArray()>& read,
                                    std::chrono::milliseconds silence);

} // namespace orvento::core::sources
