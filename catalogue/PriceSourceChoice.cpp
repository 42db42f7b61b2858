#include "catalogue/PriceSourceChoice.h"

#include "catalogue/PriceLevelRecords.h"
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

PriceSourceChoice::PriceSourceChoice(QString caption, core::UserInteraction& ui)
    : m_caption(std::move(caption))
    , m_ui(ui) {}

QString PriceSourceChoice::helpText() {
    return QStringLiteral(
        "Upozornění: skutečná cena položky na zvolené cenové hladině vyplývá z definice této "
        "hladiny v <a href=\"groups\">cenové skupině</a>, do které položka patří.");
}

void PriceSourceChoice::setOption(PriceSource::Kind option) {
    if (option != PriceSource::Cancel)
        m_option = option;
}

void PriceSourceChoice::takeLevel(const PriceLevel& level) {
    m_levelId = level.ID;
    m_levelCode = level.Zkratka;
}

std::optional<PriceSource> PriceSourceChoice::confirm() const {
    return confirmPriceSource(m_option, m_levelId, m_levelCode, m_ui);
}

} // namespace orvento::catalogue
