#include "offers/OfferItemImport.h"

#include "catalogue/ItemCard.h"
#include "catalogue/ItemRecord.h"
#include "core/ProgressScope.h"
#include "core/UserInteraction.h"
#include "offers/OfferCardLogic.h"
#include "offers/OfferItemCard.h"
#include "offers/OfferItemImportLookup.h"
#include "services/AccessRights.h"

#include <QFileInfo>

#include <map>

namespace orvento::offers {

namespace {

QString recordLine(int number, const QString& problem) {
    return QStringLiteral("• záznam č. %1 - %2").arg(number).arg(problem);
}

QString notFound(const ParsedRecord& record) {
    return recordLine(record.number,
                      QStringLiteral("podle spojovacího klíče \"%1\" nebyla nalezena žádná "
                                     "položka v ceníku")
                          .arg(record.key));
}

QString catalogueUnreadable() {
    return QStringLiteral("Ceník se nepodařilo načíst, žádná položka nebyla přidána.");
}

// A record that found its one catalogue item.
struct Match {
    const ParsedRecord* record;
    qint64 id;
};

} // namespace

OfferItemImport::OfferItemImport(core::Database& agenda, core::UserInteraction& ui,
                                 OfferCardLogic& card)
    : m_db(agenda)
    , m_ui(ui)
    , m_card(card)
    , m_settings(ItemImportSettings::load()) {}

bool OfferItemImport::mayStart(core::UserInteraction& ui) {
    return services::checkModule(services::Module::Cenik, services::ModuleAction::Open, ui);
}

bool OfferItemImport::browse() {
    if (!m_settings.usesFile())
        return false;
    const QString folder =
        m_settings.fileName.isEmpty() ? QString() : QFileInfo(m_settings.fileName).absolutePath();
    const auto chosen = m_ui.chooseOpenFile(itemimport::browseTitle(), folder,
                                            itemimport::browseFilter(m_settings.source));
    if (!chosen || chosen->isEmpty())
        return false;
    m_settings.fileName = *chosen;
    return true;
}

bool OfferItemImport::accept(const QString& clipboardText) {
    if (const auto problem = itemimport::validate(m_settings)) {
        m_ui.error(*problem);
        return false;
    }
    QString error;
    const auto records = readItemImportRecords(m_settings, clipboardText, error);
    if (!records) {
        m_ui.error(error);
        return false;
    }
    // The choices are remembered as a convenience; a profile that cannot be written stops no one.
    m_settings.save();
    const QStringList problems = addRecords(*records);
    if (!problems.isEmpty())
        m_ui.showProblems(problemHeading(), problems);
    return true;
}

QStringList OfferItemImport::addRecords(const std::vector<ParsedRecord>& records) {
    QStringList problems;
    std::vector<Match> matches;
    std::vector<qint64> ids;
    {
        core::ProgressScope wait(
            m_ui, QStringLiteral("Vyhledávám položky v ceníku\nprosím čekejte..."), 0, false);
        const auto lookup = CatalogueKeyLookup::load(m_db, m_settings.key);
        if (!lookup) {
            wait.end();
            m_ui.error(catalogueUnreadable());
            return problems;
        }
        // Each record's line keeps its place: the lines are gathered per record, in order.
        std::map<int, QString> lines;
        for (const ParsedRecord& record : records) {
            if (record.key.trimmed().isEmpty()) {
                lines[record.number] =
                    recordLine(record.number, QStringLiteral("spojovací klíč je prázdný"));
                continue;
            }
            if (record.quantity <= 0.0) {
                lines[record.number] =
                    recordLine(record.number, QStringLiteral("počet m.j. je nulový nebo záporný"));
                continue;
            }
            const auto hit = lookup->find(record.key);
            if (!hit) {
                lines[record.number] = notFound(record);
            } else if (hit->count > 1) {
                lines[record.number] = recordLine(
                    record.number, QStringLiteral("podle spojovacího klíče \"%1\" bylo v ceníku "
                                                  "nalezeno více položek")
                                       .arg(record.key));
            } else {
                matches.push_back({&record, hit->id});
                ids.push_back(hit->id);
            }
        }
        const std::map<qint64, catalogue::ItemRecord> rows =
            catalogue::readCatalogueRows(m_db, ids);
        const catalogue::PriceGroupData groups =
            catalogue::PriceGroupData::load(m_db).value_or(catalogue::PriceGroupData{});
        OfferWorkingCopy& offer = m_card.offer();
        const OfferRates rates = currentAgendaRates();
        OfferItemCard card(m_db, m_ui, offer, rates);
        std::vector<OfferItem> added;
        added.reserve(matches.size());
        for (const Match& match : matches) {
            const auto row = rows.find(match.id);
            // Gone since the look-up: another workstation deleted it.
            if (row == rows.end()) {
                lines[match.record->number] = notFound(*match.record);
                continue;
            }
            // The offer card refuses an unfinished item too: its prices are not to be trusted.
            if (row->second.Chyba) {
                lines[match.record->number] =
                    recordLine(match.record->number, OfferCardLogic::unfinishedItemMessage());
                continue;
            }
            card.openFromCatalogue(row->second, groups, m_card.current());
            card.setPocetMJ(match.record->quantity);
            added.push_back(card.confirmedItem());
        }
        if (!added.empty()) {
            const int position = offer.proposedPosition(m_card.current());
            const std::size_t count = added.size();
            offer.header().NabZaok = rates.nabZaok;
            offer.insertItems(position, std::move(added));
            m_card.itemsChanged();
            m_card.setCurrent(static_cast<std::size_t>(position - 1) + count - 1);
        }
        for (auto& [number, line] : lines)
            problems << std::move(line);
    }
    return problems;
}

} // namespace orvento::offers
