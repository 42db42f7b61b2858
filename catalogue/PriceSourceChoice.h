#pragma once

#include <QString>

#include <optional>

namespace orvento::core {
class UserInteraction;
}

namespace orvento::catalogue {

// The choice of the window "Výběr ceny" (frmVyberDealerCeny) that price-list output asks for.
struct PriceSource {
    enum Kind { Cancel = -2, DoNotPrint = -1, BasicPrice = 0, Level = 1 };
    Kind kind = Cancel;
    qint64 levelId = -1; // with Level
    QString levelCode;   // with Level

    // The caller's code: -2 cancel, -1 do not print, 0 basic sale price, or the level's ID.
    qint64 code() const { return kind == Level ? levelId : static_cast<qint64>(kind); }
};

// OK of the window: a level option needs a chosen level ("Vyberte cenovou hladinu."); nothing
// when the window must stay open.
std::optional<PriceSource> confirmPriceSource(PriceSource::Kind option, qint64 levelId,
                                              const QString& levelCode, core::UserInteraction& ui);

} // namespace orvento::catalogue
