#include "import/MoneyImportSettings.h"

#include "core/AgendaSettings.h"
#include "core/PathUtil.h"
#include "import/DefinitionKeys.h"
#include "import/ImportDefinitionStore.h"

namespace orvento::import {

namespace {

const QString kDefaultKind = QStringLiteral("N");

} // namespace

QString moneyFolder(const QString& stored, const QString& dataFolder) {
    const QString path = core::expandDataPath(stored, dataFolder);
    if (path.isEmpty())
        return {};
    const bool absolute = path.startsWith(QLatin1Char('/'));
    return core::resolvePathInFolder(absolute ? QStringLiteral("/") : QString(),
                                     (absolute ? path.mid(1) : path) + QLatin1Char('/'));
}

MoneySettings readMoneySettings(const QString& text, const QString& dataFolder) {
    const DefinitionKeyReader in(text);
    MoneySettings s;
    s.dataPath = moneyFolder(in.text("DataPath"), dataFolder);
    s.agendaPath = moneyFolder(in.text("AgendaPath"), dataFolder);
    s.yearPath = moneyFolder(in.text("YearPath"), dataFolder);
    s.importPC = in.readFlag(QStringLiteral("ImportPC")).value_or(true);
    const QString kind = in.text("DruhDokl").trimmed().toUpper();
    s.druhDokl = kind.isEmpty() ? kDefaultKind : kind;
    return s;
}

QString moneyDefinitionName() {
    return QStringLiteral("Import z Money");
}

QString moneyDefinitionDescription() {
    return QStringLiteral("Objednávky a nabídky z ekonomického systému Money. Složky s daty Money "
                          "doplňte tlačítkem \"Opravit\" (AgendaPath, YearPath).");
}

QString moneyDefinitionText() {
    return QStringLiteral("DataPath=\r\nAgendaPath=\r\nYearPath=\r\nImportPC=-1\r\nDruhDokl=") +
           kDefaultKind;
}

ImportDefinition newMoneyDefinition() {
    ImportDefinition definition = newDefinition(DefinitionKind::Money);
    definition.name = moneyDefinitionName();
    definition.description = moneyDefinitionDescription();
    definition.rawText = moneyDefinitionText();
    return definition;
}

bool storeMoneyDefinition(core::Database& agenda, QString& error) {
    return ImportDefinitionStore(agenda).insert(newMoneyDefinition(), error).has_value();
}

QString addMoneyDefinitionCaption() {
    return QStringLiteral("Import z účetního systému Money");
}

QString moneyStartPageIntro() {
    return QStringLiteral("Nyní je vše připraveno na import dat z ekonomického systému Money.");
}

QString moneyStartPageText() {
    return QStringLiteral("na žádné stanici v síti nesmí po dobu importu probíhat operace v Money, "
                          "vyžadující jedinečný přístup (zálohování dat, reindexace databází, "
                          "přepočet pořizovacích cen apod.).");
}

QString moneyStartPageWarning() {
    return QStringLiteral("Důležité upozornění:");
}

} // namespace orvento::import
