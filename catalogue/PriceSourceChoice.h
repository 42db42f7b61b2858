#pragma once

#include <QString>

#include <optional>

namespace orvento::core {
class UserInteraction;
}

namespace orvento::catalogue {

struct PriceLevel;

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

// The window's state: the caller's caption of the choice box, the option (a level by default)
// and the level picked from the level list.
class PriceSourceChoice {
public:
    PriceSourceChoice(QString caption, core::UserInteraction& ui);

    static QString windowCaption() { return QStringLiteral("Výběr ceny"); }
    static QString helpTopic() { return QStringLiteral("pgVyberDealerCeny.htm"); }
    // The warning beside the options; its link opens the group list.
    static QString helpText();

    const QString& caption() const { return m_caption; }
    PriceSource::Kind option() const { return m_option; }
    void setOption(PriceSource::Kind option);
    // The level field and its button serve the level option only.
    bool levelEnabled() const { return m_option == PriceSource::Level; }
    const QString& levelCode() const { return m_levelCode; }
    // The level picked in the level list (which opens on the current one).
    void takeLevel(const PriceLevel& level);

    // OK: the choice, or nothing (after the message) while the window must stay open.
    std::optional<PriceSource> confirm() const;

private:
    QString m_caption;
    core::UserInteraction& m_ui;
    PriceSource::Kind m_option = PriceSource::Level;
    qint64 m_levelId = -1;
    QString m_levelCode;
};

} // namespace orvento::catalogue
