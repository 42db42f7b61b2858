#pragma once

#include "core/sources/ImportSource.h"

#include <QString>

#include <functional>
#include <memory>

namespace orvento::import {

// How a run opens its source file; the readers by default, an in-memory source in tests.
using SourceOpener = std::function<std::unique_ptr<core::sources::ImportSource>(
    core::sources::SourceKind kind, const QString& path, QString& error)>;

inline SourceOpener defaultSourceOpener() {
    return [](core::sources::SourceKind kind, const QString& path, QString& error) {
        return core::sources::openSource(kind, path, error);
    };
}

} // namespace orvento::import
