#include "catalogue/PriceSourceChoice.h"

#include "core/UserInteraction.h"

namespace orvento::catalogue {

std::optional<PriceSource> confirmPriceSource(PriceSource::Kind option, qint64 levelId,
                                              const QString& levelCode, core::UserInteraction& ui) {
    PriceSource source;
    source.kind = option;
    if (option == PriceSource::Level) {
        if (levelId <= 0 || levelCode.isEmpty()) {
            ui.information(QStringLiteral("Vyberte cenovou hladinu."));
            return std::nullopt;
        }
        source.levelId = levelId;
        source.levelCode = levelCode;
    }
    return source;
}

} // namespace orvento::catalogue
