#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

// What every harness shares. Each harness defines LLVMFuzzerTestOneInput; FuzzSupport.cpp
// defines LLVMFuzzerInitialize, which sets up Qt and replays the harness's regression inputs
// before libFuzzer starts.
namespace orvento::fuzz {

inline QByteArray bytes(const std::uint8_t* data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// A folder of this process, removed when it ends, for readers that want a file.
QString workFolder();

// Writes the bytes to `name` in the work folder (replacing what was there) and returns its path.
QString writeFile(const QString& name, const QByteArray& content);

} // namespace orvento::fuzz
