#pragma once

#include "core/SilentInteraction.h"

#include <cstdio>

namespace orvento::bench {

// The benchmarks' person at the screen: answers nothing, but a warning or an error goes to
// stderr, so a run that failed is not taken for a fast one.
class QuietInteraction : public core::SilentInteraction {
public:
    void warning(const QString& text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
    void error(const QString& text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
};

} // namespace orvento::bench
