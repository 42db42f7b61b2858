#pragma once

#include "output/ReportTable.h"

#include <QString>

#include <optional>
#include <vector>

namespace orvento::core {
class Database;
struct AgendaSettings;
struct CurrentUser;
} // namespace orvento::core

namespace orvento::output {

// Who prints and what the agenda says about it: the firm, currency, pictures, and whether the
// user may see purchase prices.
struct ReportContext {
    const core::AgendaSettings& settings;
    const core::CurrentUser& user;
    core::Database& agenda;
    core::Database* global = nullptr; // for the contact of the offer's author; may be absent
};

// The tables of one offer as its reports read them.
struct OfferReport {
    ReportTable header = ReportTable();
    ReportTable items = ReportTable();
    ReportTable identifiers = ReportTable();
};

// Fills the header (with the VAT sums, discounts and rounding), the printed items ordered by
// their print order (cost items are counted in the sums but not printed) and the identifier
// breakdown of the offer `offerId`. Nothing when the offer cannot be read.
std::optional<OfferReport> offerReport(const ReportContext& context, qint64 offerId);

// The list of offers: one row per offer in the order given, and the header with the sums.
struct OfferListReport {
    ReportTable header = ReportTable();
    ReportTable offers = ReportTable();
};
std::optional<OfferListReport> offerListReport(const ReportContext& context,
                                               const std::vector<qint64>& offerIds);

// The address list (`print_type::AddressBook`): one row per firm in the order given; firms
// deleted meanwhile by another workstation are left out.
ReportTable addressListReport(core::Database& agenda, const std::vector<qint64>& firmIds);

// A desktop note of the global database by its ID.
std::optional<ReportTable> noteReport(core::Database& global, qint64 noteId);
// The same table from a note's title and stored text as they are.
ReportTable noteReport(const QString& nazev, const QString& detail);

// The agenda's firm into the `Dod…` columns, `Logo` and `Mena` of a header row (the columns a
// table lacks are left out).
void fillFirm(ReportTable& t, int row, const core::AgendaSettings& s);

// The running sums of an offer's report are kept to four decimals, each addition rounded with
// ties to even.
double addHeld(double sum, double add);

} // namespace orvento::output
